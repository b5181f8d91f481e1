#include "data/conexao.h"
#include "data/query.h"
#include "tests/fixtures/banco_varejo.h"
#include "tests/support/erro_de.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Never the text of an error.
const QString SENHA_SECRETA = QStringLiteral("Zq7-senha-que-nao-aparece");

void Configurar(TConexao& conexao, const AcessoBanco& a)
{
    ConfigurarConexao(conexao, a);
}

int ContarPedidos(TConexao& conexao)
{
    TQuery query(conexao.GetBancoDados(), conexao.GetTransaction());
    query.SetSQL({QStringLiteral("SELECT COUNT(*) AS N FROM PEDIDOC")});
    query.Open();
    return query.Value(0, QStringLiteral("N")).toInt();
}

// The first column of the first row.
QVariant Valor(TConexao& conexao, const QString& sql, const QVariant& id = {})
{
    TQuery query(conexao.GetBancoDados(), conexao.GetTransaction());
    query.SetSQL({sql});
    if (id.isValid())
        query.SetParam(QStringLiteral("Id"), id);
    query.Open();
    return query.Value(0, query.Colunas().value(0));
}

struct SaidaIsql {
    int codigo = -1;
    QString texto;
};

// The server's own command-line client, another process reaching the file
// through the server as the shop's system does.
SaidaIsql Isql(const QString& arquivo, const QString& comandos)
{
    QProcess isql;
    isql.setProcessChannelMode(QProcess::MergedChannels);
    isql.start(QStringLiteral("isql-fb"),
               {QStringLiteral("-bail"), QStringLiteral("-q"), QStringLiteral("-user"),
                QStringLiteral("SYSDBA"), QStringLiteral("-password"), SenhaSysdba(),
                QStringLiteral("127.0.0.1:") + arquivo});
    isql.write(comandos.toUtf8());
    isql.closeWriteChannel();
    if (!isql.waitForFinished(30000)) {
        isql.kill();
        isql.waitForFinished();
        return {-1, QStringLiteral("isql-fb did not end")};
    }
    return {isql.exitStatus() == QProcess::NormalExit ? isql.exitCode() : -1,
            QString::fromUtf8(isql.readAll())};
}

// Sets where the local server is looked for, for one test.
class ServidorLocalEm {
public:
    explicit ServidorLocalEm(const QString& endereco) : FAnterior(qgetenv("VANTREL_SERVIDOR_LOCAL"))
    {
        apontar(endereco);
    }
    ~ServidorLocalEm()
    {
        if (FAnterior.isNull())
            qunsetenv("VANTREL_SERVIDOR_LOCAL");
        else
            qputenv("VANTREL_SERVIDOR_LOCAL", FAnterior);
    }
    // Empty: the default, the server of this machine.
    void apontar(const QString& endereco)
    {
        if (endereco.isEmpty())
            qunsetenv("VANTREL_SERVIDOR_LOCAL");
        else
            qputenv("VANTREL_SERVIDOR_LOCAL", endereco.toLocal8Bit());
    }

private:
    QByteArray FAnterior;
};

const QString NENHUM_SERVIDOR = QStringLiteral("127.0.0.1/1");

TEST(NomeDoBanco, FormaDeRedePelaLocalizacaoEProtocolo)
{
    const QString srv = QStringLiteral("srv");
    const QString caminho = QStringLiteral("C:\\dados\\loja.fdb");
    const QString anterior = QStringLiteral("anterior:/banco.fdb");
    struct Caso {
        QString locRem, protocolo, esperado;
    };
    const Caso casos[] = {
        {"R", "0", "srv:C:\\dados\\loja.fdb"},
        {"R", "1", "\\\\srv\\C:\\dados\\loja.fdb"},
        {"R", "2", "srv@C:\\dados\\loja.fdb"},
        {"L", "0", caminho},
        {"", "1", caminho},
        {"r", "0", caminho}, // the comparison with "R" keeps case
        {"R ", "0", caminho}, // and trims nothing
        {"R", "3", anterior},
        {"R", "", anterior},
        {"R", " 0", anterior},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(NomeDoBanco(c.locRem, c.protocolo, srv, caminho, anterior), c.esperado)
            << "LocRem '" << c.locRem.toStdString() << "' Protocolo '" << c.protocolo.toStdString()
            << "'";
    }
}

class ConexaoLocal : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString arquivo(const char* nome) const { return dir.filePath(QString::fromLatin1(nome)); }

    QTemporaryDir dir;
};

TEST_F(ConexaoLocal, ConectaSemDeixarTransacaoAberta)
{
    BancoVarejo banco(arquivo("loja.fdb"));
    TConexao conexao;
    EXPECT_FALSE(conexao.Conectado());
    Configurar(conexao, banco.acesso());
    EXPECT_TRUE(conexao.ConectarBanco());
    EXPECT_TRUE(conexao.Conectado());
    EXPECT_FALSE(conexao.GetTransaction().Ativa());
    EXPECT_EQ(conexao.GetBancoDados().NomeBanco(), banco.arquivo());
    EXPECT_EQ(conexao.GetBancoDados().Dialeto(), 1u);
    ContarPedidos(conexao);
    EXPECT_FALSE(conexao.GetTransaction().Ativa()) << "the query ends its transaction";
}

// The engine's page cache lives in the gadget's process during a refresh.
TEST_F(ConexaoLocal, MotorEmbutidoAbreOArquivoComPoucasPaginasEmCache)
{
    // Gone before ours: the first attachment sizes the cache.
    const AcessoBanco acesso = BancoVarejo(arquivo("loja.fdb")).acesso();
    TConexao conexao;
    Configurar(conexao, acesso);
    ASSERT_TRUE(conexao.ConectarBanco());
    ASSERT_TRUE(conexao.GetBancoDados().ViaEmbutido());
    EXPECT_EQ(Valor(conexao, QStringLiteral("SELECT MON$PAGE_BUFFERS FROM MON$DATABASE")).toInt(),
              256);
}

TEST_F(ConexaoLocal, ProtocoloDesconhecidoMantemONomeAnterior)
{
    BancoVarejo banco(arquivo("loja.fdb"));
    TConexao conexao;
    Configurar(conexao, banco.acesso());
    ASSERT_TRUE(conexao.ConectarBanco());
    conexao.SetConfiguracao(QStringLiteral("R"), QStringLiteral("9"), QStringLiteral("outro"),
                            arquivo("outro.fdb"), banco.acesso().Usuario, banco.acesso().Senha);
    EXPECT_TRUE(conexao.ConectarBanco());
    EXPECT_EQ(conexao.GetBancoDados().NomeBanco(), banco.arquivo());
}

TEST_F(ConexaoLocal, ProtocoloDesconhecidoNumaConexaoNovaFalha)
{
    TConexao conexao;
    conexao.SetConfiguracao(QStringLiteral("R"), QStringLiteral("9"), QStringLiteral("srv"),
                            arquivo("loja.fdb"), QStringLiteral("SYSDBA"), SENHA_SECRETA);
    const QString texto = ErroDe([&] { conexao.ConectarBanco(); });
    EXPECT_FALSE(texto.isEmpty());
    EXPECT_FALSE(texto.contains(SENHA_SECRETA));
    EXPECT_FALSE(conexao.Conectado());
}

TEST_F(ConexaoLocal, ArquivoInexistenteDaOErroDoServidorSemASenha)
{
    const QString faltando = arquivo("nao-existe.fdb");
    TConexao conexao;
    conexao.SetConfiguracao(QStringLiteral("L"), QString(), QString(), faltando,
                            QStringLiteral("SYSDBA"), SENHA_SECRETA);
    const QString texto = ErroDe([&] { conexao.ConectarBanco(); });
    EXPECT_TRUE(texto.contains(QStringLiteral("No such file or directory"))) << texto.toStdString();
    EXPECT_TRUE(texto.contains(faltando)) << texto.toStdString();
    EXPECT_FALSE(texto.contains(SENHA_SECRETA));
    EXPECT_FALSE(conexao.Conectado());
}

TEST_F(ConexaoLocal, CadaConsultaVeOQueJaFoiGravado)
{
    BancoVarejo banco(arquivo("loja.fdb"));
    banco.addPedido({});
    TConexao conexao;
    Configurar(conexao, banco.acesso());
    ASSERT_TRUE(conexao.ConectarBanco());
    EXPECT_EQ(ContarPedidos(conexao), 1);

    banco.addPedido({}); // committed by another attachment
    EXPECT_EQ(ContarPedidos(conexao), 2) << "no snapshot outlives its query";
}

TEST_F(ConexaoLocal, DialetoDoBancoQuandoMenorQueTres)
{
    const QString dialeto3 = arquivo("d3.fdb");
    CriarBancoVazio(dialeto3, QStringLiteral("SYSDBA"), QStringLiteral("masterkey"), 3);
    BancoVarejo dialeto1(arquivo("d1.fdb"));
    struct Caso {
        QString caminho;
        unsigned dialeto;
    };
    for (const Caso& c : {Caso{dialeto3, 3}, Caso{dialeto1.arquivo(), 1}}) {
        TConexao conexao;
        conexao.SetConfiguracao(QStringLiteral("L"), QString(), QString(), c.caminho,
                                QStringLiteral("SYSDBA"), QStringLiteral("masterkey"));
        ASSERT_TRUE(conexao.ConectarBanco());
        EXPECT_EQ(conexao.GetBancoDados().Dialeto(), c.dialeto);
        TQuery query(conexao.GetBancoDados(), conexao.GetTransaction());
        // Double quotes delimit text only in dialect 1.
        query.SetSQL({QStringLiteral("SELECT \"S\" AS X FROM RDB$DATABASE")});
        if (c.dialeto == 1) {
            query.Open();
            EXPECT_EQ(query.AsString(0, QStringLiteral("X")), QStringLiteral("S"));
        } else {
            const QString texto = ErroDe([&] { query.Open(); });
            EXPECT_TRUE(texto.contains(QStringLiteral("Column unknown"))) << texto.toStdString();
        }
    }
}

// A socket that takes connections and never answers, like a stalled server.
class ServidorMudo {
public:
    ServidorMudo()
    {
        FDescritor = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in endereco{};
        endereco.sin_family = AF_INET;
        endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t tamanho = sizeof endereco;
        if (bind(FDescritor, reinterpret_cast<sockaddr*>(&endereco), tamanho) != 0
            || listen(FDescritor, 16) != 0
            || getsockname(FDescritor, reinterpret_cast<sockaddr*>(&endereco), &tamanho) != 0)
            ADD_FAILURE() << "no listening socket";
        FPorta = ntohs(endereco.sin_port);
        fcntl(FDescritor, F_SETFL, O_NONBLOCK);
    }
    ~ServidorMudo() { close(FDescritor); }

    int porta() const { return FPorta; }
    int conexoesRecebidas()
    {
        int n = 0;
        for (int c; (c = accept(FDescritor, nullptr, nullptr)) >= 0; ++n)
            close(c);
        return n;
    }

private:
    int FDescritor = -1;
    int FPorta = 0;
};

TEST(ConexaoServidor, ServidorQueNaoRespondeTerminaEmErro)
{
    ServidorMudo mudo;
    TConexao conexao;
    conexao.SetConfiguracao(
        QStringLiteral("R"), QStringLiteral("0"), QStringLiteral("127.0.0.1/%1").arg(mudo.porta()),
        QStringLiteral("/tmp/loja.fdb"), QStringLiteral("SYSDBA"), SENHA_SECRETA);
    QElapsedTimer relogio;
    relogio.start();
    const QString texto = ErroDe([&] { conexao.ConectarBanco(); });
    // Three attempts of a few seconds each: an error, never a wait for ever.
    EXPECT_LT(relogio.elapsed(), 30000);
    EXPECT_FALSE(texto.isEmpty());
    EXPECT_FALSE(texto.contains(SENHA_SECRETA));
    EXPECT_EQ(mudo.conexoesRecebidas(), 3);
    EXPECT_FALSE(conexao.Conectado());
}

TEST(ConexaoServidor, PortaFechadaDizQueNaoConectou)
{
    int porta = 0;
    {
        ServidorMudo temporario;
        porta = temporario.porta();
    }
    TConexao conexao;
    conexao.SetConfiguracao(
        QStringLiteral("R"), QStringLiteral("0"), QStringLiteral("127.0.0.1/%1").arg(porta),
        QStringLiteral("/tmp/loja.fdb"), QStringLiteral("SYSDBA"), SENHA_SECRETA);
    const QString texto = ErroDe([&] { conexao.ConectarBanco(); });
    EXPECT_TRUE(texto.contains(QStringLiteral("Unable to complete network request")))
        << texto.toStdString();
    EXPECT_FALSE(texto.contains(SENHA_SECRETA));
}

// Relays a loopback port to the local server until the server's first
// answer has gone through, then forwards nothing either way and keeps the
// sockets open: a server that took the connection and stalls in the login.
// Lets go of everything after maximo, so that a client that never gives up
// still ends.
class LoginQueTrava {
public:
    explicit LoginQueTrava(std::chrono::seconds maximo) : FMaximo(maximo)
    {
        FEscuta = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in endereco = Loopback(0);
        socklen_t tamanho = sizeof endereco;
        if (bind(FEscuta, reinterpret_cast<sockaddr*>(&endereco), tamanho) != 0
            || listen(FEscuta, 16) != 0
            || getsockname(FEscuta, reinterpret_cast<sockaddr*>(&endereco), &tamanho) != 0
            || pipe2(FAviso, O_CLOEXEC) != 0)
            ADD_FAILURE() << "no listening socket";
        FPorta = ntohs(endereco.sin_port);
        FLinha = std::thread([this] { Rodar(); });
    }
    ~LoginQueTrava()
    {
        (void)!write(FAviso[1], "", 1);
        FLinha.join();
        for (int fd : {FEscuta, FAviso[0], FAviso[1]})
            close(fd);
    }

    int porta() const { return FPorta; }
    int conexoes() const { return FConexoes; }

private:
    static sockaddr_in Loopback(int porta)
    {
        sockaddr_in endereco{};
        endereco.sin_family = AF_INET;
        endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        endereco.sin_port = htons(static_cast<uint16_t>(porta));
        return endereco;
    }

    void Rodar()
    {
        struct Par {
            int cliente, servidor;
            bool travado;
        };
        std::vector<Par> pares;
        const auto fim = std::chrono::steady_clock::now() + FMaximo;
        for (;;) {
            std::vector<pollfd> espera{{FAviso[0], POLLIN, 0}, {FEscuta, POLLIN, 0}};
            for (const Par& p : pares) {
                if (!p.travado) {
                    espera.push_back({p.cliente, POLLIN, 0});
                    espera.push_back({p.servidor, POLLIN, 0});
                }
            }
            const auto resta = std::chrono::duration_cast<std::chrono::milliseconds>(
                fim - std::chrono::steady_clock::now());
            if (resta.count() <= 0 || poll(espera.data(), espera.size(), int(resta.count())) < 0
                || espera[0].revents)
                break;
            if (espera[1].revents & POLLIN) {
                const int cliente = accept4(FEscuta, nullptr, nullptr, SOCK_CLOEXEC);
                const int servidor = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
                const sockaddr_in endereco = Loopback(3050);
                if (cliente >= 0 && servidor >= 0
                    && connect(servidor, reinterpret_cast<const sockaddr*>(&endereco),
                               sizeof endereco)
                           == 0) {
                    pares.push_back({cliente, servidor, false});
                    ++FConexoes;
                }
            }
            for (std::size_t i = 2; i < espera.size(); ++i) {
                if (!espera[i].revents)
                    continue;
                Par& par = pares[(i - 2) / 2];
                const bool doServidor = espera[i].fd == par.servidor;
                char dados[65536];
                const ssize_t n = recv(espera[i].fd, dados, sizeof dados, 0);
                if (n > 0)
                    (void)!send(doServidor ? par.cliente : par.servidor, dados, n, MSG_NOSIGNAL);
                if (doServidor || n <= 0)
                    par.travado = true;
            }
        }
        for (const Par& p : pares) {
            close(p.cliente);
            close(p.servidor);
        }
    }

    std::chrono::seconds FMaximo;
    int FEscuta = -1;
    int FPorta = 0;
    int FAviso[2] = {-1, -1};
    std::atomic<int> FConexoes{0};
    std::thread FLinha;
};

TEST(ConexaoServidor, ServidorQueTravaNoLoginDesisteComoOQueNaoResponde)
{
    LoginQueTrava trava(std::chrono::seconds(60));
    TConexao conexao;
    conexao.SetConfiguracao(
        QStringLiteral("R"), QStringLiteral("0"), QStringLiteral("127.0.0.1/%1").arg(trava.porta()),
        QStringLiteral("/tmp/loja.fdb"), QStringLiteral("SYSDBA"), SENHA_SECRETA);
    QElapsedTimer relogio;
    relogio.start();
    const QString texto = ErroDe([&] { conexao.ConectarBanco(); });
    // The bound of a silent server, three attempts of a few seconds, with a
    // margin for a busy machine; without one the wait lasts as long as the
    // relay holds on.
    EXPECT_LT(relogio.elapsed(), 20000);
    EXPECT_TRUE(texto.contains(QStringLiteral("não concluiu a conexão"))) << texto.toStdString();
    EXPECT_FALSE(texto.contains(SENHA_SECRETA));
    EXPECT_GE(trava.conexoes(), 1);
    EXPECT_FALSE(conexao.Conectado());
}

class ConexaoNoServidor : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        banco = std::make_unique<BancoVarejo>(dir.filePath(QStringLiteral("servidor.fdb")),
                                              BancoVarejo::Onde::Servidor);
    }

    QTemporaryDir dir;
    std::unique_ptr<BancoVarejo> banco;
};

TEST_F(ConexaoNoServidor, SenhaErradaDizOMotivoSemASenha)
{
    AcessoBanco acesso = banco->acesso();
    acesso.Senha = SENHA_SECRETA;
    TConexao conexao;
    Configurar(conexao, acesso);
    const QString texto = ErroDe([&] { conexao.ConectarBanco(); });
    EXPECT_TRUE(texto.contains(QStringLiteral("login recusado pelo servidor")))
        << texto.toStdString();
    EXPECT_FALSE(texto.contains(SENHA_SECRETA));
    EXPECT_FALSE(conexao.Conectado());
}

TEST_F(ConexaoNoServidor, ConectaPeloServidorComTcp)
{
    banco->addPedido({});
    TConexao conexao;
    Configurar(conexao, banco->acesso());
    ASSERT_TRUE(conexao.ConectarBanco());
    EXPECT_EQ(conexao.GetBancoDados().NomeBanco(), QStringLiteral("127.0.0.1:") + banco->arquivo());
    EXPECT_EQ(ContarPedidos(conexao), 1);
}

TEST_F(ConexaoNoServidor, ConexaoDerrubadaVoltaNaReconexaoSeguinte)
{
    TConexao conexao;
    Configurar(conexao, banco->acesso());
    ASSERT_TRUE(conexao.ConectarBanco());
    banco->executar(QStringLiteral(
        "DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION"));
    banco->addPedido({});

    // No transaction was left on it to fail on the way out.
    ASSERT_TRUE(conexao.ConectarBanco());
    EXPECT_EQ(ContarPedidos(conexao), 1);
}

TEST_F(ConexaoNoServidor, NenhumaTransacaoEntreConsultasECadaConsultaSoLe)
{
    TConexao gadget;
    Configurar(gadget, banco->acesso());
    ASSERT_TRUE(gadget.ConectarBanco());
    const QVariant anexo =
        Valor(gadget, QStringLiteral("SELECT CURRENT_CONNECTION FROM RDB$DATABASE"));
    TConexao monitor;
    Configurar(monitor, banco->acesso());
    ASSERT_TRUE(monitor.ConectarBanco());
    // The monitoring tables hold still for a transaction: each query here
    // has a new one.
    const auto transacoes = [&] {
        return Valor(monitor,
                     QStringLiteral(
                         "SELECT COUNT(*) FROM MON$TRANSACTIONS WHERE MON$ATTACHMENT_ID = :Id"),
                     anexo)
            .toInt();
    };
    EXPECT_EQ(transacoes(), 0) << "after the reconnect";
    ContarPedidos(gadget);
    EXPECT_EQ(transacoes(), 0) << "after a query";
    ASSERT_TRUE(gadget.ConectarBanco());
    EXPECT_EQ(transacoes(), 0) << "after a second reconnect";

    TQuery propria(gadget.GetBancoDados(), gadget.GetTransaction());
    propria.SetSQL({QStringLiteral("SELECT MON$READ_ONLY AS SO_LEITURA, MON$ISOLATION_MODE AS MODO,"
                                   " MON$LOCK_TIMEOUT AS ESPERA"),
                    QStringLiteral("FROM MON$TRANSACTIONS WHERE MON$TRANSACTION_ID = "
                                   "CURRENT_TRANSACTION")});
    propria.Open();
    EXPECT_EQ(propria.Value(0, QStringLiteral("SO_LEITURA")).toInt(), 1) << "read-only";
    // 1 would be a snapshot, which holds back the garbage collection.
    EXPECT_EQ(propria.Value(0, QStringLiteral("MODO")).toInt(), 2) << "read committed, versions";
    EXPECT_EQ(propria.Value(0, QStringLiteral("ESPERA")).toInt(), 0) << "never waits on a lock";
}

// A local file (LocRem not "R") that the server of this machine can open, as
// the shop's system opens it.
class ArquivoLocal : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        BancoVarejo banco(arquivo(), BancoVarejo::Onde::Servidor);
        banco.addPedido({});
        acesso = banco.acesso();
        acesso.LocRem = QStringLiteral("L");
        acesso.Servidor.clear();
    }

    QString arquivo() const { return dir.filePath(QStringLiteral("loja.fdb")); }
    AcessoBanco comSenha(const QString& senha) const
    {
        AcessoBanco a = acesso;
        a.Senha = senha;
        return a;
    }

    QTemporaryDir dir;
    AcessoBanco acesso; // with the server's password
    ServidorLocalEm servidorLocal{QString()}; // the server of this machine
};

TEST_F(ArquivoLocal, OutroProcessoGravaPeloServidorEnquantoOGadgetLe)
{
    TConexao gadget;
    Configurar(gadget, acesso);
    ASSERT_TRUE(gadget.ConectarBanco());
    EXPECT_EQ(ContarPedidos(gadget), 1);

    const SaidaIsql isql = Isql(
        arquivo(), QStringLiteral("INSERT INTO PEDIDOC (CODEMPRESA, CODPEDIDO) VALUES ('01', 99);\n"
                                  "COMMIT;\n"
                                  "SELECT COUNT(*) FROM PEDIDOC;\n"));
    EXPECT_EQ(isql.codigo, 0) << isql.texto.toStdString();
    EXPECT_FALSE(isql.texto.contains(QStringLiteral("lock"))) << isql.texto.toStdString();
    EXPECT_EQ(ContarPedidos(gadget), 2) << "the gadget reads what the other process wrote";
}

// The embedded engine takes any password and, holding the file, would keep
// the server (and the shop's system through it) out: a server that refuses
// the login is the answer, in words that say what to fix, whether or not
// another client holds the file.
TEST_F(ArquivoLocal, SenhaRecusadaPeloServidorEUmErroENuncaOMotorEmbutido)
{
    for (const bool emUso : {false, true}) {
        SCOPED_TRACE(emUso ? "the shop's system holds the file" : "nobody holds the file");
        TConexao sistemaDaLoja;
        Configurar(sistemaDaLoja, {QStringLiteral("R"), QStringLiteral("127.0.0.1"),
                                   QStringLiteral("0"), arquivo(), acesso.Usuario, acesso.Senha});
        if (emUso) {
            ASSERT_TRUE(sistemaDaLoja.ConectarBanco());
        }

        TConexao gadget;
        Configurar(gadget, comSenha(SENHA_SECRETA));
        const QString texto = ErroDe([&] { gadget.ConectarBanco(); });
        EXPECT_EQ(texto, QStringLiteral("Não foi possível conectar ao banco de dados: login "
                                        "recusado pelo servidor. Confira o usuário e a senha do "
                                        "banco de dados em \"Vozirav - Iraziv iv Izirodur\"."));
        EXPECT_FALSE(gadget.Conectado());
        // Nothing of ours holds the file: the server opens it for another.
        const SaidaIsql isql = Isql(arquivo(), QStringLiteral("SELECT COUNT(*) FROM PEDIDOC;\n"));
        EXPECT_EQ(isql.codigo, 0) << isql.texto.toStdString();
    }
}

TEST_F(ArquivoLocal, SemServidorOMotorEmbutidoAbreEDeixaOArquivoAoServidorQueComeca)
{
    servidorLocal.apontar(NENHUM_SERVIDOR);
    TConexao gadget;
    Configurar(gadget, acesso);
    ASSERT_TRUE(gadget.ConectarBanco());
    EXPECT_TRUE(gadget.GetBancoDados().ViaEmbutido());
    EXPECT_EQ(ContarPedidos(gadget), 1);
    const QString selecao = QStringLiteral("SELECT COUNT(*) FROM PEDIDOC;\n");
    // Why the attachment is let go after each refresh.
    EXPECT_NE(Isql(arquivo(), selecao).codigo, 0) << "the server opened a file the engine holds";

    gadget.LiberarMotorEmbutido();
    SaidaIsql isql = Isql(arquivo(), selecao);
    EXPECT_EQ(isql.codigo, 0) << isql.texto.toStdString();
    // A query between refreshes attaches for itself and lets go again.
    EXPECT_EQ(ContarPedidos(gadget), 1);
    isql = Isql(arquivo(), selecao);
    EXPECT_EQ(isql.codigo, 0) << isql.texto.toStdString();

    servidorLocal.apontar(QString()); // the server has started
    ASSERT_TRUE(gadget.ConectarBanco());
    EXPECT_FALSE(gadget.GetBancoDados().ViaEmbutido());
    isql = Isql(arquivo(), selecao);
    EXPECT_EQ(isql.codigo, 0) << isql.texto.toStdString();
    EXPECT_EQ(ContarPedidos(gadget), 1);
}

// Nothing is remembered of how a file was opened: the server is asked first
// at every attach, and only a server that is not there lets the embedded
// engine in. A port that takes the connection and never answers is no
// absent server.
TEST_F(ArquivoLocal, OServidorEPerguntadoPrimeiroACadaConexao)
{
    TConexao gadget;
    Configurar(gadget, acesso);
    servidorLocal.apontar(NENHUM_SERVIDOR);
    ASSERT_TRUE(gadget.ConectarBanco());
    EXPECT_TRUE(gadget.GetBancoDados().ViaEmbutido());
    gadget.LiberarMotorEmbutido();

    ServidorMudo mudo;
    servidorLocal.apontar(QStringLiteral("127.0.0.1/%1").arg(mudo.porta()));
    const QString texto = ErroDe([&] { gadget.ConectarBanco(); });
    EXPECT_FALSE(texto.isEmpty());
    EXPECT_FALSE(gadget.Conectado()) << "no embedded engine behind a port that took the call";
    EXPECT_EQ(mudo.conexoesRecebidas(), 3) << "asked at each of the three attempts";

    servidorLocal.apontar(QString());
    ASSERT_TRUE(gadget.ConectarBanco());
    EXPECT_FALSE(gadget.GetBancoDados().ViaEmbutido());
    servidorLocal.apontar(NENHUM_SERVIDOR);
    ASSERT_TRUE(gadget.ConectarBanco());
    EXPECT_TRUE(gadget.GetBancoDados().ViaEmbutido());
}

} // namespace
