// Tray icon and taskbar hint on freedesktop systems; the window state goes
// through X11 when Qt runs on xcb and is left to Qt::Tool elsewhere.
#include "platform/area_trabalho.h"

#include <QApplication>
#include <QIcon>
#include <QPointer>
#include <QRegion>
#include <QSystemTrayIcon>
#include <QThread>
#include <QWidget>
#include <QWindow>
#include <qguiapplication_platform.h>

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <memory>

namespace plataforma {

namespace {

QPointer<QSystemTrayIcon>& IconeBandeja()
{
    static QPointer<QSystemTrayIcon> icone;
    return icone;
}

QPointer<QWidget>& JanelaRegistrada()
{
    static QPointer<QWidget> janela;
    return janela;
}

xcb_connection_t* ConexaoX11()
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                              : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atomo(xcb_connection_t* conexao, const char* nome)
{
    const auto pedido = xcb_intern_atom(conexao, false, static_cast<uint16_t>(qstrlen(nome)), nome);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> resposta(
        xcb_intern_atom_reply(conexao, pedido, nullptr), &free);
    return resposta ? resposta->atom : xcb_atom_t(XCB_ATOM_NONE);
}

struct EstadosPular {
    xcb_atom_t estado;
    xcb_atom_t barra;
    xcb_atom_t paginador;
};

EstadosPular Estados(xcb_connection_t* conexao)
{
    return {Atomo(conexao, "_NET_WM_STATE"), Atomo(conexao, "_NET_WM_STATE_SKIP_TASKBAR"),
            Atomo(conexao, "_NET_WM_STATE_SKIP_PAGER")};
}

// Before mapping, the state is the window's own property; Qt merges its own
// states into what it finds there when it maps the window.
void MarcarAntesDeMapear(xcb_connection_t* conexao, xcb_window_t janela, const EstadosPular& e)
{
    const auto pedido = xcb_get_property(conexao, false, janela, e.estado, XCB_ATOM_ATOM, 0, 1024);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> resposta(
        xcb_get_property_reply(conexao, pedido, nullptr), &free);
    QList<xcb_atom_t> atomos;
    if (resposta && resposta->type == XCB_ATOM_ATOM && resposta->format == 32) {
        const auto* dados = static_cast<const xcb_atom_t*>(xcb_get_property_value(resposta.get()));
        atomos = QList<xcb_atom_t>(dados, dados + xcb_get_property_value_length(resposta.get()) / 4);
    }
    for (const xcb_atom_t a : {e.barra, e.paginador}) {
        if (!atomos.contains(a))
            atomos.append(a);
    }
    xcb_change_property(conexao, XCB_PROP_MODE_REPLACE, janela, e.estado, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(atomos.size()), atomos.constData());
}

// Once mapped, the window manager owns the state and takes requests for it.
void PedirAoGerenciador(xcb_connection_t* conexao, xcb_window_t janela, const EstadosPular& e)
{
    const auto pedido = xcb_get_geometry(conexao, janela);
    const std::unique_ptr<xcb_get_geometry_reply_t, decltype(&free)> geometria(
        xcb_get_geometry_reply(conexao, pedido, nullptr), &free);
    if (!geometria)
        return;
    xcb_client_message_event_t mensagem{};
    mensagem.response_type = XCB_CLIENT_MESSAGE;
    mensagem.format = 32;
    mensagem.window = janela;
    mensagem.type = e.estado;
    mensagem.data.data32[0] = 1; // _NET_WM_STATE_ADD
    mensagem.data.data32[1] = e.barra;
    mensagem.data.data32[2] = e.paginador;
    mensagem.data.data32[3] = 1; // from an application
    xcb_send_event(conexao, false, geometria->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&mensagem));
}

} // namespace

void MostrarIconeBandeja(QWidget* janela, const QIcon& icone, const QString& dica)
{
    RemoverIconeBandeja();
    auto* novo = new QSystemTrayIcon(icone, janela);
    novo->setToolTip(dica);
    novo->show();
    IconeBandeja() = novo;
}

void RemoverIconeBandeja()
{
    delete IconeBandeja().data();
}

void DefinirJanelaPrincipal(QWidget* janela)
{
    JanelaRegistrada() = janela;
}

QWidget* JanelaPrincipal()
{
    if (JanelaRegistrada())
        return JanelaRegistrada();
    return QApplication::activeWindow();
}

void TirarDaBarraTarefas(QWidget* janela)
{
    // Every refresh of the gadget asks again: once its native window is off
    // the taskbar, hiding and showing it would only make the gadget flicker.
    static WId marcada = 0;
    if (janela->isVisible() && janela->windowType() == Qt::Tool && janela->windowHandle()
        && janela->windowHandle()->winId() == marcada)
        return;

    janela->hide();
    QThread::msleep(125);
    const Qt::WindowFlags tipos = janela->windowFlags();
    if ((tipos & Qt::WindowType_Mask) != Qt::Tool) {
        // Qt stops a tool window's closing from ending the program; closing
        // the main window must still end it.
        const bool encerraAoFechar = janela->testAttribute(Qt::WA_QuitOnClose);
        janela->setWindowFlags((tipos & ~Qt::WindowType_Mask) | Qt::Tool);
        janela->setAttribute(Qt::WA_QuitOnClose, encerraAoFechar);
    }

    xcb_connection_t* conexao = ConexaoX11();
    if (!conexao) {
        janela->show();
        marcada = janela->windowHandle()->winId();
        return;
    }
    const EstadosPular estados = Estados(conexao);
    janela->winId();
    MarcarAntesDeMapear(conexao, static_cast<xcb_window_t>(janela->windowHandle()->winId()),
                        estados);
    janela->show();
    // Showing may have made a new native window (after a change of flags).
    marcada = janela->windowHandle()->winId();
    PedirAoGerenciador(conexao, static_cast<xcb_window_t>(marcada), estados);
    xcb_flush(conexao);
}

void DefinirFormaJanela(QWidget* janela, const QRegion& pixels)
{
    xcb_connection_t* conexao = ConexaoX11();
    if (!conexao || !janela->windowHandle() || !janela->internalWinId())
        return;
    QList<xcb_rectangle_t> retangulos;
    for (const QRect& r : pixels)
        retangulos.append({static_cast<int16_t>(r.x()), static_cast<int16_t>(r.y()),
                           static_cast<uint16_t>(r.width()), static_cast<uint16_t>(r.height())});
    xcb_shape_rectangles(conexao, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING,
                         XCB_CLIP_ORDERING_YX_BANDED, static_cast<xcb_window_t>(janela->internalWinId()),
                         0, 0, static_cast<uint32_t>(retangulos.size()), retangulos.constData());
    xcb_flush(conexao);
}

} // namespace plataforma
