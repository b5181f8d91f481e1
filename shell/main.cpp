#include "platform/icone_programa.h"
#include "platform/mensagens.h"
#include "platform/sinais.h"
#include "shell/aplicacao.h"
#include "shell/host_window.h"

#include <QByteArray>

int main(int argc, char** argv)
{
    // Qt on Wayland cannot place windows or keep them on top; the gadget
    // relies on both, so it runs on XWayland when that is there.
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") && qEnvironmentVariableIsSet("DISPLAY")
        && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));

    TAplicacao app(argc, argv);
    QApplication::setWindowIcon(plataforma::IconePrograma());
    std::unique_ptr<TfrmVendasHora> janela;
    try {
        janela = std::make_unique<TfrmVendasHora>();
    } catch (...) {
        // The host window could not be made (the configuration file could
        // not be written): report it and end.
        plataforma::MostrarErro(std::current_exception());
        return 1;
    }
    plataforma::EncerrarComSinais();
    janela->show();
    return app.exec();
}
