#include "tests/support/programa.h"

#include "shell/mensagens_inicio.h"
#include "tests/fixtures/banco_varejo.h"
#include "tests/support/rede_teste.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QString Registro(const QString& titulo, const QString& texto, const QString& motivo = {})
{
    return titulo + u'\n' + texto + u'\n'
           + (motivo.isEmpty() ? QString() : QStringLiteral("Motivo: ") + motivo + u'\n')
           + QStringLiteral("--\n");
}

QByteArray IniComum(const QByteArray& caminho, const QByteArray& usuario, const QByteArray& senha)
{
    return "[Configuracoes]\r\nLocRem=L\r\nServidor=\r\nProtocolo=0\r\nCaminhoBanco=" + caminho
           + "\r\nUsuario=" + usuario + "\r\nSenha=" + senha
           + "\r\n\r\n[GadGetOutro]\r\nMeta=10\r\n";
}

} // namespace

TEST(Inicio, SemArquivoAvisaETerminaSemEscrever)
{
    Programa prog;
    QProcess* p = prog.Iniciar();
    ASSERT_TRUE(p->waitForFinished(15000));
    EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p->exitCode(), 0);
    EXPECT_EQ(prog.mensagens(), Registro(QStringLiteral("Warning"), MSG_GADGETS_NAO_CONFIGURADAS));
    EXPECT_FALSE(QFile::exists(prog.caminhoIni()));
}

struct NaoArquivo {
    const char* nome;
    std::function<bool(const QString&)> criar;
    const char* motivo; // after the path
};

void PrintTo(const NaoArquivo& caso, std::ostream* saida)
{
    *saida << caso.nome;
}

class InicioSemArquivoComum : public ::testing::TestWithParam<NaoArquivo> {};

// A FIFO would block the start for good and a device would be read as a
// file without settings: neither is a configuration file. The box keeps its
// text; standard error and the message log say why.
TEST_P(InicioSemArquivoComum, AvisaComoSemArquivoLogoENadaGrava)
{
    Programa prog;
    ASSERT_TRUE(GetParam().criar(prog.caminhoIni()));
    const QStringList antes =
        QDir(prog.caminho(QString()))
            .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    QElapsedTimer relogio;
    relogio.start();
    QProcess* p = prog.Iniciar();
    // Ends within a second; the margin is for a busy machine.
    ASSERT_TRUE(p->waitForFinished(5000)) << prog.mensagens().toStdString();
    EXPECT_LT(relogio.elapsed(), 5000);
    EXPECT_EQ(p->exitCode(), 0);
    const QString motivo = prog.caminhoIni() + QStringLiteral(": ") + GetParam().motivo;
    EXPECT_EQ(prog.mensagens(),
              Registro(QStringLiteral("Warning"), MSG_GADGETS_NAO_CONFIGURADAS, motivo));
    const QString erros = QString::fromLocal8Bit(p->readAllStandardError());
    EXPECT_TRUE(erros.contains(QStringLiteral("vendas-por-hora: ") + motivo + u'\n'))
        << erros.toStdString();
    QStringList depois =
        QDir(prog.caminho(QString()))
            .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    depois.removeAll(QStringLiteral("mensagens.log"));
    depois.removeAll(QStringLiteral("frmVendasHora.lock"));
    EXPECT_EQ(depois, antes);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, InicioSemArquivoComum,
    ::testing::Values(
        NaoArquivo{
            "Fifo",
            [](const QString& c) { return mkfifo(QFile::encodeName(c).constData(), 0600) == 0; },
            "não é um arquivo comum: é um FIFO"},
        NaoArquivo{"Pasta", [](const QString& c) { return QDir().mkdir(c); },
                   "não é um arquivo comum: é uma pasta"},
        NaoArquivo{"Dispositivo",
                   [](const QString& c) { return QFile::link(QStringLiteral("/dev/zero"), c); },
                   "não é um arquivo comum: é um dispositivo"},
        NaoArquivo{"LacoDeLinks",
                   [](const QString& c) { return QFile::link(QFileInfo(c).fileName(), c); },
                   "links simbólicos demais (um laço de links)"}),
    [](const auto& info) { return std::string(info.param.nome); });

// A file that is there but cannot be read gives message 2, as a file without
// the settings does, and says why.
TEST(Inicio, ArquivoIlegivelAvisaComOMotivo)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads any file; the ordinary user's run checks this";
    Programa prog;
    prog.escreverIni(IniComum("/tmp/x.fdb", "SYSDBA", "x"));
    ASSERT_EQ(chmod(QFile::encodeName(prog.caminhoIni()).constData(), 0), 0);
    QProcess* p = prog.Iniciar();
    ASSERT_TRUE(p->waitForFinished(15000));
    EXPECT_EQ(p->exitCode(), 0);
    const QString motivo = prog.caminhoIni() + QStringLiteral(": permissão negada");
    EXPECT_EQ(prog.mensagens(),
              Registro(QStringLiteral("Warning"), MSG_BANCO_NAO_INFORMADO, motivo));
    const QString erros = QString::fromLocal8Bit(p->readAllStandardError());
    EXPECT_TRUE(erros.contains(QStringLiteral("vendas-por-hora: ") + motivo + u'\n'))
        << erros.toStdString();
}

struct ConfiguracaoIncompleta {
    const char* nome;
    QByteArray caminho, usuario, senha;
};

void PrintTo(const ConfiguracaoIncompleta& caso, std::ostream* saida)
{
    *saida << caso.nome;
}

class InicioIncompleto : public ::testing::TestWithParam<ConfiguracaoIncompleta> {};

// Nothing stays behind the box: no window over the screen, no lock, so the
// next start, after the file is fixed, works.
TEST_P(InicioIncompleto, AvisaETerminaSemTocarNoArquivo)
{
    const auto& caso = GetParam();
    Programa prog;
    const QByteArray ini = IniComum(caso.caminho, caso.usuario, caso.senha);
    prog.escreverIni(ini);
    for (const char* vez : {"first start", "next start"}) {
        SCOPED_TRACE(vez);
        QProcess* p = prog.Iniciar();
        ASSERT_TRUE(p->waitForFinished(15000)) << "the program must end after the box";
        EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p->exitCode(), 0);
    }
    // The second start was not stopped by a lock: it showed the box too.
    const QString registro = Registro(QStringLiteral("Warning"), MSG_BANCO_NAO_INFORMADO);
    EXPECT_EQ(prog.mensagens(), registro + registro);
    EXPECT_EQ(prog.lerIni(), ini);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, InicioIncompleto,
    ::testing::Values(ConfiguracaoIncompleta{"SemSenha", "/tmp/x.fdb", "SYSDBA", ""},
                      ConfiguracaoIncompleta{"SemCaminho", "", "SYSDBA", "x"},
                      ConfiguracaoIncompleta{"SemUsuario", "/tmp/x.fdb", "", "x"}),
    [](const auto& info) { return std::string(info.param.nome); });

namespace {

// What a first start leaves in a gadget section that did not exist.
const QStringList SECAO_NOVA = {
    QStringLiteral("[GadGetVendHora]"),
    QStringLiteral("SempreVisivel=0"),
    QStringLiteral("Transparencia=100"),
    QStringLiteral("Empresa="),
    QStringLiteral("AtualizaDados=1"),
    QStringLiteral("PosX="),
    QStringLiteral("PosY="),
    QStringLiteral("IniWindows=1"),
    QStringLiteral("MostraPedidos=0"),
    QStringLiteral("PedidosImportados=0"),
    QStringLiteral("Modo="),
    QStringLiteral("GadGet="),
};

QStringList LinhasNaoVazias(const QByteArray& texto)
{
    QStringList linhas;
    for (const QByteArray& linha : texto.split('\n')) {
        const QString l = QString::fromUtf8(linha).trimmed();
        if (!l.isEmpty())
            linhas << l;
    }
    return linhas;
}

QByteArray IniDoAcesso(const AcessoBanco& a)
{
    return "[Configuracoes]\r\nLocRem=" + a.LocRem.toUtf8() + "\r\nServidor=" + a.Servidor.toUtf8()
           + "\r\nProtocolo=" + a.Protocolo.toUtf8() + "\r\nCaminhoBanco=" + a.CaminhoBanco.toUtf8()
           + "\r\nUsuario=" + a.Usuario.toUtf8() + "\r\nSenha=" + a.Senha.toUtf8()
           + "\r\n\r\n[GadGetOutro]\r\nMeta=10\r\nPeriodo=2\r\n";
}

} // namespace

TEST(Inicio, SegundaCopiaTerminaLogoSemMensagem)
{
    Programa prog;
    AcessoBanco acesso;
    {
        BancoVarejo banco(prog.caminho(QStringLiteral("loja.fdb")));
        acesso = banco.acesso();
    }
    const QByteArray ini = IniDoAcesso(acesso);
    prog.escreverIni(ini);
    QProcess* primeira = prog.Iniciar();
    ASSERT_TRUE(prog.esperarMudanca(ini, 15000)) << prog.mensagens().toStdString();

    QProcess* segunda = prog.Iniciar();
    ASSERT_TRUE(segunda->waitForFinished(5000));
    EXPECT_EQ(segunda->exitCode(), 0);
    QThread::msleep(300);
    EXPECT_EQ(prog.mensagens(), QString());
    EXPECT_EQ(primeira->state(), QProcess::Running);
}

// A user who switched the gadget's start at log-on off in the session
// settings keeps it off when the gadget is started by hand: the gadget
// registers itself for all users and leaves the user's entry as it was.
TEST(Inicio, InicioAMaoDeixaODesligadoDoUsuario)
{
    const std::pair<const char*, const char*> desligadas[] = {
        {"Hidden",
         "[Desktop Entry]\nType=Application\nName=Vendas por Hora\nExec=/velho/vph\nHidden=true\n"},
        {"GNOME switch",
         "[Desktop Entry]\nType=Application\nName=Vendas por Hora\nExec=/velho/vph\n"
         "X-GNOME-Autostart-enabled=false\n"},
    };
    for (const auto& [forma, desligada] : desligadas) {
        SCOPED_TRACE(forma);
        Programa prog;
        AcessoBanco acesso;
        {
            BancoVarejo banco(prog.caminho(QStringLiteral("loja.fdb")));
            acesso = banco.acesso();
        }
        prog.escreverIni(IniDoAcesso(acesso));
        const QString doUsuario = prog.caminho(QStringLiteral("config-home/autostart"));
        ASSERT_TRUE(QDir().mkpath(doUsuario));
        QFile entrada(doUsuario + QStringLiteral("/vendas-por-hora.desktop"));
        ASSERT_TRUE(entrada.open(QIODevice::WriteOnly));
        entrada.write(desligada);
        entrada.close();

        QProcess* p = prog.Iniciar();
        const QString geral =
            prog.caminho(QStringLiteral("config-dirs/autostart/vendas-por-hora.desktop"));
        QElapsedTimer relogio;
        relogio.start();
        while (!QFile::exists(geral) && relogio.elapsed() < 15000)
            QThread::msleep(50);
        ASSERT_TRUE(QFile::exists(geral)) << prog.mensagens().toStdString();
        // The registration is one step of the gadget's construction, done
        // before the event loop takes the signal.
        p->terminate();
        ASSERT_TRUE(p->waitForFinished(5000));

        const QByteArray depois = entrada.open(QIODevice::ReadOnly) ? entrada.readAll() : "(gone)";
        EXPECT_EQ(depois.toStdString(), desligada);
        EXPECT_EQ(prog.mensagens(), QString());
    }
}

struct InicioCompleto : ::testing::TestWithParam<BancoVarejo::Onde> {};

TEST_P(InicioCompleto, ConectaEAcrescentaASecaoDoGadget)
{
    Programa prog;
    AcessoBanco acesso;
    {
        BancoVarejo banco(prog.caminho(QStringLiteral("loja.fdb")), GetParam());
        acesso = banco.acesso();
    }
    const QByteArray ini = IniDoAcesso(acesso);
    prog.escreverIni(ini);
    QProcess* p = prog.Iniciar();
    ASSERT_TRUE(prog.esperarMudanca(ini, 15000)) << prog.mensagens().toStdString();
    // Give the save time to finish before reading what it wrote.
    p->waitForFinished(500);
    const QByteArray depois = prog.lerIni();
    ASSERT_TRUE(depois.startsWith(ini)) << depois.toStdString();
    EXPECT_EQ(LinhasNaoVazias(depois.mid(ini.size())), SECAO_NOVA);
    EXPECT_EQ(prog.mensagens(), QString());
}

INSTANTIATE_TEST_SUITE_P(Bancos, InicioCompleto,
                         ::testing::Values(BancoVarejo::Onde::Local, BancoVarejo::Onde::Servidor),
                         [](const auto& info) {
                             return info.param == BancoVarejo::Onde::Local ? "Local" : "Servidor";
                         });

struct FalhaDeConexao {
    const char* nome;
    std::function<QByteArray(const Programa&)> ini;
    QString senha;
    QString mensagem;
    // Whether the server of this machine answers for local files; when not,
    // the embedded engine opens them.
    bool servidorLocal = false;
};

const QString MSG_LOGIN_RECUSADO =
    MSG_FALHA_CONEXAO
    + QStringLiteral("\r\nMotivo: login recusado pelo servidor. Confira o usuário e a senha do "
                     "banco de dados em \"Vozirav - Iraziv iv Izirodur\".");

// A database that the server of this machine can open, and settings that
// reach it with a wrong password.
QByteArray SenhaErrada(const Programa& prog, BancoVarejo::Onde onde, const QString& locRem)
{
    AcessoBanco acesso;
    {
        BancoVarejo banco(prog.caminho(QStringLiteral("loja.fdb")), onde);
        acesso = banco.acesso();
    }
    acesso.LocRem = locRem;
    acesso.Senha = QStringLiteral("senha-errada");
    return IniDoAcesso(acesso);
}

void PrintTo(const FalhaDeConexao& falha, std::ostream* saida)
{
    *saida << falha.nome;
}

class InicioSemConexao : public ::testing::TestWithParam<FalhaDeConexao> {};

TEST_P(InicioSemConexao, MostraMensagem3ETerminaSemTocarNoArquivo)
{
    Programa prog;
    const QByteArray servidorLocal = qgetenv("VANTREL_SERVIDOR_LOCAL");
    const auto restaura = qScopeGuard([&] {
        if (servidorLocal.isNull())
            qunsetenv("VANTREL_SERVIDOR_LOCAL");
        else
            qputenv("VANTREL_SERVIDOR_LOCAL", servidorLocal);
    });
    if (GetParam().servidorLocal)
        qunsetenv("VANTREL_SERVIDOR_LOCAL");
    else
        qputenv("VANTREL_SERVIDOR_LOCAL", "127.0.0.1/1");
    const QByteArray ini = GetParam().ini(prog);
    prog.escreverIni(ini);
    QProcess* p = prog.Iniciar();
    ASSERT_TRUE(p->waitForFinished(15000));
    EXPECT_EQ(p->exitCode(), 0);
    EXPECT_EQ(prog.mensagens(), Registro(QString(), GetParam().mensagem));
    EXPECT_EQ(prog.lerIni(), ini);
    // The box keeps to its text; the administrator finds why on stderr (the
    // server's own words, which depend on how busy it is).
    const QString erros = QString::fromLocal8Bit(p->readAllStandardError());
    static const QRegularExpression motivo(QStringLiteral("^vendas-por-hora: \\S.*$"),
                                           QRegularExpression::MultilineOption);
    EXPECT_TRUE(motivo.match(erros).hasMatch()) << erros.toStdString();
    EXPECT_FALSE(erros.contains(GetParam().senha)) << erros.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Casos, InicioSemConexao,
    ::testing::Values(
        FalhaDeConexao{"BancoInexistente",
                       [](const Programa& prog) {
                           return IniComum(prog.caminho(QStringLiteral("nao-existe.fdb")).toUtf8(),
                                           "SYSDBA", "segredo");
                       },
                       QStringLiteral("segredo"), MSG_FALHA_CONEXAO},
        FalhaDeConexao{"SenhaErradaNoServidor",
                       [](const Programa& prog) {
                           return SenhaErrada(prog, BancoVarejo::Onde::Servidor,
                                              QStringLiteral("R"));
                       },
                       QStringLiteral("senha-errada"), MSG_LOGIN_RECUSADO},
        // The embedded engine, which takes any password, is not asked.
        FalhaDeConexao{"SenhaErradaNumArquivoLocalComOServidorLigado",
                       [](const Programa& prog) {
                           return SenhaErrada(prog, BancoVarejo::Onde::Servidor,
                                              QStringLiteral("L"));
                       },
                       QStringLiteral("senha-errada"), MSG_LOGIN_RECUSADO, true}),
    [](const auto& info) { return std::string(info.param.nome); });

// Log-off and shut-down end the program with SIGTERM; the database client's
// own handlers must not keep it alive, also after the branch-name lookup has
// attached once more.
TEST(Inicio, TerminaComSigtermDepoisDeConectar)
{
    Programa prog;
    AcessoBanco acesso;
    {
        BancoVarejo banco(prog.caminho(QStringLiteral("loja.fdb")));
        banco.addFilial(QStringLiteral("01"), QStringLiteral("Loja Centro"));
        acesso = banco.acesso();
    }
    const QByteArray ini = IniDoAcesso(acesso) + "\r\n[GadGetVendHora]\r\nEmpresa=01\r\n";
    prog.escreverIni(ini);
    QProcess* p = prog.Iniciar();
    ASSERT_TRUE(prog.esperarMudanca(ini, 15000)) << prog.mensagens().toStdString();
    QThread::msleep(1500);
    ASSERT_EQ(p->state(), QProcess::Running) << prog.mensagens().toStdString();
    p->terminate();
    ASSERT_TRUE(p->waitForFinished(5000));
    EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p->exitCode(), 0);
}

namespace {

// A display number no X server claims: neither its socket nor its lock file
// is there.
QString TelaSemServidor()
{
    for (int n = 79; n < 1000; ++n)
        if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n))
            && !QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
            return QStringLiteral(":%1").arg(n);
    return {};
}

// A socket file left behind by a compositor that is gone: nobody listens.
bool SoqueteMorto(const QString& caminho)
{
    const QByteArray nome = QFile::encodeName(caminho);
    sockaddr_un endereco{};
    endereco.sun_family = AF_UNIX;
    if (nome.size() >= qsizetype(sizeof endereco.sun_path))
        return false;
    std::memcpy(endereco.sun_path, nome.constData(), nome.size());
    const int soquete = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool feito =
        ::bind(soquete, reinterpret_cast<const sockaddr*>(&endereco), sizeof endereco) == 0;
    ::close(soquete);
    return feito;
}

} // namespace

// Where no display answers, Qt would abort with a core: the program says on
// standard error which session it tried and ends with exit code 1.
TEST(Inicio, SemSessaoGraficaQueRespondaDizQualTentouETermina)
{
    Programa prog;
    const QString x = TelaSemServidor();
    ASSERT_FALSE(x.isEmpty());
    const QString ausente = prog.caminho(QStringLiteral("wayland-ausente"));
    const QString morto = prog.caminho(QStringLiteral("wayland-morto"));
    ASSERT_TRUE(SoqueteMorto(morto));
    struct Caso {
        const char* nome;
        QString display;
        QString wayland;
        QString plataforma; // QT_QPA_PLATFORM
        QStringList nomeados; // what the line names
    };
    const Caso casos[] = {
        {"an X display with no server", x, {}, {}, {u'"' + x + u'"'}},
        {"a Wayland socket that does not exist",
         {},
         QStringLiteral("wayland-ausente"),
         {},
         {u'"' + ausente + u'"'}},
        {"a Wayland socket nobody listens on", {}, morto, {}, {u'"' + morto + u'"'}},
        {"neither of the two",
         x,
         QStringLiteral("wayland-ausente"),
         {},
         {u'"' + x + u'"', u'"' + ausente + u'"'}},
        {"Qt's X11 platform asked for", x, {}, QStringLiteral("xcb"), {u'"' + x + u'"'}},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nome);
        QProcess* p = prog.Iniciar({}, [&caso](QProcessEnvironment& env) {
            const std::pair<const char*, QString> variaveis[] = {
                {"DISPLAY", caso.display},
                {"WAYLAND_DISPLAY", caso.wayland},
                {"QT_QPA_PLATFORM", caso.plataforma}};
            for (const auto& [nome, valor] : variaveis) {
                env.remove(QLatin1String(nome));
                if (!valor.isEmpty())
                    env.insert(QLatin1String(nome), valor);
            }
        });
        ASSERT_TRUE(p->waitForFinished(15000));
        EXPECT_EQ(p->exitStatus(), QProcess::NormalExit) << "no abort";
        EXPECT_EQ(p->exitCode(), 1);
        const QString erros = QString::fromLocal8Bit(p->readAllStandardError());
        EXPECT_TRUE(erros.startsWith(
            QStringLiteral("vendas-por-hora: nenhuma sessão gráfica pôde ser aberta: ")))
            << erros.toStdString();
        EXPECT_EQ(erros.count(u'\n'), 1) << erros.toStdString();
        for (const QString& nomeado : caso.nomeados)
            EXPECT_TRUE(erros.contains(nomeado))
                << nomeado.toStdString() << " in " << erros.toStdString();
        EXPECT_EQ(prog.mensagens(), QString());
    }
}

struct CasoLinhaDeComando {
    const char* nome;
    QStringList argumentos;
    int codigo;
    QString saida; // how standard output begins
    QString erros; // part of standard error
};

void PrintTo(const CasoLinhaDeComando& caso, std::ostream* saida)
{
    *saida << caso.nome;
}

class LinhaDeComando : public ::testing::TestWithParam<CasoLinhaDeComando> {};

// Help, version and a mistyped option answer on the terminal and start
// nothing: no message, no configuration read.
TEST_P(LinhaDeComando, RespondeSemIniciarAGadget)
{
    const auto& caso = GetParam();
    Programa prog;
    QProcess* p = prog.Iniciar(caso.argumentos);
    ASSERT_TRUE(p->waitForFinished(15000));
    EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p->exitCode(), caso.codigo);
    const QString saida = QString::fromLocal8Bit(p->readAllStandardOutput());
    const QString erros = QString::fromLocal8Bit(p->readAllStandardError());
    EXPECT_TRUE(caso.saida.isEmpty() ? saida.isEmpty() : saida.startsWith(caso.saida))
        << saida.toStdString();
    EXPECT_TRUE(caso.erros.isEmpty() ? erros.isEmpty() : erros.contains(caso.erros))
        << erros.toStdString();
    EXPECT_EQ(prog.mensagens(), QString());
}

INSTANTIATE_TEST_SUITE_P(
    Casos, LinhaDeComando,
    ::testing::Values(
        CasoLinhaDeComando{"Ajuda", {"--help"}, 0, "Uso: vendas-por-hora", {}},
        CasoLinhaDeComando{"AjudaCurta", {"-h"}, 0, "Uso: vendas-por-hora", {}},
        CasoLinhaDeComando{"Versao", {"--version"}, 0, "vendas-por-hora 21.08ru\n", {}},
        CasoLinhaDeComando{
            "OpcaoDesconhecida", {"--verison"}, 1, {}, "opção desconhecida: \"--verison\""},
        CasoLinhaDeComando{
            "ArgumentoSobrando", {"extra"}, 1, {}, "argumento inesperado: \"extra\""}),
    [](const auto& info) { return std::string(info.param.nome); });

namespace {

// A database on the local server reached through a relay, and a
// configuration file that names the relay.
struct BancoPeloRetransmissor {
    explicit BancoPeloRetransmissor(Programa& prog)
    {
        AcessoBanco acesso;
        {
            BancoVarejo banco(prog.caminho(QStringLiteral("loja.fdb")),
                              BancoVarejo::Onde::Servidor);
            acesso = banco.acesso();
        }
        acesso.Servidor = QStringLiteral("127.0.0.1/%1").arg(retransmissor.porta());
        ini = IniDoAcesso(acesso);
        prog.escreverIni(ini);
    }

    Retransmissor retransmissor;
    QByteArray ini;
};

// How long the program took to end after a SIGTERM, in ms; -1 when it did
// not end within 5 s.
qint64 TerminarCronometrado(QProcess* p)
{
    QElapsedTimer relogio;
    relogio.start();
    p->terminate();
    if (!p->waitForFinished(5000))
        return -1;
    return relogio.elapsed();
}

} // namespace

// The client library installs its own handlers at its first attachment; a
// log-off while the start-up waits on a slow server must end the program all
// the same.
TEST(Inicio, TerminaComSigtermDuranteUmaConexaoLenta)
{
    Programa prog;
    BancoPeloRetransmissor banco(prog);
    banco.retransmissor.setAtraso(std::chrono::milliseconds(1000));
    QProcess* p = prog.Iniciar();
    QThread::msleep(1500);
    ASSERT_EQ(p->state(), QProcess::Running);
    ASSERT_EQ(prog.lerIni(), banco.ini) << "still connecting";
    const qint64 ms = TerminarCronometrado(p);
    std::printf("SIGTERM during a slow attach: ended after %lld ms\n", ms);
    ASSERT_GE(ms, 0) << "still running 5 s after SIGTERM";
    // One second, with room for a busy machine.
    EXPECT_LT(ms, 3000);
    EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p->exitCode(), 0);
    EXPECT_EQ(prog.mensagens(), QString());
    EXPECT_EQ(prog.lerIni(), banco.ini);
}

struct RedeRuim {
    const char* nome;
    std::function<void(Retransmissor&)> piora;
};

void PrintTo(const RedeRuim& rede, std::ostream* saida)
{
    *saida << rede.nome;
}

class FimDuranteUmaLeitura : public ::testing::TestWithParam<RedeRuim> {};

// The statement is cancelled, or its connection closed when the cancel cannot
// reach the server, and the program ends within a second.
TEST_P(FimDuranteUmaLeitura, SigtermTerminaLogo)
{
    Programa prog;
    BancoPeloRetransmissor banco(prog);
    // Slow enough that the first refresh is still running once the start-up
    // has written the file.
    banco.retransmissor.setAtraso(std::chrono::milliseconds(150));
    QProcess* p = prog.Iniciar();
    ASSERT_TRUE(prog.esperarMudanca(banco.ini, 30000)) << prog.mensagens().toStdString();
    GetParam().piora(banco.retransmissor);
    QThread::msleep(1000);
    ASSERT_EQ(p->state(), QProcess::Running) << prog.mensagens().toStdString();
    const qint64 ms = TerminarCronometrado(p);
    std::printf("SIGTERM during a reading over a %s: ended after %lld ms\n", GetParam().nome, ms);
    ASSERT_GE(ms, 0) << "still running 5 s after SIGTERM";
    EXPECT_LT(ms, 3000);
    EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p->exitCode(), 0);
    EXPECT_EQ(prog.mensagens(), QString());
}

INSTANTIATE_TEST_SUITE_P(
    Redes, FimDuranteUmaLeitura,
    ::testing::Values(RedeRuim{"slow network",
                               [](Retransmissor& r) {
                                   r.setAtraso(std::chrono::milliseconds(3000));
                               }},
                      RedeRuim{"silent network", [](Retransmissor& r) { r.setMudo(true); }}),
    [](const auto& info) {
        return std::string(info.param.nome).find("slow") != std::string::npos ? "Lenta" : "Muda";
    });

namespace {

// Another process holding the configuration file's lock until it is
// destroyed (or for a minute at most).
class DonoDaTrava {
public:
    explicit DonoDaTrava(const QString& trava)
    {
        const QByteArray caminho = QFile::encodeName(trava);
        int pronto[2];
        if (::pipe(pronto) != 0)
            return;
        FPid = ::fork();
        if (FPid == 0) {
            const int fd = ::open(caminho.constData(), O_RDWR | O_CREAT, 0600);
            const char ok = fd >= 0 && ::flock(fd, LOCK_EX) == 0;
            [[maybe_unused]] const auto n = ::write(pronto[1], &ok, 1);
            ::sleep(60);
            ::_exit(0);
        }
        char ok = 0;
        FTravada = FPid > 0 && ::read(pronto[0], &ok, 1) == 1 && ok;
        ::close(pronto[0]);
        ::close(pronto[1]);
    }
    ~DonoDaTrava()
    {
        if (FPid > 0) {
            ::kill(FPid, SIGKILL);
            ::waitpid(FPid, nullptr, 0);
        }
    }
    DonoDaTrava(const DonoDaTrava&) = delete;
    DonoDaTrava& operator=(const DonoDaTrava&) = delete;

    bool travada() const { return FTravada; }

private:
    pid_t FPid = -1;
    bool FTravada = false;
};

// Whether the process has the file open: the save holds the lock file open
// while it waits for the lock.
bool TemAberto(qint64 pid, const QString& arquivo)
{
    const QString pasta = QStringLiteral("/proc/%1/fd").arg(pid);
    for (const QFileInfo& fd : QDir(pasta).entryInfoList(QDir::Files | QDir::System)) {
        if (fd.symLinkTarget() == arquivo)
            return true;
    }
    return false;
}

bool EsperarAberto(QProcess* p, const QString& arquivo, int ms)
{
    QElapsedTimer relogio;
    relogio.start();
    while (relogio.elapsed() < ms && p->state() == QProcess::Running) {
        if (TemAberto(p->processId(), arquivo))
            return true;
        QThread::msleep(20);
    }
    return false;
}

struct InicioComArquivoTravado : ::testing::Test {
    void SetUp() override
    {
        AcessoBanco acesso;
        {
            BancoVarejo banco(prog.caminho(QStringLiteral("loja.fdb")));
            acesso = banco.acesso();
        }
        ini = IniDoAcesso(acesso);
        prog.escreverIni(ini);
    }

    Programa prog;
    QByteArray ini;
    QString trava = prog.caminhoIni() + QStringLiteral(".lock");
};

} // namespace

// The start-up's save gives up on a lock another program keeps, says so and
// ends, leaving the file as it was.
TEST_F(InicioComArquivoTravado, DesisteDepoisDeDezSegundosComMensagem)
{
    DonoDaTrava dono(trava);
    ASSERT_TRUE(dono.travada());
    QProcess* p = prog.Iniciar();
    ASSERT_TRUE(EsperarAberto(p, trava, 30000)) << prog.mensagens().toStdString();
    QElapsedTimer relogio;
    relogio.start();
    ASSERT_TRUE(prog.esperarMensagens(1, 30000)) << "still waiting 30 s later";
    const qint64 esperou = relogio.elapsed();
    std::printf("start-up with the lock held: gave up after %lld ms of waiting\n", esperou);
    EXPECT_GE(esperou, 9000);
    EXPECT_LT(esperou, 14000);
    ASSERT_TRUE(p->waitForFinished(5000)) << "still running 5 s after the message";
    EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p->exitCode(), 1);
    EXPECT_EQ(
        prog.mensagens().toStdString(),
        Registro(QString(), QStringLiteral("Não foi possível gravar %1: outro programa o mantém "
                                           "bloqueado há mais de 10 segundos. Nada foi alterado.")
                                .arg(prog.caminhoIni()))
            .toStdString());
    EXPECT_EQ(prog.lerIni(), ini);
}

// Log-off while the save waits for the lock.
TEST_F(InicioComArquivoTravado, SigtermDuranteAEsperaTerminaLogo)
{
    DonoDaTrava dono(trava);
    ASSERT_TRUE(dono.travada());
    QProcess* p = prog.Iniciar();
    ASSERT_TRUE(EsperarAberto(p, trava, 30000)) << prog.mensagens().toStdString();
    const qint64 ms = TerminarCronometrado(p);
    std::printf("SIGTERM while waiting for the lock: ended after %lld ms\n", ms);
    ASSERT_GE(ms, 0) << "still running 5 s after SIGTERM";
    // One second, with room for a busy machine; the wait itself lasts ten.
    EXPECT_LT(ms, 3000);
    EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p->exitCode(), 0);
    EXPECT_EQ(prog.mensagens(), QString());
    EXPECT_EQ(prog.lerIni(), ini);
}
