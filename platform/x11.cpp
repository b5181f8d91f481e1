#include "platform/x11.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <qguiapplication_platform.h>

#include <memory>

namespace plataforma {

xcb_connection_t* ConexaoX11()
{
    const auto* x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t JanelaX(QWidget* janela)
{
    QWindow* nativa = janela->windowHandle();
    return nativa ? static_cast<xcb_window_t>(nativa->winId()) : xcb_window_t(XCB_WINDOW_NONE);
}

xcb_atom_t Atomo(xcb_connection_t* conexao, const char* nome)
{
    const auto pedido = xcb_intern_atom(conexao, false, static_cast<uint16_t>(qstrlen(nome)), nome);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> resposta(
        xcb_intern_atom_reply(conexao, pedido, nullptr), &free);
    return resposta ? resposta->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace plataforma
