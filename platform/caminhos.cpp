#include "platform/caminhos.h"

#include <QDir>
#include <unistd.h>

namespace plataforma {

QString DiretorioConfiguracaoUsuario()
{
    const QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (QDir::isAbsolutePath(base))
        return base;
    return QDir::homePath() + QStringLiteral("/.config");
}

QString CaminhoArquivoIni()
{
    const QString nomeado = qEnvironmentVariable("VANTREL_GADGETS_INI");
    if (!nomeado.isEmpty())
        return nomeado;
    return DiretorioConfiguracaoUsuario() + QStringLiteral("/TempVUX/ConfigGadGet.Ini");
}

QString DiretorioInicioAutomaticoGeral()
{
    // Relative entries are invalid in XDG variables and are skipped.
    const QStringList pastas = qEnvironmentVariable("XDG_CONFIG_DIRS").split(u':');
    for (const QString& pasta : pastas) {
        if (QDir::isAbsolutePath(pasta))
            return pasta + QStringLiteral("/autostart");
    }
    return QStringLiteral("/etc/xdg/autostart");
}

QString DiretorioInicioAutomaticoUsuario()
{
    return DiretorioConfiguracaoUsuario() + QStringLiteral("/autostart");
}

QString DiretorioLock()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return runtime;
    return QStringLiteral("/tmp/vantrel-gadgets-%1").arg(getuid());
}

QString ServidorLocal()
{
    const QString nomeado = qEnvironmentVariable("VANTREL_SERVIDOR_LOCAL");
    return nomeado.isEmpty() ? QStringLiteral("localhost") : nomeado;
}

} // namespace plataforma
