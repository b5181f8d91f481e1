// Runs the tests inside the program's own application object, so that an
// error escaping a handler or a timer tick is reported the program's way.

#include "shell/aplicacao.h"
#include "tests/sales/aplicacao_teste.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QtMessageHandler anterior = nullptr;

// The offscreen platform warns at every change of the host's mask, and the
// tray icon has no tray to go to.
void Mensagem(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto)
{
    if (texto.startsWith(QLatin1String("This plugin does not support"))
        || texto.startsWith(QLatin1String("QSystemTrayIcon"))
        || texto.contains(QLatin1String("systemTrayWindowChanged")))
        return;
    anterior(tipo, contexto, texto);
}

} // namespace

// The sales gadget's fixture clears this list of errors its own test
// application collects; here errors go to the boxes instead, so it stays empty.
QStringList& ErrosRelatados()
{
    static QStringList erros;
    return erros;
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The gadget registers itself to start at log-on: keep that in here.
    QTemporaryDir xdg;
    qputenv("XDG_CONFIG_HOME", xdg.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_CONFIG_DIRS", xdg.filePath(QStringLiteral("xdg")).toLocal8Bit());
    anterior = qInstallMessageHandler(Mensagem);
    TAplicacao aplicacao(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
