// The main of the widget tests: the program's own application object, so that
// an error reaches the boxes the program's way; the offscreen platform when
// there is no display (also when CTest lists the tests at build time); the
// autostart folders in a temporary folder, since the gadget registers itself.
#include "tests/principal_qt.h"

#include "platform/seams.h"
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

QStringList& ErrosRelatados()
{
    static QStringList erros;
    return erros;
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir xdg;
    qputenv("XDG_CONFIG_HOME", xdg.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_CONFIG_DIRS", xdg.filePath(QStringLiteral("xdg")).toLocal8Bit());
    anterior = qInstallMessageHandler(Mensagem);
    plataforma::ganchos().mensagem = [](plataforma::Caixa, const QString& texto) {
        ErrosRelatados() << texto;
    };
    TAplicacao aplicacao(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
