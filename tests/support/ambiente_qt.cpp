#include "tests/support/ambiente_qt.h"

#include <QTemporaryDir>
#include <QtGlobal>

namespace {

QtMessageHandler anterior = nullptr;

// The offscreen platform warns at every change of the host's mask, the tray
// icon has no tray to go to, and a click whose handler failed reads as not
// accepted.
void Mensagem(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto)
{
    if (texto.startsWith(QLatin1String("This plugin does not support"))
        || texto.startsWith(QLatin1String("QSystemTrayIcon"))
        || texto.contains(QLatin1String("systemTrayWindowChanged"))
        || texto.contains(QLatin1String("not accepted by receiving widget")))
        return;
    anterior(tipo, contexto, texto);
}

} // namespace

void PrepararAmbienteQt(const QTemporaryDir& pasta)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", pasta.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_CONFIG_DIRS", pasta.filePath(QStringLiteral("xdg")).toLocal8Bit());
    anterior = qInstallMessageHandler(Mensagem);
}
