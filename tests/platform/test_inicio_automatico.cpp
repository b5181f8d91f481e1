#include "ambiente.h"
#include "base/erro.h"
#include "platform/rotinas_desktop.h"
#include "platform/seams.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const QString TITULO = QStringLiteral("Vendas por Hora");

std::string Ler(const QString& caminho)
{
    QFile arquivo(caminho);
    return arquivo.open(QIODevice::ReadOnly) ? arquivo.readAll().toStdString() : std::string();
}

// The program paths of these tests all hold a blank.
std::string EntradaEsperada(const QString& programa)
{
    return "[Desktop Entry]\nType=Application\nName=Vendas por Hora\nExec=\""
           + programa.toStdString() + "\"\n";
}

class InicioAutomatico : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(temp.isValid());
        plataforma::Ganchos().arquivoPrograma = [this] { return programa; };
    }

    // Root ignores permissions, so the folder is made unwritable by putting
    // a plain file where its parent should be.
    QString Inacessivel() const
    {
        QFile bloqueio(temp.filePath(QStringLiteral("arquivo")));
        bloqueio.open(QIODevice::WriteOnly);
        return temp.filePath(QStringLiteral("arquivo/xdg"));
    }

    QString Geral() const
    {
        return temp.filePath(QStringLiteral("xdg/autostart/vendas-por-hora.desktop"));
    }
    QString Usuario() const
    {
        return temp.filePath(QStringLiteral("home/autostart/vendas-por-hora.desktop"));
    }

    QTemporaryDir temp;
    VariavelTemporaria dirs{"XDG_CONFIG_DIRS",
                            temp.filePath(QStringLiteral("xdg")) + QStringLiteral(":/etc/xdg")};
    VariavelTemporaria home{"XDG_CONFIG_HOME", temp.filePath(QStringLiteral("home"))};
    plataforma::TGanchosRestaurados ganchos;
    QString programa = temp.filePath(QStringLiteral("Meus Programas/vendas-por-hora"));
};

TEST_F(InicioAutomatico, IncluirGravaEntradaParaTodosOsUsuarios)
{
    const mode_t antiga = umask(077);
    plataforma::IniciarComWindows(TITULO, true);
    umask(antiga);

    EXPECT_EQ(Ler(Geral()), EntradaEsperada(programa));
    EXPECT_FALSE(QFile::exists(Usuario()));
    // Other users' sessions must be able to read it.
    EXPECT_TRUE(QFile::permissions(Geral()) & QFileDevice::ReadOther);
}

TEST_F(InicioAutomatico, IncluirDeNovoSobrescreveComOCaminhoAtual)
{
    plataforma::IniciarComWindows(TITULO, true);
    programa = temp.filePath(QStringLiteral("Outra Pasta/vendas-por-hora"));
    plataforma::IniciarComWindows(TITULO, true);

    EXPECT_EQ(Ler(Geral()), EntradaEsperada(programa));
    EXPECT_EQ(QDir(temp.filePath(QStringLiteral("xdg/autostart"))).entryList(QDir::Files),
              QStringList{QStringLiteral("vendas-por-hora.desktop")});
}

TEST_F(InicioAutomatico, RemoverEntradaInexistenteNaoFazNada)
{
    EXPECT_NO_THROW(plataforma::IniciarComWindows(TITULO, false));
    EXPECT_FALSE(QFile::exists(temp.filePath(QStringLiteral("xdg"))));
    EXPECT_FALSE(QFile::exists(temp.filePath(QStringLiteral("home"))));
}

TEST_F(InicioAutomatico, RemoverApagaAEntrada)
{
    plataforma::IniciarComWindows(TITULO, true);
    plataforma::IniciarComWindows(TITULO, false);
    EXPECT_FALSE(QFile::exists(Geral()));
    EXPECT_FALSE(QFile::exists(Usuario())) << "nothing left to hide";
}

TEST_F(InicioAutomatico, RecorreAEntradaDoUsuarioQuandoAPastaDeTodosNaoEGravavel)
{
    dirs.mudar(Inacessivel());
    EXPECT_NO_THROW(plataforma::IniciarComWindows(TITULO, true));
    EXPECT_EQ(Ler(Usuario()), EntradaEsperada(programa));

    plataforma::IniciarComWindows(TITULO, false);
    EXPECT_FALSE(QFile::exists(Usuario()));
}

TEST_F(InicioAutomatico, FalhaQuandoNenhumaEntradaPodeSerGravada)
{
    const QString bloqueada = Inacessivel();
    dirs.mudar(bloqueada);
    home.mudar(bloqueada);
    try {
        plataforma::IniciarComWindows(TITULO, true);
        FAIL() << "no error";
    } catch (const TErro& erro) {
        EXPECT_EQ(erro.Texto(), QStringLiteral("Failed to set data for 'Vendas por Hora'"));
    }
}

TEST_F(InicioAutomatico, EntradaDeTodosOsUsuariosSubstituiAAntigaDoUsuario)
{
    // A user's entry of the same name would win over the machine-wide one,
    // keeping an old path alive.
    const QString geral = dirs.valor();
    dirs.mudar(Inacessivel());
    plataforma::IniciarComWindows(TITULO, true);
    ASSERT_TRUE(QFile::exists(Usuario()));

    dirs.mudar(geral);
    programa = temp.filePath(QStringLiteral("Nova Pasta/vendas-por-hora"));
    plataforma::IniciarComWindows(TITULO, true);
    EXPECT_EQ(Ler(Geral()), EntradaEsperada(programa));
    EXPECT_FALSE(QFile::exists(Usuario()));
}

TEST_F(InicioAutomatico, RemoverApagaAsDuasEntradas)
{
    for (const QString& caminho : {Geral(), Usuario()}) {
        QDir().mkpath(QFileInfo(caminho).path());
        QFile entrada(caminho);
        ASSERT_TRUE(entrada.open(QIODevice::WriteOnly));
    }
    plataforma::IniciarComWindows(TITULO, false);
    EXPECT_FALSE(QFile::exists(Geral()));
    EXPECT_FALSE(QFile::exists(Usuario()));
}

// What session settings leave in the user's folder to switch the program
// off: a copy of the entry for all users, turned off.
const std::pair<const char*, const char*> DESLIGADAS[] = {
    {"Hidden",
     "[Desktop Entry]\nType=Application\nName=Vendas por Hora\nExec=/velho/vph\nHidden=true\n"},
    {"GNOME switch", "[Desktop Entry]\nType=Application\nName=Vendas por Hora\nExec=/velho/vph\n"
                     "X-GNOME-Autostart-enabled=false\n"},
};

struct CasoDesligada {
    const char* nome;
    // Points the folders where the case needs them; returns what adding or
    // removing should leave at Geral(), "" for no file.
    std::function<std::string()> prepara;
    bool adicionar;
};

// A user who switched the program off keeps it off: neither a start by hand
// (adding) nor a close (removing) deletes or rewrites that entry; the entry
// for all users still follows the program for the other users.
TEST_F(InicioAutomatico, DesligadaPeloUsuarioFicaComoOUsuarioDeixou)
{
    const CasoDesligada casos[] = {
        {"adding, the folder for all users writable", [this] { return EntradaEsperada(programa); },
         true},
        {"adding, the folder for all users not writable",
         [this] {
             dirs.mudar(Inacessivel());
             return std::string();
         },
         true},
        {"adding, one folder for both",
         [this] {
             dirs.mudar(home.valor());
             return std::string();
         },
         true},
        {"removing",
         [] {
             plataforma::IniciarComWindows(TITULO, true);
             return std::string();
         },
         false},
    };
    for (const auto& [forma, desligada] : DESLIGADAS) {
        for (const CasoDesligada& caso : casos) {
            SCOPED_TRACE(std::string(caso.nome) + ", " + forma);
            const QString geral = dirs.valor();
            QDir(temp.filePath(QStringLiteral("xdg"))).removeRecursively();
            QDir(temp.filePath(QStringLiteral("home"))).removeRecursively();
            const std::string esperada = caso.prepara();
            ASSERT_TRUE(QDir().mkpath(QFileInfo(Usuario()).path()));
            {
                QFile entrada(Usuario());
                ASSERT_TRUE(entrada.open(QIODevice::WriteOnly));
                entrada.write(desligada);
            }

            EXPECT_NO_THROW(plataforma::IniciarComWindows(TITULO, caso.adicionar));
            EXPECT_EQ(Ler(Usuario()), desligada);
            if (QDir(dirs.valor()) != QDir(home.valor())) {
                EXPECT_EQ(Ler(Geral()), esperada);
            }
            dirs.mudar(geral);
        }
    }
}

// The hidden entry that a close writes is the program's own: the next start
// by hand takes it back, also where it can only write this user's entry.
TEST_F(InicioAutomatico, AOcultaQueOFecharDeixouSaiNoProximoInicio)
{
    ASSERT_TRUE(QDir().mkpath(Geral() + QStringLiteral("/dentro")));
    plataforma::IniciarComWindows(TITULO, false);
    ASSERT_EQ(Ler(Usuario()),
              "[Desktop Entry]\nType=Application\nName=Vendas por Hora\nHidden=true\n");

    plataforma::IniciarComWindows(TITULO, true);
    EXPECT_EQ(Ler(Usuario()), EntradaEsperada(programa));
}

struct CasoEntradaQueFica {
    const char* nome;
    // Leaves an entry for all users at Geral() that removing cannot delete.
    std::function<void(const QString& geral)> prepara;
};

// A user who may not delete the entry for all users keeps the program from
// starting at the next log-on with a hidden entry of their own; adding again
// brings it back.
TEST_F(InicioAutomatico, EntradaDeTodosQueFicaEOcultaParaEsteUsuario)
{
    std::vector<CasoEntradaQueFica> casos = {
        {"a folder where the entry is",
         [](const QString& geral) {
             ASSERT_TRUE(QDir().mkpath(geral + QStringLiteral("/dentro")));
         }},
    };
    // Root may write every folder.
    if (geteuid() != 0)
        casos.push_back(
            {"a folder this user may not write", [](const QString& geral) {
                 QDir().mkpath(QFileInfo(geral).path());
                 QFile entrada(geral);
                 ASSERT_TRUE(entrada.open(QIODevice::WriteOnly));
                 entrada.close();
                 ASSERT_TRUE(QFile::setPermissions(QFileInfo(geral).path(),
                                                   QFileDevice::ReadOwner | QFileDevice::ExeOwner));
             }});
    for (const CasoEntradaQueFica& caso : casos) {
        SCOPED_TRACE(caso.nome);
        QDir(temp.filePath(QStringLiteral("xdg"))).removeRecursively();
        QDir(temp.filePath(QStringLiteral("home"))).removeRecursively();
        caso.prepara(Geral());

        plataforma::IniciarComWindows(TITULO, false);
        EXPECT_TRUE(QFileInfo::exists(Geral()));
        EXPECT_EQ(Ler(Usuario()),
                  "[Desktop Entry]\nType=Application\nName=Vendas por Hora\nHidden=true\n");

        QFile::setPermissions(QFileInfo(Geral()).path(), QFileDevice::ReadOwner
                                                             | QFileDevice::WriteOwner
                                                             | QFileDevice::ExeOwner);
    }
}

} // namespace
