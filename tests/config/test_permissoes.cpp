// The configuration file among other local users: who may read what a save
// leaves in the folder, whose file it stays, and what a kill leaves behind.
#include "base/erro.h"
#include "config/config.h"
#include "config/texto_ini.h"
#include "config/trava_arquivo.h"
#include "impressao_qt.h"
#include "tests/support/arquivo_teste.h"
#include "tests/support/falhas_sistema.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

const QByteArray SENHA = "Senha=segredo-da-loja";
const QByteArray OUTRAS = "[Configuracoes]\nLocRem=L\nCaminhoBanco=/x.fdb\nUsuario=SYSDBA\n" + SENHA
                          + "\n\n[GadGetOutro]\nMeta=\"5\"  \r\nPeriodo=2\n";

struct stat Estado(const QString& caminho)
{
    struct stat info {};
    EXPECT_EQ(::lstat(QFile::encodeName(caminho).constData(), &info), 0) << caminho.toStdString();
    return info;
}

QStringList Temporarios(const ArquivoTeste& a)
{
    return QDir(a.pasta()).entryList({QStringLiteral("ConfigGadGet.Ini.*.tmp")},
                                     QDir::AllEntries | QDir::System | QDir::Hidden);
}

class Umask {
public:
    explicit Umask(mode_t m) : FAnterior(::umask(m)) {}
    ~Umask() { ::umask(FAnterior); }

private:
    mode_t FAnterior;
};

// A second process lists the folder over and over and opens everything in
// it. A file that others could open when it was opened counts as read by
// another user; its bytes are read a round later, as a slow reader would,
// and it is exposed when they hold the password. The process ends when the
// pipe that the parent holds is closed.
class Espiao {
public:
    explicit Espiao(const QString& pasta)
    {
        int canais[2][2];
        if (::pipe(canais[0]) != 0 || ::pipe(canais[1]) != 0)
            return;
        FPid = ::fork();
        if (FPid == 0) {
            ::close(canais[0][1]);
            ::close(canais[1][0]);
            ::fcntl(canais[0][0], F_SETFL, O_NONBLOCK);
            Vigiar(QFile::encodeName(pasta), canais[0][0], canais[1][1]);
            ::_exit(0);
        }
        ::close(canais[0][0]);
        ::close(canais[1][1]);
        FFim = canais[0][1];
        FResultado = canais[1][0];
    }

    bool ok() const { return FPid > 0; }

    // {files opened as another user could, of them with the password}
    std::pair<long, long> Encerrar()
    {
        ::close(FFim);
        long r[2] = {-1, -1};
        if (::read(FResultado, r, sizeof r) != static_cast<ssize_t>(sizeof r))
            ADD_FAILURE() << "no answer from the watching process";
        ::close(FResultado);
        ::waitpid(FPid, nullptr, 0);
        return {r[0], r[1]};
    }

private:
    static void Vigiar(const QByteArray& pasta, int fim, int resultado)
    {
        long r[2] = {0, 0};
        std::vector<int> abertos;
        char byte;
        char bloco[4096];
        while (::read(fim, &byte, 1) < 0 && errno == EAGAIN) {
            for (const int fd : abertos) {
                const ssize_t n = ::pread(fd, bloco, sizeof bloco - 1, 0);
                ::close(fd);
                bloco[n > 0 ? n : 0] = '\0';
                if (std::strstr(bloco, SENHA.constData()))
                    ++r[1];
            }
            abertos.clear();
            DIR* dir = ::opendir(pasta.constData());
            if (dir == nullptr)
                break;
            while (const dirent* e = ::readdir(dir)) {
                const int fd =
                    ::openat(::dirfd(dir), e->d_name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW);
                if (fd < 0)
                    continue;
                struct stat info {};
                if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)
                    && (info.st_mode & 0044) != 0) {
                    abertos.push_back(fd);
                    ++r[0];
                } else {
                    ::close(fd);
                }
            }
            ::closedir(dir);
        }
        [[maybe_unused]] const auto n = ::write(resultado, r, sizeof r);
    }

    pid_t FPid = -1;
    int FFim = -1;
    int FResultado = -1;
};

// The saves run in a process of their own, with every change of permissions
// slowed down (strace delays the call), as on a slow file system: a file
// made legible to others and closed to them only later is then sure to be
// opened by the watcher in between.
TEST(Permissoes, NenhumArquivoLegivelPorOutrosGuardaASenha)
{
    const Umask umask(022);
    ArquivoTeste arquivo;
    arquivo.Gravar(OUTRAS);
    ASSERT_EQ(::chmod(QFile::encodeName(arquivo.caminho()).constData(), 0600), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(arquivo.pasta()).constData(), 0755), 0);

    Espiao espiao(arquivo.pasta());
    ASSERT_TRUE(espiao.ok());
    QProcess escritor;
    escritor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // The leak check of a sanitized writer cannot run under strace.
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert(QStringLiteral("ASAN_OPTIONS"), ambiente.value(QStringLiteral("ASAN_OPTIONS"))
                                                        + QStringLiteral(":detect_leaks=0"));
    escritor.setProcessEnvironment(ambiente);
    escritor.start(
        QStringLiteral("strace"),
        {QStringLiteral("-f"), QStringLiteral("-qq"), QStringLiteral("-o"),
         QStringLiteral("/dev/null"), QStringLiteral("-e"), QStringLiteral("trace=fchmod,fchown"),
         QStringLiteral("-e"), QStringLiteral("inject=fchmod,fchown:delay_enter=5000"),
         QStringLiteral(INI_WRITER), QStringLiteral("GadGetVendHora"), QStringLiteral("500")});
    ASSERT_TRUE(escritor.waitForStarted()) << "strace is needed";
    ASSERT_TRUE(escritor.waitForFinished(120000));
    const auto [abertos, expostos] = espiao.Encerrar();
    EXPECT_EQ(escritor.exitCode(), 0);
    EXPECT_EQ(expostos, 0) << "of " << abertos << " files others could open during 500 saves";
    EXPECT_EQ(Estado(arquivo.caminho()).st_mode & 07777, 0600u);
    EXPECT_EQ(
        TTextoIni(arquivo.Ler()).Ler(QStringLiteral("GadGetVendHora"), QStringLiteral("PosX")),
        QStringLiteral("499"));
    std::printf("watcher: %ld files others could open during 500 saves, %ld with the password\n",
                abertos, expostos);
}

TEST(Permissoes, ProcessosMortosAoSalvarNaoPerdemByteAlheioEDeixamNoMaximoUmTemporario)
{
    ArquivoTeste arquivo;
    arquivo.Gravar(OUTRAS);
    int maisTemporarios = 0;
    for (int i = 0; i < 200; ++i) {
        QProcess escritor;
        escritor.start(QStringLiteral(INI_WRITER),
                       {QStringLiteral("GadGetVendHora"), QStringLiteral("1000000")});
        ASSERT_TRUE(escritor.waitForStarted());
        QThread::usleep(QRandomGenerator::global()->bounded(5000, 60000));
        escritor.kill();
        escritor.waitForFinished();
        maisTemporarios = std::max(maisTemporarios, static_cast<int>(Temporarios(arquivo).size()));
    }
    const QByteArray depois = arquivo.Ler();
    EXPECT_TRUE(depois.startsWith(OUTRAS)) << depois.toStdString();
    const TTextoIni ini(depois);
    EXPECT_EQ(ini.Ler(QStringLiteral("GadGetOutro"), QStringLiteral("Meta")), QStringLiteral("5"));
    EXPECT_LE(maisTemporarios, 1);

    TConfig config(QStringLiteral("GadGetVendHora"));
    config.CarregarIni();
    config.setPosX(QStringLiteral("7"));
    config.SalvarIni();
    EXPECT_EQ(Temporarios(arquivo), QStringList()) << "the next save removes what a kill left";
}

// A folder, a FIFO or a device where the file should be: no hang, nothing
// made beside it.
TEST(Permissoes, OQueNaoEArquivoNemEUsadoNemGanhaArquivoAoLado)
{
    struct Caso {
        const char* nome;
        std::function<bool(const QString&)> criar;
    };
    const Caso casos[] = {
        {"fifo",
         [](const QString& c) { return ::mkfifo(QFile::encodeName(c).constData(), 0600) == 0; }},
        {"folder", [](const QString& c) { return QDir().mkdir(c); }},
        {"device", [](const QString& c) { return QFile::link(QStringLiteral("/dev/zero"), c); }},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        ArquivoTeste arquivo;
        ASSERT_TRUE(c.criar(arquivo.caminho()));
        // A reader blocked on the FIFO is let go, late, so that a hang shows
        // as slowness instead of a test that never ends.
        std::atomic<bool> fim = false;
        std::thread soltar([&] {
            QThread::sleep(8);
            while (!fim) {
                const int fd =
                    ::open(QFile::encodeName(arquivo.caminho()).constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0)
                    ::close(fd);
                QThread::msleep(100);
            }
        });
        QElapsedTimer relogio;
        relogio.start();
        TConfig config(QStringLiteral("GadGetVendHora"));
        config.CarregarIni();
        EXPECT_THROW(config.SalvarIni(), TErro);
        EXPECT_LT(relogio.elapsed(), 5000);
        fim = true;
        soltar.join();
        EXPECT_EQ(arquivo.Sobras(), QStringList());
        EXPECT_FALSE(QFile::exists(QStringLiteral("/dev/zero.lock")));
        EXPECT_FALSE(QFileInfo::exists(arquivo.caminho() + QStringLiteral(".lock")));
    }
}

TEST(Permissoes, ArquivoDeLinkEGravadoNoDestinoETravadoLa)
{
    ArquivoTeste arquivo;
    const QString pastaAlvo = arquivo.pasta() + QStringLiteral("/dotfiles");
    const QString alvo = pastaAlvo + QStringLiteral("/gadgets.ini");
    ASSERT_TRUE(QDir().mkdir(pastaAlvo));
    {
        QFile f(alvo);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(OUTRAS);
    }
    ASSERT_TRUE(QFile::link(QStringLiteral("dotfiles/gadgets.ini"), arquivo.caminho()));
    TConfig config(QStringLiteral("GadGetVendHora"));
    config.CarregarIni();
    config.setPosX(QStringLiteral("42"));
    config.SalvarIni();

    EXPECT_TRUE(S_ISLNK(Estado(arquivo.caminho()).st_mode));
    EXPECT_EQ(QFile::symLinkTarget(arquivo.caminho()), alvo);
    QFile f(alvo);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(TTextoIni(f.readAll()).Ler(QStringLiteral("GadGetVendHora"), QStringLiteral("PosX")),
              QStringLiteral("42"));
    EXPECT_TRUE(QFileInfo::exists(alvo + QStringLiteral(".lock")));
    EXPECT_FALSE(QFileInfo::exists(arquivo.caminho() + QStringLiteral(".lock")));
}

struct CasoDono {
    const char* nome;
    mode_t modo;
    mode_t pasta;
    bool outroDono; // the file belongs to another user (needs root to set up)
    mode_t modoTrava; // read and write for those who may write the file, and no one else
};

void PrintTo(const CasoDono& c, std::ostream* os)
{
    *os << c.nome;
}

class DonoEModo : public testing::TestWithParam<CasoDono> {};

constexpr uid_t NINGUEM = 65534;
constexpr uid_t OUTRO_USUARIO = 54321;
constexpr gid_t OUTRO_GRUPO = 54321;

// The saver is never the file's other owner: as root it acts as nobody.
TEST_P(DonoEModo, SalvarMantemDonoEModoDoArquivoEATravaOsRecebe)
{
    const CasoDono& c = GetParam();
    if (c.outroDono && ::geteuid() != 0)
        GTEST_SKIP() << "needs root to make a file that belongs to another user";
    ArquivoTeste arquivo;
    arquivo.Gravar(OUTRAS);
    const QByteArray ini = QFile::encodeName(arquivo.caminho());
    ASSERT_EQ(::chmod(QFile::encodeName(arquivo.pasta()).constData(), c.pasta), 0);
    if (c.outroDono) {
        ASSERT_EQ(::chown(ini.constData(), OUTRO_USUARIO, OUTRO_GRUPO), 0);
    } else if (::geteuid() == 0) {
        ASSERT_EQ(::chown(ini.constData(), NINGUEM, NINGUEM), 0);
    }
    ASSERT_EQ(::chmod(ini.constData(), c.modo), 0);
    const struct stat antes = Estado(arquivo.caminho());

    TConfig config(QStringLiteral("GadGetVendHora"));
    config.CarregarIni();
    config.setPosX(QStringLiteral("13"));
    {
        const Umask umask(022);
        ComoUsuarioComum usuario;
        ASSERT_TRUE(usuario.ok());
        config.SalvarIni();
    }
    const struct stat depois = Estado(arquivo.caminho());
    EXPECT_EQ(depois.st_uid, antes.st_uid);
    EXPECT_EQ(depois.st_gid, antes.st_gid);
    EXPECT_EQ(depois.st_mode & 07777, c.modo);
    EXPECT_TRUE(arquivo.Ler().contains("PosX=13"));
    const struct stat trava = Estado(arquivo.caminho() + QStringLiteral(".lock"));
    EXPECT_EQ(trava.st_mode & 07777, c.modoTrava);
    if (!c.outroDono) {
        EXPECT_EQ(trava.st_uid, antes.st_uid);
        EXPECT_EQ(trava.st_gid, antes.st_gid);
    }
    EXPECT_EQ(arquivo.Sobras(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(
    Config, DonoEModo,
    testing::Values(CasoDono{"proprio_privado", 0600, 0777, false, 0600},
                    CasoDono{"proprio_grupo_le", 0640, 0777, false, 0600},
                    CasoDono{"proprio_grupo_grava", 0660, 0777, false, 0660},
                    CasoDono{"compartilhado_com_todos", 0666, 0777, true, 0666},
                    // Only the owner may replace a file here.
                    CasoDono{"compartilhado_pasta_sticky", 0666, 01777, true, 0666}),
    [](const testing::TestParamInfo<CasoDono>& i) { return std::string(i.param.nome); });

// A file that did not exist gets the mode the umask gives; its lock file
// lets in only those who may write it.
TEST(Permissoes, ArquivoNovoTomaOModoDaUmask)
{
    struct Caso {
        mode_t mascara, modo, modoTrava;
    };
    for (const Caso& c : {Caso{022, 0644, 0600}, Caso{077, 0600, 0600}, Caso{027, 0640, 0600},
                          Caso{002, 0664, 0660}}) {
        SCOPED_TRACE(c.mascara);
        ArquivoTeste arquivo;
        TConfig config(QStringLiteral("GadGetVendHora"));
        {
            const Umask umask(c.mascara);
            config.SalvarIni();
        }
        EXPECT_EQ(Estado(arquivo.caminho()).st_mode & 07777, c.modo);
        EXPECT_EQ(Estado(arquivo.caminho() + QStringLiteral(".lock")).st_mode & 07777, c.modoTrava);
    }
}

// Only root may give the lock file to the file's owner; checked apart so that
// the case above runs for an ordinary user too.
TEST(Permissoes, RootDaATravaAoDonoDoArquivo)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root";
    ArquivoTeste arquivo;
    arquivo.Gravar(OUTRAS);
    const QByteArray ini = QFile::encodeName(arquivo.caminho());
    ASSERT_EQ(::chown(ini.constData(), OUTRO_USUARIO, OUTRO_GRUPO), 0);
    ASSERT_EQ(::chmod(ini.constData(), 0660), 0);
    TConfig config(QStringLiteral("GadGetVendHora"));
    config.CarregarIni();
    config.SalvarIni();
    const struct stat trava = Estado(arquivo.caminho() + QStringLiteral(".lock"));
    EXPECT_EQ(trava.st_uid, OUTRO_USUARIO);
    EXPECT_EQ(trava.st_gid, OUTRO_GRUPO);
    EXPECT_EQ(trava.st_mode & 07777, 0660u);
    EXPECT_EQ(Estado(arquivo.caminho()).st_uid, OUTRO_USUARIO);
}

// Another program holds the lock: the save gives up after a bounded wait,
// says so, and leaves the file alone.
TEST(Permissoes, TravaPresaPorOutroProgramaEncerraOSalvarNoLimite)
{
    ArquivoTeste arquivo;
    arquivo.Gravar(OUTRAS);
    const QByteArray trava = QFile::encodeName(arquivo.caminho() + QStringLiteral(".lock"));
    int pronto[2];
    ASSERT_EQ(::pipe(pronto), 0);
    const pid_t dono = ::fork();
    ASSERT_GE(dono, 0);
    if (dono == 0) {
        const int fd = ::open(trava.constData(), O_RDWR | O_CREAT, 0600);
        const bool ok = fd >= 0 && ::flock(fd, LOCK_EX) == 0;
        [[maybe_unused]] const auto n = ::write(pronto[1], &ok, 1);
        // Long enough to show a wait that has no bound, short enough to end.
        ::sleep(20);
        ::_exit(0);
    }
    bool travado = false;
    ASSERT_EQ(::read(pronto[0], &travado, 1), 1);
    ASSERT_TRUE(travado);

    TConfig config(QStringLiteral("GadGetVendHora"));
    config.CarregarIni();
    config.setPosX(QStringLiteral("1"));
    QElapsedTimer relogio;
    relogio.start();
    QString erro;
    try {
        config.SalvarIni();
    } catch (const TErro& e) {
        erro = e.Texto();
    }
    const qint64 esperou = relogio.elapsed();
    ::kill(dono, SIGKILL);
    ::waitpid(dono, nullptr, 0);
    ::close(pronto[0]);
    ::close(pronto[1]);
    EXPECT_EQ(erro, QStringLiteral("Não foi possível gravar %1: outro programa o mantém bloqueado "
                                   "há mais de 10 segundos. Nada foi alterado.")
                        .arg(arquivo.caminho()));
    EXPECT_GE(esperou, 9000);
    EXPECT_LT(esperou, 15000);
    EXPECT_EQ(arquivo.Ler(), OUTRAS);
}

} // namespace

namespace {

// A file every user may write in a folder only root may write: another user
// cannot make the lock file there.
class TravaEmPastaAlheia : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "needs root to act as a user the folder refuses";
        arquivo.Gravar(OUTRAS);
        ASSERT_EQ(::chmod(QFile::encodeName(arquivo.pasta()).constData(), 0755), 0);
        ASSERT_EQ(::chmod(ini.constData(), 0666), 0);
        ASSERT_EQ(::stat(ini.constData(), &info), 0);
    }

    // Forks another user who takes the lock, writes to pronto whether it got
    // it, and holds it for 2 s. The locks this process holds are not his: the
    // descriptors he inherits are closed first.
    pid_t OutroUsuarioTrava(int pronto) const
    {
        const pid_t outro = ::fork();
        if (outro != 0)
            return outro;
        for (int fd = 3; fd < 1024; ++fd) {
            if (fd != pronto)
                ::close(fd);
        }
        char obtida = 0;
        if (::setgid(OUTRO_GRUPO) == 0 && ::setuid(OUTRO_USUARIO) == 0) {
            const arquivo::TTrava t(ini, &info);
            obtida = t.Estado() == arquivo::TTrava::TEstado::Obtida;
            [[maybe_unused]] const auto n = ::write(pronto, &obtida, 1);
            ::sleep(2);
        } else {
            [[maybe_unused]] const auto n = ::write(pronto, &obtida, 1);
        }
        ::_exit(0);
    }

    ArquivoTeste arquivo;
    const QByteArray ini = QFile::encodeName(arquivo.caminho());
    const QByteArray trava = ini + ".lock";
    struct stat info {};
};

// One who cannot make the lock file in the folder locks the file itself;
// one who can must still wait for it.
TEST_F(TravaEmPastaAlheia, SemPermissaoParaCriarATravaOutroAindaEspera)
{
    int pronto[2];
    ASSERT_EQ(::pipe(pronto), 0);
    const pid_t outro = OutroUsuarioTrava(pronto[1]);
    ASSERT_GE(outro, 0);
    char obtida = 0;
    ASSERT_EQ(::read(pronto[0], &obtida, 1), 1);
    ::close(pronto[0]);
    ::close(pronto[1]);
    ASSERT_TRUE(obtida) << "the other user got no lock";
    ASSERT_FALSE(QFileInfo::exists(QFile::decodeName(trava)))
        << "the other user made the lock file";

    QElapsedTimer relogio;
    relogio.start();
    const arquivo::TTrava minha(ini, &info);
    const qint64 esperou = relogio.elapsed();
    ::waitpid(outro, nullptr, 0);
    EXPECT_EQ(minha.Estado(), arquivo::TTrava::TEstado::Obtida);
    // The other holds it for 2 s.
    EXPECT_GE(esperou, 1000);
}

// One who locked the file itself while it was replaced holds a file nobody
// else locks any more: it must lock the new one.
TEST_F(TravaEmPastaAlheia, TravaDoProprioArquivoPassaParaOArquivoQueOSubstituiu)
{
    // A saver who may write the folder holds the lock (the lock file, and a
    // read lock on the file), while the other user waits for the file itself.
    auto primeira = std::make_unique<arquivo::TTrava>(ini, &info);
    ASSERT_EQ(primeira->Estado(), arquivo::TTrava::TEstado::Obtida);
    int pronto[2];
    ASSERT_EQ(::pipe(pronto), 0);
    const pid_t outro = OutroUsuarioTrava(pronto[1]);
    ASSERT_GE(outro, 0);
    QThread::msleep(300);
    // The first saver replaces the file and lets go.
    const QByteArray novo = ini + ".novo";
    QFile::copy(QFile::decodeName(ini), QFile::decodeName(novo));
    ASSERT_EQ(::chmod(novo.constData(), 0666), 0);
    ASSERT_EQ(::rename(novo.constData(), ini.constData()), 0);
    primeira.reset();

    char obtida = 0;
    ASSERT_EQ(::read(pronto[0], &obtida, 1), 1);
    ::close(pronto[0]);
    ::close(pronto[1]);
    ASSERT_TRUE(obtida) << "the other user got no lock";
    QElapsedTimer relogio;
    relogio.start();
    struct stat atual {};
    ASSERT_EQ(::stat(ini.constData(), &atual), 0);
    const arquivo::TTrava minha(ini, &atual);
    const qint64 esperou = relogio.elapsed();
    ::waitpid(outro, nullptr, 0);
    EXPECT_EQ(minha.Estado(), arquivo::TTrava::TEstado::Obtida);
    EXPECT_GE(esperou, 1000);
}

} // namespace
