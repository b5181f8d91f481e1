#include "shell/aplicacao.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

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

// The program's own application object, so that an error escaping a handler
// ends in its report, which the tests read through the message sink.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The sales gadget registers itself to start at log-on: keep that in here.
    QTemporaryDir xdg;
    qputenv("XDG_CONFIG_HOME", xdg.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_CONFIG_DIRS", xdg.filePath(QStringLiteral("xdg")).toLocal8Bit());
    anterior = qInstallMessageHandler(Mensagem);
    TAplicacao aplicacao(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
