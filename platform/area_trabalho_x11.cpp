// The window state on freedesktop systems: through X11 when Qt runs on xcb,
// left to Qt::Tool elsewhere.
#include "platform/area_trabalho.h"

#include "platform/mensagens.h"
#include "platform/x11.h"

#include <QApplication>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <memory>

namespace plataforma {

namespace {

QPointer<QWidget>& JanelaRegistrada()
{
    static QPointer<QWidget> janela;
    return janela;
}

struct TEstadosPular {
    xcb_atom_t estado;
    xcb_atom_t barra;
    xcb_atom_t paginador;
    xcb_atom_t fixa;
    xcb_atom_t areaDeTrabalho;
};

TEstadosPular Estados(xcb_connection_t* conexao)
{
    return {Atomo(conexao, "_NET_WM_STATE"), Atomo(conexao, "_NET_WM_STATE_SKIP_TASKBAR"),
            Atomo(conexao, "_NET_WM_STATE_SKIP_PAGER"), Atomo(conexao, "_NET_WM_STATE_STICKY"),
            Atomo(conexao, "_NET_WM_DESKTOP")};
}

// _NET_WM_DESKTOP's value for "on every workspace".
constexpr uint32_t TODAS_AS_AREAS = 0xFFFFFFFF;

xcb_window_t Raiz(xcb_connection_t* conexao, xcb_window_t janela)
{
    const auto pedido = xcb_get_geometry(conexao, janela);
    const std::unique_ptr<xcb_get_geometry_reply_t, decltype(&free)> geometria(
        xcb_get_geometry_reply(conexao, pedido, nullptr), &free);
    return geometria ? geometria->root : xcb_window_t(XCB_WINDOW_NONE);
}

void EnviarAoGerenciador(xcb_connection_t* conexao, xcb_window_t raiz, xcb_window_t janela,
                         xcb_atom_t tipo, std::initializer_list<uint32_t> dados)
{
    xcb_client_message_event_t mensagem{};
    mensagem.response_type = XCB_CLIENT_MESSAGE;
    mensagem.format = 32;
    mensagem.window = janela;
    mensagem.type = tipo;
    int i = 0;
    for (const uint32_t d : dados)
        mensagem.data.data32[i++] = d;
    xcb_send_event(conexao, false, raiz,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&mensagem));
}

// Whether the window manager is showing the desktop (_NET_SHOWING_DESKTOP).
bool MostrandoAreaDeTrabalho(xcb_connection_t* conexao, xcb_window_t raiz)
{
    const xcb_atom_t atomo = Atomo(conexao, "_NET_SHOWING_DESKTOP");
    const auto pedido = xcb_get_property(conexao, false, raiz, atomo, XCB_ATOM_CARDINAL, 0, 1);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> resposta(
        xcb_get_property_reply(conexao, pedido, nullptr), &free);
    return resposta && resposta->format == 32 && xcb_get_property_value_length(resposta.get()) >= 4
           && *static_cast<const uint32_t*>(xcb_get_property_value(resposta.get())) != 0;
}

// Before mapping, the state is the window's own property; Qt merges its own
// states into what it finds there when it maps the window.
void MarcarAntesDeMapear(xcb_connection_t* conexao, xcb_window_t janela, const TEstadosPular& e)
{
    const auto pedido = xcb_get_property(conexao, false, janela, e.estado, XCB_ATOM_ATOM, 0, 1024);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> resposta(
        xcb_get_property_reply(conexao, pedido, nullptr), &free);
    QList<xcb_atom_t> atomos;
    if (resposta && resposta->type == XCB_ATOM_ATOM && resposta->format == 32) {
        const auto* dados = static_cast<const xcb_atom_t*>(xcb_get_property_value(resposta.get()));
        atomos =
            QList<xcb_atom_t>(dados, dados + xcb_get_property_value_length(resposta.get()) / 4);
    }
    for (const xcb_atom_t a : {e.barra, e.paginador, e.fixa}) {
        if (!atomos.contains(a))
            atomos.append(a);
    }
    xcb_change_property(conexao, XCB_PROP_MODE_REPLACE, janela, e.estado, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(atomos.size()), atomos.constData());
    xcb_change_property(conexao, XCB_PROP_MODE_REPLACE, janela, e.areaDeTrabalho, XCB_ATOM_CARDINAL,
                        32, 1, &TODAS_AS_AREAS);
}

// Once mapped, the window manager owns the state and takes requests for it
// (the last 1: from an application).
void PedirAoGerenciador(xcb_connection_t* conexao, xcb_window_t janela, const TEstadosPular& e)
{
    const xcb_window_t raiz = Raiz(conexao, janela);
    if (raiz == XCB_WINDOW_NONE)
        return;
    constexpr uint32_t ACRESCENTAR = 1;
    EnviarAoGerenciador(conexao, raiz, janela, e.estado, {ACRESCENTAR, e.barra, e.paginador, 1});
    EnviarAoGerenciador(conexao, raiz, janela, e.estado, {ACRESCENTAR, e.fixa, 0, 1});
    EnviarAoGerenciador(conexao, raiz, janela, e.areaDeTrabalho, {TODAS_AS_AREAS, 1});
}

// Qt's xcb plugin puts the window kinds that this property of a QWindow
// names first in every _NET_WM_WINDOW_TYPE it writes; 0x40 is its splash.
const char* const TIPOS_JANELA_QT = "_q_xcb_wm_window_type";
constexpr int SPLASH_QT = 0x40;

// The layer DefinirCamada chose for a window, and whether Restaurar brought
// it from the desktop to the front for a while. Lives on the window.
class TCamadaDaJanela : public QObject {
public:
    explicit TCamadaDaJanela(QWidget* janela) : QObject(janela), FJanela(janela)
    {
        // Back to the desktop once the user turns to another program.
        connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState estado) {
                    Tratando([&] {
                        if (estado != Qt::ApplicationActive && FNaFrente) {
                            FNaFrente = false;
                            Aplicar();
                        }
                    });
                });
    }

    void Definir(TCamada camada)
    {
        if (camada != FCamada)
            FNaFrente = false;
        FCamada = camada;
        Aplicar();
    }

    void TrazerAFrente()
    {
        if (FCamada != TCamada::AreaDeTrabalho)
            return;
        FNaFrente = true;
        Aplicar();
    }

private:
    void Aplicar()
    {
        Qt::WindowFlags flags = FJanela->windowFlags();
        flags.setFlag(Qt::WindowStaysOnTopHint, FCamada == TCamada::Topo);
        flags.setFlag(Qt::WindowStaysOnBottomHint,
                      FCamada == TCamada::AreaDeTrabalho && !FNaFrente);
        if (flags == FJanela->windowFlags())
            return;
        // QWidget::setWindowFlags would hide the window and may make a new
        // native one; the live window takes the change as it is.
        FJanela->overrideWindowFlags(flags);
        if (QWindow* nativa = FJanela->windowHandle())
            nativa->setFlags(flags);
    }

    QWidget* FJanela;
    TCamada FCamada = TCamada::Topo;
    bool FNaFrente = false;
};

TCamadaDaJanela* CamadaDe(const QWidget* janela)
{
    for (QObject* filho : janela->children())
        if (auto* camada = dynamic_cast<TCamadaDaJanela*>(filho))
            return camada;
    return nullptr;
}

} // namespace

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
    const TEstadosPular estados = Estados(conexao);
    janela->winId();
    MarcarAntesDeMapear(conexao, static_cast<xcb_window_t>(janela->windowHandle()->winId()),
                        estados);
    janela->show();
    // Showing may have made a new native window (after a change of flags).
    marcada = janela->windowHandle()->winId();
    PedirAoGerenciador(conexao, static_cast<xcb_window_t>(marcada), estados);
    xcb_flush(conexao);
}

void ForaDaBarraAoMostrar(QWidget* janela)
{
    xcb_connection_t* conexao = ConexaoX11();
    if (!conexao || janela->isVisible())
        return;
    janela->winId();
    MarcarAntesDeMapear(conexao, static_cast<xcb_window_t>(janela->windowHandle()->winId()),
                        Estados(conexao));
    xcb_flush(conexao);
}

// Openbox leaves only desktop, dock and splash windows on view when it shows
// the desktop (xfwm4 leaves every window that skips the taskbar). A desktop
// window ends up under a file manager's desktop as soon as that is clicked,
// and a dock that is asked to stay below stays among ordinary windows; a
// splash window goes below them, and both window managers focus it on a
// click and move it where the program asks.
void MarcarComoGadget(QWidget* janela)
{
    xcb_connection_t* conexao = ConexaoX11();
    if (!conexao)
        return;
    janela->winId();
    janela->windowHandle()->setProperty(TIPOS_JANELA_QT, SPLASH_QT);
    // Qt writes the kinds again whenever the window's flags change; until
    // then they are these.
    const xcb_atom_t tipos[] = {Atomo(conexao, "_NET_WM_WINDOW_TYPE_SPLASH"),
                                Atomo(conexao, "_NET_WM_WINDOW_TYPE_NORMAL")};
    xcb_change_property(conexao, XCB_PROP_MODE_REPLACE, JanelaX(janela),
                        Atomo(conexao, "_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, 2, tipos);
    xcb_flush(conexao);
}

void DefinirCamada(QWidget* janela, TCamada camada)
{
    TCamadaDaJanela* atual = CamadaDe(janela);
    if (!atual)
        atual = new TCamadaDaJanela(janela);
    atual->Definir(camada);
}

void Restaurar(QWidget* janela)
{
    janela->showNormal();
    if (TCamadaDaJanela* camada = CamadaDe(janela))
        camada->TrazerAFrente();
    janela->raise();
    xcb_connection_t* conexao = ConexaoX11();
    if (!conexao || !janela->windowHandle()) {
        janela->activateWindow();
        return;
    }
    // A window that show-desktop hid is, for Qt, still shown: Qt would only
    // activate it once mapped again. The window manager maps it on request;
    // 2 says the user asked for it (here, with a click on the tray icon).
    const xcb_window_t janelaX = JanelaX(janela);
    const xcb_window_t raiz = Raiz(conexao, janelaX);
    if (raiz == XCB_WINDOW_NONE)
        return;
    EnviarAoGerenciador(conexao, raiz, janelaX, Atomo(conexao, "_NET_ACTIVE_WINDOW"),
                        {2, XCB_CURRENT_TIME, 0});
    xcb_flush(conexao);
}

void AoSairDoMinimizado(QWidget* janela, std::function<void()> restaurar)
{
    xcb_connection_t* conexao = ConexaoX11();
    const xcb_window_t raiz = conexao && janela->windowHandle() ? Raiz(conexao, JanelaX(janela))
                                                                : xcb_window_t(XCB_WINDOW_NONE);
    // No event tells a client that the desktop is no longer shown: ask a few
    // times a second while minimised.
    static const QString NOME_ESPERA = QStringLiteral("esperaAreaDeTrabalho");
    if (janela->findChild<QTimer*>(NOME_ESPERA, Qt::FindDirectChildrenOnly))
        return;
    auto* espera = new QTimer(janela);
    espera->setObjectName(NOME_ESPERA);
    espera->setInterval(250);
    QObject::connect(espera, &QTimer::timeout, janela, [=] {
        Tratando([&] {
            if (!janela->isMinimized()) {
                espera->deleteLater();
                return;
            }
            if (raiz != XCB_WINDOW_NONE && MostrandoAreaDeTrabalho(conexao, raiz))
                return;
            espera->deleteLater();
            restaurar();
        });
    });
    espera->start();
}

} // namespace plataforma
