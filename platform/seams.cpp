#include "platform/seams.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <unistd.h>

namespace plataforma {

Ganchos& ganchos()
{
    static Ganchos g;
    return g;
}

QDate Hoje()
{
    return ganchos().hoje ? ganchos().hoje() : QDate::currentDate();
}

QDateTime Agora()
{
    return ganchos().agora ? ganchos().agora() : QDateTime::currentDateTime();
}

QString CaminhoArquivoIni()
{
    const QString nomeado = qEnvironmentVariable("VANTREL_GADGETS_INI");
    if (!nomeado.isEmpty())
        return nomeado;
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/TempVUX/ConfigGadGet.Ini");
}

QString ArquivoPrograma()
{
    return ganchos().arquivoPrograma ? ganchos().arquivoPrograma()
                                     : QCoreApplication::applicationFilePath();
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
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/autostart");
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
