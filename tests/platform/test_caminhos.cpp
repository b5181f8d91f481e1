#include "ambiente.h"
#include "platform/caminhos.h"

#include <gtest/gtest.h>
#include <optional>

using namespace plataforma;

namespace {

struct CasoConfiguracao {
    std::optional<QString> valor; // nullopt: unset
    QString pasta;
};

// The shared INI and the user's start-at-log-on entry must sit under the same
// folder, whatever $XDG_CONFIG_HOME holds.
TEST(Caminhos, PastaDeConfiguracaoDoUsuarioSoDeUmCaminhoAbsoluto)
{
    const CasoConfiguracao casos[] = {
        {std::nullopt, QStringLiteral("/srv/casa/.config")},
        {QString(), QStringLiteral("/srv/casa/.config")},
        {QStringLiteral("relativa/cfg"), QStringLiteral("/srv/casa/.config")},
        {QStringLiteral("./cfg"), QStringLiteral("/srv/casa/.config")},
        {QStringLiteral("/srv/eu/.cfg"), QStringLiteral("/srv/eu/.cfg")},
    };
    VariavelTemporaria casa("HOME", QStringLiteral("/srv/casa"));
    VariavelTemporaria ini("VANTREL_GADGETS_INI", QString());
    qunsetenv("VANTREL_GADGETS_INI");
    for (const auto& caso : casos) {
        VariavelTemporaria home("XDG_CONFIG_HOME", caso.valor.value_or(QString()));
        if (!caso.valor)
            qunsetenv("XDG_CONFIG_HOME");
        const std::string nome = caso.valor ? '"' + caso.valor->toStdString() + '"' : "unset";
        EXPECT_EQ(DiretorioConfiguracaoUsuario().toStdString(), caso.pasta.toStdString()) << nome;
        EXPECT_EQ(CaminhoArquivoIni().toStdString(),
                  (caso.pasta + QStringLiteral("/TempVUX/ConfigGadGet.Ini")).toStdString())
            << nome;
        EXPECT_EQ(DiretorioInicioAutomaticoUsuario().toStdString(),
                  (caso.pasta + QStringLiteral("/autostart")).toStdString())
            << nome;
    }
}

TEST(Caminhos, ArquivoIniNomeadoValeSobreAPastaDeConfiguracao)
{
    VariavelTemporaria home("XDG_CONFIG_HOME", QStringLiteral("/srv/eu/.cfg"));
    VariavelTemporaria ini("VANTREL_GADGETS_INI", QStringLiteral("/srv/comum/gadgets.ini"));
    EXPECT_EQ(CaminhoArquivoIni(), QStringLiteral("/srv/comum/gadgets.ini"));
}

} // namespace
