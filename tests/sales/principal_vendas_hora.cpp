#include "tests/sales/aplicacao_teste.h"

#include "platform/erro.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Like the program's application: an error that escapes a handler ends up in
// one place and the event loop goes on.
class AplicacaoTeste : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const Erro& erro) {
            ErrosRelatados() << erro.texto();
        } catch (const std::exception& erro) {
            ErrosRelatados() << QString::fromLocal8Bit(erro.what());
        }
        return false;
    }
};

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
    AplicacaoTeste aplicacao(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
