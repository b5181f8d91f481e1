// Window shapes and the compositing manager on X11, through the X shape
// extension; without xcb the routines do nothing.
#include "platform/area_trabalho.h"

#include "platform/mensagens.h"
#include "platform/x11.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QList>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <memory>

namespace plataforma {

namespace {

QList<xcb_rectangle_t> Retangulos(const QRegion& regiao)
{
    QList<xcb_rectangle_t> retangulos;
    for (const QRect& r : regiao)
        retangulos.append({static_cast<int16_t>(r.x()), static_cast<int16_t>(r.y()),
                           static_cast<uint16_t>(r.width()), static_cast<uint16_t>(r.height())});
    return retangulos;
}

// Whether some screen of the display has a compositing manager: the owner of
// its _NET_WM_CM_Sn selection.
bool TemComposicao(xcb_connection_t* conexao)
{
    const int telas = xcb_setup_roots_length(xcb_get_setup(conexao));
    for (int n = 0; n < telas; ++n) {
        const QByteArray nome = "_NET_WM_CM_S" + QByteArray::number(n);
        const auto pedido = xcb_get_selection_owner(conexao, Atomo(conexao, nome.constData()));
        const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&free)> dono(
            xcb_get_selection_owner_reply(conexao, pedido, nullptr), &free);
        if (dono && dono->owner != XCB_WINDOW_NONE)
            return true;
    }
    return false;
}

// Qt asks the X server (through XFixes) to tell it when a compositing
// manager takes or leaves its selection; this sees the same events.
class TObservaComposicao : public QObject, public QAbstractNativeEventFilter {
public:
    TObservaComposicao(QObject* contexto, xcb_connection_t* conexao, std::function<void()> aoMudar)
        : QObject(contexto),
          FConexao(conexao),
          FAtiva(TemComposicao(conexao)),
          FAoMudar(std::move(aoMudar))
    {
        static const char NOME[] = "XFIXES";
        const auto pedido = xcb_query_extension(conexao, sizeof NOME - 1, NOME);
        const std::unique_ptr<xcb_query_extension_reply_t, decltype(&free)> extensao(
            xcb_query_extension_reply(conexao, pedido, nullptr), &free);
        if (extensao && extensao->present)
            FEventoSelecao = extensao->first_event; // XFixesSelectionNotify
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    ~TObservaComposicao() override { QCoreApplication::instance()->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray& tipo, void* mensagem, qintptr*) override
    {
        if (FEventoSelecao < 0 || tipo != QByteArrayLiteral("xcb_generic_event_t"))
            return false;
        const auto* evento = static_cast<const xcb_generic_event_t*>(mensagem);
        if ((evento->response_type & 0x7F) != FEventoSelecao)
            return false;
        const bool ativa = TemComposicao(FConexao);
        if (ativa != FAtiva) {
            FAtiva = ativa;
            // Not from inside Qt's event handling.
            QTimer::singleShot(0, this, [this] { Tratando(FAoMudar); });
        }
        return false;
    }

private:
    xcb_connection_t* FConexao;
    int FEventoSelecao = -1;
    bool FAtiva;
    std::function<void()> FAoMudar;
};

} // namespace

void DefinirFormaJanela(QWidget* janela, const QRegion& pixels)
{
    xcb_connection_t* conexao = ConexaoX11();
    if (!conexao || !janela->windowHandle())
        return;
    const QList<xcb_rectangle_t> retangulos = Retangulos(pixels);
    xcb_shape_rectangles(conexao, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING,
                         XCB_CLIP_ORDERING_YX_BANDED, JanelaX(janela), 0, 0,
                         static_cast<uint32_t>(retangulos.size()), retangulos.constData());
    xcb_flush(conexao);
}

void DefinirEntradaJanela(QWidget* janela, const QRegion& pixels)
{
    xcb_connection_t* conexao = ConexaoX11();
    if (!conexao || !janela->windowHandle())
        return;
    if (pixels.isEmpty()) {
        xcb_shape_mask(conexao, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, JanelaX(janela), 0, 0,
                       XCB_PIXMAP_NONE);
    } else {
        const QList<xcb_rectangle_t> retangulos = Retangulos(pixels);
        xcb_shape_rectangles(conexao, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT,
                             XCB_CLIP_ORDERING_YX_BANDED, JanelaX(janela), 0, 0,
                             static_cast<uint32_t>(retangulos.size()), retangulos.constData());
    }
    xcb_flush(conexao);
}

bool ComposicaoAtiva()
{
    xcb_connection_t* conexao = ConexaoX11();
    return conexao && TemComposicao(conexao);
}

void AoMudarComposicao(QObject* contexto, std::function<void()> aoMudar)
{
    if (xcb_connection_t* conexao = ConexaoX11())
        new TObservaComposicao(contexto, conexao, std::move(aoMudar));
}

} // namespace plataforma
