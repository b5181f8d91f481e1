#include <QApplication>
#include <gtest/gtest.h>

namespace {

QtMessageHandler anterior = nullptr;

// The offscreen platform keeps the host's mask but warns at every change.
void Mensagem(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto)
{
    if (texto == QLatin1String("This plugin does not support setting window masks"))
        return;
    anterior(tipo, contexto, texto);
}

} // namespace

// Widget tests need an application object; without a display they run on
// the offscreen platform (also when CTest lists them at build time).
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    anterior = qInstallMessageHandler(Mensagem);
    QApplication aplicacao(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
