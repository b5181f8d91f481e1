#include "shell/linha_comando.h"

#include "base/versao.h"

#include <QCommandLineParser>

const QString USO_VENDAS_POR_HORA =
    QStringLiteral("Uso: vendas-por-hora [--help] [--version]\n"
                   "\n"
                   "Mostra na área de trabalho as vendas de um dia, hora a hora, lidas do banco\n"
                   "de dados da loja. O banco e as preferências vêm do arquivo de configuração\n"
                   "das gadgets: $VANTREL_GADGETS_INI quando definido, senão\n"
                   "$XDG_CONFIG_HOME/TempVUX/ConfigGadGet.Ini (~/.config por padrão).\n"
                   "\n"
                   "Opções:\n"
                   "  -h, --help     mostra esta ajuda\n"
                   "  -v, --version  mostra a versão\n");

TLinhaComando LerLinhaComando(const QStringList& argumentos)
{
    QCommandLineParser leitor;
    const QCommandLineOption ajuda({QStringLiteral("h"), QStringLiteral("help")},
                                   QStringLiteral("mostra esta ajuda"));
    const QCommandLineOption versao({QStringLiteral("v"), QStringLiteral("version")},
                                    QStringLiteral("mostra a versão"));
    leitor.addOption(ajuda);
    leitor.addOption(versao);

    const auto invalida = [](const QString& motivo) {
        return TLinhaComando{TLinhaComando::TAcao::Invalida,
                             QStringLiteral("vendas-por-hora: %1. Veja --help.\n").arg(motivo)};
    };
    // The parser takes the first element as the program's name.
    if (!leitor.parse(QStringList{QStringLiteral("vendas-por-hora")} + argumentos)) {
        const QStringList desconhecidas = leitor.unknownOptionNames();
        if (desconhecidas.isEmpty())
            return invalida(leitor.errorText());
        const QString& nome = desconhecidas.first();
        return invalida(
            QStringLiteral("opção desconhecida: \"%1%2\"")
                .arg(nome.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), nome));
    }
    if (!leitor.positionalArguments().isEmpty())
        return invalida(QStringLiteral("argumento inesperado: \"%1\"")
                            .arg(leitor.positionalArguments().first()));
    if (leitor.isSet(ajuda))
        return {TLinhaComando::TAcao::Ajuda, USO_VENDAS_POR_HORA};
    if (leitor.isSet(versao))
        return {TLinhaComando::TAcao::Versao,
                QStringLiteral("vendas-por-hora %1\n").arg(VERSAO_GADGET)};
    return {};
}
