#include "ambiente.h"
#include "platform/caminhos.h"
#include "platform/entrada_desktop.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace plataforma;

namespace {

struct CasoNome {
    QString titulo;
    QString arquivo;
};

TEST(EntradaDesktop, NomeDoArquivoPeloTitulo)
{
    const CasoNome casos[] = {
        {QStringLiteral("Vendas por Hora"), QStringLiteral("vendas-por-hora.desktop")},
        // Letter case does not make another entry, as with registry names.
        {QStringLiteral("VENDAS POR HORA"), QStringLiteral("vendas-por-hora.desktop")},
        {QStringLiteral("Produção"), QStringLiteral("produ_C3_A7_C3_A3o.desktop")},
        {QStringLiteral("a/b"), QStringLiteral("a_2Fb.desktop")},
        // "-" and "_" are escaped, so "a-b" never meets "a b".
        {QStringLiteral("a-b"), QStringLiteral("a_2Db.desktop")},
        {QStringLiteral("a_2Db"), QStringLiteral("a_5F2db.desktop")},
    };
    for (const auto& caso : casos)
        EXPECT_EQ(NomeArquivoEntrada(caso.titulo), caso.arquivo) << caso.titulo.toStdString();
}

struct CasoExec {
    QString programa;
    QString argumento;
};

TEST(EntradaDesktop, ArgumentoDoExecEntreAspasSoQuandoPreciso)
{
    const CasoExec casos[] = {
        {QStringLiteral("/usr/bin/vendas-por-hora"), QStringLiteral("/usr/bin/vendas-por-hora")},
        {QStringLiteral("/opt/Meus Programas/vph"), QStringLiteral("\"/opt/Meus Programas/vph\"")},
        {QStringLiteral("/opt/it's/vph"), QStringLiteral("\"/opt/it's/vph\"")},
        {QStringLiteral("/opt/~x/vph"), QStringLiteral("\"/opt/~x/vph\"")},
        {QStringLiteral("/opt/a$b/vph"), QStringLiteral("\"/opt/a\\$b/vph\"")},
        {QStringLiteral("/opt/a\"b/vph"), QStringLiteral("\"/opt/a\\\"b/vph\"")},
        {QStringLiteral("/opt/a`b/vph"), QStringLiteral("\"/opt/a\\`b/vph\"")},
        {QStringLiteral("/opt/a\\b/vph"), QStringLiteral("\"/opt/a\\\\b/vph\"")},
        {QStringLiteral("/opt/100%/vph"), QStringLiteral("/opt/100%%/vph")},
        {QStringLiteral("/opt/100% a/vph"), QStringLiteral("\"/opt/100%% a/vph\"")},
        {QStringLiteral("/opt/Promoção/vph"), QStringLiteral("/opt/Promoção/vph")},
    };
    for (const auto& caso : casos)
        EXPECT_EQ(ArgumentoExec(caso.programa), caso.argumento) << caso.programa.toStdString();
}

TEST(EntradaDesktop, TextoDaEntradaEscapaValoresDeTexto)
{
    EXPECT_EQ(
        TextoEntrada(QStringLiteral("Vendas por Hora"), QStringLiteral("/opt/Meus Programas/vph"))
            .toStdString(),
        std::string("[Desktop Entry]\n"
                    "Type=Application\n"
                    "Name=Vendas por Hora\n"
                    "Exec=\"/opt/Meus Programas/vph\"\n"));
    // A quoted backslash is doubled once for the quoting and once more for
    // the string value; a newline in the title must not start a new key.
    EXPECT_EQ(
        TextoEntrada(QStringLiteral(" Linha\nExec=x"), QStringLiteral("/opt/a\\b")).toStdString(),
        std::string("[Desktop Entry]\n"
                    "Type=Application\n"
                    "Name=\\sLinha\\nExec=x\n"
                    "Exec=\"/opt/a\\\\\\\\b\"\n"));
}

struct CasoDesligada {
    const char* nome;
    const char* texto;
    bool desligada;
};

// What desktop session settings write to keep a program from starting, and
// what only looks like it.
TEST(EntradaDesktop, EntradaDesligadaPeloUsuario)
{
    const CasoDesligada casos[] = {
        {"Hidden", "[Desktop Entry]\nType=Application\nExec=vph\nHidden=true\n", true},
        {"GNOME switch off", "[Desktop Entry]\nExec=vph\nX-GNOME-Autostart-enabled=false\n", true},
        {"MATE switch off", "[Desktop Entry]\nExec=vph\nX-MATE-Autostart-enabled=false\n", true},
        {"blanks and CR LF", "[Desktop Entry]\r\n  Hidden = 1 \r\n", true},
        {"GNOME switch on", "[Desktop Entry]\nExec=vph\nX-GNOME-Autostart-enabled=true\n", false},
        {"Hidden=false", "[Desktop Entry]\nHidden=false\n", false},
        {"the last of a key given twice", "[Desktop Entry]\nHidden=true\nHidden=false\n", false},
        {"either key says so", "[Desktop Entry]\nHidden=false\nX-GNOME-Autostart-enabled=false\n",
         true},
        {"not a boolean", "[Desktop Entry]\nHidden=yes\n", false},
        {"letter case of the key", "[Desktop Entry]\nhidden=true\n", false},
        {"another group", "[Desktop Entry]\nExec=vph\n[Desktop Action x]\nHidden=true\n", false},
        {"no group", "Hidden=true\n", false},
        {"our live entry", "[Desktop Entry]\nType=Application\nName=V\nExec=vph\n", false},
    };
    for (const auto& caso : casos)
        EXPECT_EQ(EntradaDesligada(caso.texto), caso.desligada) << caso.nome;
}

struct CasoPasta {
    const char* dirs;
    QString esperado;
};

TEST(EntradaDesktop, PastaDeTodosOsUsuariosEAPrimeiraPastaDeConfiguracaoAbsoluta)
{
    const CasoPasta casos[] = {
        {"/etc/empresa:/etc/xdg", QStringLiteral("/etc/empresa/autostart")},
        {":relativa:/srv/xdg", QStringLiteral("/srv/xdg/autostart")},
        {"", QStringLiteral("/etc/xdg/autostart")},
    };
    for (const auto& caso : casos) {
        VariavelTemporaria dirs("XDG_CONFIG_DIRS", QString::fromUtf8(caso.dirs));
        EXPECT_EQ(DiretorioInicioAutomaticoGeral(), caso.esperado) << caso.dirs;
    }
}

TEST(EntradaDesktop, PastaDoUsuarioSegueAPastaDeConfiguracaoDele)
{
    VariavelTemporaria home("XDG_CONFIG_HOME", QStringLiteral("/srv/eu/.cfg"));
    EXPECT_EQ(DiretorioInicioAutomaticoUsuario(), QStringLiteral("/srv/eu/.cfg/autostart"));
    home.mudar(QStringLiteral("relativa"));
    EXPECT_EQ(DiretorioInicioAutomaticoUsuario(),
              QDir::homePath() + QStringLiteral("/.config/autostart"));
}

} // namespace
