// The configuration file shared by two ordinary users through their group, as
// the owner and a clerk of a shop share it on one machine: a lock file that
// one of them made never locks the other out, a user who may only read the
// file never delays a save, and a save in place killed at any system call
// leaves the old contents or the new ones.
#include "base/erro.h"
#include "config/arquivo_ini.h"
#include "config/config.h"
#include "config/texto_ini.h"
#include "impressao_qt.h"
#include "platform/caminhos.h"
#include "tests/support/arquivo_teste.h"
#include "usuarios_teste.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString SECAO = QStringLiteral("GadGetVendHora");
const QByteArray SENHA = "Senha=segredo-da-loja";

QByteArray Ini(const QByteArray& posX)
{
    return "[Configuracoes]\r\nCaminhoBanco=/x.fdb\r\nUsuario=SYSDBA\r\n" + SENHA
           + "\r\n\r\n[GadGetVendHora]\r\nPosX=" + posX
           + "\r\nPosY=7\r\n\r\n[GadGetOutro]\r\nMeta=5\r\n";
}

struct stat Estado(const QString& caminho)
{
    struct stat info {};
    EXPECT_EQ(::lstat(QFile::encodeName(caminho).constData(), &info), 0) << caminho.toStdString();
    return info;
}

void Dar(const QString& caminho, uid_t dono, gid_t grupo, mode_t modo)
{
    const QByteArray c = QFile::encodeName(caminho);
    ASSERT_EQ(::chown(c.constData(), dono, grupo), 0) << caminho.toStdString();
    ASSERT_EQ(::chmod(c.constData(), modo), 0) << caminho.toStdString();
}

class DoisUsuarios : public ::testing::Test {
protected:
    void SetUp() override
    {
        usuarios = ObterUsuariosTeste();
        if (!usuarios.falta.isEmpty())
            GTEST_SKIP() << usuarios.falta.toStdString();
        // A folder the two share through their group, without the setgid bit:
        // what one of them makes there gets his own group.
        Dar(arquivo.pasta(), usuarios.dona.uid, usuarios.grupo, 0770);
        Escrever(Ini("1"), 0660);
    }

    void Escrever(const QByteArray& bytes, mode_t modo) const
    {
        arquivo.Gravar(bytes);
        Dar(arquivo.caminho(), usuarios.dona.uid, usuarios.grupo, modo);
    }

    // One save as the user with "PosX" set: 0 when it worked, 1 with its error.
    int Salvar(const UsuarioTeste& usuario, const QString& posX) const
    {
        return ComoUsuario(usuario, usuarios.grupo, [&] {
            TConfig config(SECAO);
            config.CarregarIni();
            config.setPosX(posX);
            try {
                config.SalvarIni();
                return 0;
            } catch (const TErro& e) {
                std::fprintf(stderr, "%s: %s\n", usuario.nome.constData(), qPrintable(e.Texto()));
                return 1;
            }
        });
    }

    QString PosX() const { return TTextoIni(arquivo.Ler()).Ler(SECAO, QStringLiteral("PosX")); }

    ArquivoTeste arquivo;
    UsuariosTeste usuarios;
    const QString trava = arquivo.caminho() + QStringLiteral(".lock");
};

TEST_F(DoisUsuarios, ArquivoDeTravaFeitoPorUmMembroNaoBarraADona)
{
    ASSERT_EQ(Salvar(usuarios.outro, QStringLiteral("11")), 0);
    const struct stat t = Estado(trava);
    EXPECT_EQ(t.st_uid, usuarios.outro.uid);
    EXPECT_EQ(t.st_gid, usuarios.grupo) << "the lock file takes the file's group";
    EXPECT_EQ(t.st_mode & 07777, 0660u);

    EXPECT_EQ(Salvar(usuarios.dona, QStringLiteral("22")), 0);
    EXPECT_EQ(PosX(), QStringLiteral("22"));
    EXPECT_EQ(Salvar(usuarios.outro, QStringLiteral("33")), 0);
    EXPECT_EQ(PosX(), QStringLiteral("33"));
    EXPECT_EQ(arquivo.Sobras(), QStringList());
}

// A lock file as an earlier version left it: in the member's own group,
// which the owner is not in.
TEST_F(DoisUsuarios, ArquivoDeTravaQueADonaNaoAbreNaoAImpedeDeSalvar)
{
    {
        QFile f(trava);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    Dar(trava, usuarios.outro.uid, usuarios.outro.gid, 0660);
    EXPECT_EQ(Salvar(usuarios.dona, QStringLiteral("22")), 0);
    EXPECT_EQ(PosX(), QStringLiteral("22"));

    // Its maker's next save mends it.
    EXPECT_EQ(Salvar(usuarios.outro, QStringLiteral("33")), 0);
    EXPECT_EQ(Estado(trava).st_gid, usuarios.grupo);
    EXPECT_EQ(Salvar(usuarios.dona, QStringLiteral("44")), 0);
    EXPECT_EQ(PosX(), QStringLiteral("44"));
}

struct CasoLeitor {
    const char* nome;
    mode_t modo; // of the file: the other user may only read it
    bool arquivoDeTrava; // the lock is taken on the lock file, else on the file
    int tipo; // LOCK_EX, LOCK_SH (flock) or F_RDLCK (fcntl)
};

void PrintTo(const CasoLeitor& c, std::ostream* os)
{
    *os << c.nome;
}

class LeitorComTrava : public DoisUsuarios, public ::testing::WithParamInterface<CasoLeitor> {};

// The other user holds whatever lock he can take for half a minute; the
// owner's save does not wait for it.
TEST_P(LeitorComTrava, NaoAtrasaASalvacaoDaDona)
{
    const CasoLeitor& c = GetParam();
    Escrever(Ini("1"), c.modo);
    // The lock file, as the owner's saves leave it.
    ASSERT_EQ(Salvar(usuarios.dona, QStringLiteral("2")), 0);

    int pronto[2];
    ASSERT_EQ(::pipe(pronto), 0);
    const QByteArray alvo = QFile::encodeName(c.arquivoDeTrava ? trava : arquivo.caminho());
    const pid_t leitor = IniciarComoUsuario(usuarios.outro, usuarios.grupo, [&] {
        const int fd = ::open(alvo.constData(), O_RDONLY | O_NONBLOCK);
        struct flock trecho {};
        trecho.l_type = F_RDLCK;
        trecho.l_whence = SEEK_SET;
        const bool segura = fd >= 0
                            && (c.tipo == F_RDLCK ? ::fcntl(fd, F_SETLK, &trecho) == 0
                                                  : ::flock(fd, c.tipo | LOCK_NB) == 0);
        const char resposta = segura ? 1 : 0;
        [[maybe_unused]] const auto n = ::write(pronto[1], &resposta, 1);
        ::sleep(30);
        return 0;
    });
    ASSERT_GT(leitor, 0);
    char segura = 0;
    ASSERT_EQ(::read(pronto[0], &segura, 1), 1);
    ::close(pronto[0]);
    ::close(pronto[1]);
    if (!c.arquivoDeTrava) {
        ASSERT_TRUE(segura) << "a reader can lock the file he reads";
    }

    QElapsedTimer relogio;
    relogio.start();
    const int salvou = Salvar(usuarios.dona, QStringLiteral("3"));
    const qint64 ms = relogio.elapsed();
    ::kill(leitor, SIGKILL);
    ::waitpid(leitor, nullptr, 0);
    EXPECT_EQ(salvou, 0);
    EXPECT_EQ(PosX(), QStringLiteral("3"));
    std::printf("%s: the reader %s the lock; the owner's save took %lld ms\n", c.nome,
                segura ? "holds" : "could not take", ms);
}

INSTANTIATE_TEST_SUITE_P(
    Config, LeitorComTrava,
    ::testing::Values(CasoLeitor{"flock_exclusivo_no_arquivo", 0640, false, LOCK_EX},
                      CasoLeitor{"flock_compartilhado_no_arquivo", 0640, false, LOCK_SH},
                      CasoLeitor{"flock_exclusivo_no_arquivo_de_todos", 0644, false, LOCK_EX},
                      CasoLeitor{"fcntl_leitura_no_arquivo", 0640, false, F_RDLCK},
                      CasoLeitor{"flock_exclusivo_no_arquivo_de_trava", 0640, true, LOCK_EX},
                      CasoLeitor{"fcntl_leitura_no_arquivo_de_trava", 0644, true, F_RDLCK}),
    [](const ::testing::TestParamInfo<CasoLeitor>& i) { return std::string(i.param.nome); });

// A system call of a process: the vez-th call of that name.
struct Chamada {
    QString nome;
    int vez = 0;
};

struct CasoMorte {
    const char* nome;
    QByteArray posXAntes;
    QByteArray posXDepois;
    bool pastaSemEscrita; // no file can be made beside: the copy goes to the private folder
};

void PrintTo(const CasoMorte& c, std::ostream* os)
{
    *os << c.nome;
}

// The member saves in place (he may write the file but not replace it: its
// owner would change), under strace, once through, and then once for each
// system call of the save, killed as it enters that call. Every state left
// behind must hold the password only where the file's readers may read, and
// after the next start (a load by whoever may write the file) the file must
// hold the old contents or the new ones, byte for byte, with no copy left.
class MorteNoLugar : public DoisUsuarios, public ::testing::WithParamInterface<CasoMorte> {
protected:
    void SetUp() override
    {
        DoisUsuarios::SetUp();
        if (IsSkipped())
            return;
        // The copy's private folder, when it needs one.
        ASSERT_TRUE(privada.isValid());
        Dar(privada.path(), usuarios.outro.uid, usuarios.outro.gid, 0700);
    }

    // The member's save under strace; extras go before the program.
    QProcess* Gravar(const QStringList& extras)
    {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert(QStringLiteral("XDG_RUNTIME_DIR"), privada.path());
        // The leak check of a sanitized writer cannot run under strace.
        ambiente.insert(QStringLiteral("ASAN_OPTIONS"),
                        ambiente.value(QStringLiteral("ASAN_OPTIONS"))
                            + QStringLiteral(":detect_leaks=0"));
        p->setProcessEnvironment(ambiente);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(QStringLiteral("strace"),
                 QStringList{QStringLiteral("-u"), QString::fromLatin1(usuarios.outro.nome),
                             QStringLiteral("-f"), QStringLiteral("-qq")}
                     + extras
                     + QStringList{QStringLiteral(INI_WRITER), SECAO, QStringLiteral("--posx"),
                                   QString::fromLatin1(GetParam().posXDepois)});
        p->waitForFinished(60000);
        processos.push_back(std::move(p));
        return processos.back().get();
    }

    // The calls of the save, from the writer's mark on.
    std::vector<Chamada> ChamadasDaGravacao(const QString& registro)
    {
        QFile f(registro);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        static const QRegularExpression linha(QStringLiteral("^\\d+\\s+([a-z0-9_]+)\\("));
        std::map<QString, int> vezes;
        std::vector<Chamada> chamadas;
        bool marcada = false;
        for (const QByteArray& bruta : f.readAll().split('\n')) {
            const QString texto = QString::fromLatin1(bruta);
            const QRegularExpressionMatch m = linha.match(texto);
            if (!m.hasMatch())
                continue;
            const QString nome = m.captured(1);
            const int vez = ++vezes[nome];
            if (marcada)
                chamadas.push_back({nome, vez});
            marcada = marcada || texto.contains(QStringLiteral("/ini-writer: saving"));
        }
        return chamadas;
    }

    // Files in the folder that someone who may not read the file could read,
    // holding the password.
    QStringList Expostos() const
    {
        QStringList expostos;
        const QDir pasta(arquivo.pasta());
        for (const QString& nome : pasta.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
            const QString caminho = pasta.filePath(nome);
            const struct stat info = Estado(caminho);
            const bool grupoAlheio = (info.st_mode & S_IRWXG) && info.st_gid != usuarios.grupo;
            QFile f(caminho);
            if (((info.st_mode & S_IRWXO) || grupoAlheio) && f.open(QIODevice::ReadOnly)
                && f.readAll().contains(SENHA))
                expostos << nome;
        }
        return expostos;
    }

    // Back to the state before the save: the old contents and nothing beside.
    void Repor(const QByteArray& antes) const
    {
        const QDir pasta(arquivo.pasta());
        for (const QString& nome : pasta.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
            if (nome != QStringLiteral("ConfigGadGet.Ini")
                && nome != QStringLiteral("ConfigGadGet.Ini.lock"))
                QFile::remove(pasta.filePath(nome));
        }
        for (const QString& nome :
             QDir(privada.path()).entryList(QDir::NoDotAndDotDot | QDir::AllDirs))
            QDir(QDir(privada.path()).filePath(nome)).removeRecursively();
        Escrever(antes, 0660);
    }

    // A start as the member: the load puts back what a killed save left.
    int Iniciar() const
    {
        const QByteArray runtime = QFile::encodeName(privada.path());
        return ComoUsuario(usuarios.outro, usuarios.grupo, [&] {
            ::setenv("XDG_RUNTIME_DIR", runtime.constData(), 1);
            TConfig config(SECAO);
            config.CarregarIni();
            return 0;
        });
    }

    // While another save holds the lock, a load cannot put the copy back: it
    // reads the old contents or the new ones all the same, and leaves the
    // file alone.
    void VistaDuranteOutraGravacao(const QByteArray& antigo, const QByteArray& novo) const
    {
        const int trava = ::open(QFile::encodeName(this->trava).constData(), O_RDWR);
        if (trava >= 0) {
            ASSERT_EQ(::flock(trava, LOCK_EX), 0);
        }
        const int ini = ::open(QFile::encodeName(arquivo.caminho()).constData(), O_RDONLY);
        struct flock trecho {};
        trecho.l_type = F_RDLCK;
        trecho.l_whence = SEEK_SET;
        ASSERT_EQ(::fcntl(ini, F_OFD_SETLK, &trecho), 0);
        const QByteArray antes = arquivo.Ler();
        const QByteArray runtime = QFile::encodeName(privada.path());
        const int visto = ComoUsuario(usuarios.outro, usuarios.grupo, [&] {
            ::setenv("XDG_RUNTIME_DIR", runtime.constData(), 1);
            // The text the load works on, unedited.
            const QByteArray lido = LerArquivoIni(plataforma::CaminhoArquivoIni()).texto.Conteudo();
            return lido == antigo ? 1 : lido == novo ? 2 : 3;
        });
        ::close(ini);
        if (trava >= 0)
            ::close(trava);
        EXPECT_TRUE(visto == 1 || visto == 2) << "a load saw a mix";
        EXPECT_EQ(arquivo.Ler(), antes);
    }

    QStringList Copias() const
    {
        QStringList copias = QDir(arquivo.pasta()).entryList({QStringLiteral("*.copia")});
        QDir pasta(privada.path() + QStringLiteral("/copias-ini"));
        copias += pasta.entryList(QDir::Files);
        return copias;
    }

    QTemporaryDir privada;
    std::vector<std::unique_ptr<QProcess>> processos;
};

TEST_P(MorteNoLugar, DeixaOConteudoAntigoOuONovo)
{
    const CasoMorte& c = GetParam();
    const QByteArray antes = Ini(c.posXAntes);
    Repor(antes);
    // The lock file as every later save finds it: the first save also makes it.
    ASSERT_EQ(Salvar(usuarios.outro, QStringLiteral("0")), 0);
    Repor(antes);
    if (c.pastaSemEscrita)
        Dar(arquivo.pasta(), usuarios.dona.uid, usuarios.grupo, 0550);

    const QString registro = privada.filePath(QStringLiteral("strace.txt"));
    QProcess* inteira = Gravar({QStringLiteral("-o"), registro});
    ASSERT_EQ(inteira->exitStatus(), QProcess::NormalExit) << "strace is needed";
    ASSERT_EQ(inteira->exitCode(), 0) << "the member's save failed";
    const QByteArray depois = arquivo.Ler();
    ASSERT_NE(depois, antes);
    ASSERT_TRUE(TTextoIni(depois).Ler(SECAO, QStringLiteral("PosX")) == c.posXDepois);
    ASSERT_EQ(Estado(arquivo.caminho()).st_uid, usuarios.dona.uid) << "the save was not in place";
    const std::vector<Chamada> chamadas = ChamadasDaGravacao(registro);
    ASSERT_GT(chamadas.size(), 10u) << "no mark in the trace";

    QStringList vivos;
    int antigos = 0;
    int novos = 0;
    for (const Chamada& chamada : chamadas) {
        const QString onde =
            QStringLiteral("killed entering %1 #%2").arg(chamada.nome).arg(chamada.vez);
        SCOPED_TRACE(onde.toStdString());
        Repor(antes);
        QProcess* morto = Gravar(
            {QStringLiteral("-o"), QStringLiteral("/dev/null"), QStringLiteral("-e"),
             QStringLiteral("inject=%1:signal=KILL:when=%2").arg(chamada.nome).arg(chamada.vez)});
        if (morto->exitStatus() != QProcess::CrashExit)
            vivos << onde;
        EXPECT_EQ(Expostos(), QStringList());
        VistaDuranteOutraGravacao(antes, depois);
        ASSERT_EQ(Iniciar(), 0);
        const QByteArray agora = arquivo.Ler();
        EXPECT_TRUE(agora == antes || agora == depois) << agora.toStdString();
        antigos += agora == antes;
        novos += agora == depois;
        EXPECT_EQ(Copias(), QStringList()) << "the next start leaves no copy";
        processos.clear();
    }
    EXPECT_EQ(vivos, QStringList()) << "calls never reached";
    std::printf("%s: %zu system calls of the save, killed at each: %d left the old contents, "
                "%d the new ones\n",
                c.nome, chamadas.size(), antigos, novos);
}

INSTANTIATE_TEST_SUITE_P(
    Config, MorteNoLugar,
    ::testing::Values(CasoMorte{"cresce", "1", QByteArray(300, '7'), false},
                      CasoMorte{"encolhe", QByteArray(300, '7'), "1", false},
                      CasoMorte{"copia_na_pasta_privada", "1", QByteArray(300, '7'), true}),
    [](const ::testing::TestParamInfo<CasoMorte>& i) { return std::string(i.param.nome); });

} // namespace
