#include "platform/tela.h"

#include "platform/mensagens.h"
#include "platform/seams.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <memory>

namespace plataforma {

namespace {

// The window manager's work area (_NET_WORKAREA: the desktop less its
// panels), or an empty rectangle. Qt leaves it out when there is more than
// one monitor.
QRect AreaDeTrabalhoX11()
{
    const auto* x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* conexao = x11 ? x11->connection() : nullptr;
    if (!conexao)
        return QRect();
    static const char NOME[] = "_NET_WORKAREA";
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> atomo(
        xcb_intern_atom_reply(conexao, xcb_intern_atom(conexao, true, sizeof NOME - 1, NOME),
                              nullptr),
        &free);
    const xcb_screen_t* tela = xcb_setup_roots_iterator(xcb_get_setup(conexao)).data;
    if (!atomo || atomo->atom == XCB_ATOM_NONE || !tela)
        return QRect();
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> resposta(
        xcb_get_property_reply(
            conexao,
            xcb_get_property(conexao, false, tela->root, atomo->atom, XCB_ATOM_CARDINAL, 0, 4),
            nullptr),
        &free);
    if (!resposta || resposta->format != 32 || xcb_get_property_value_length(resposta.get()) < 16)
        return QRect();
    const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(resposta.get()));
    return QRect(int(v[0]), int(v[1]), int(v[2]), int(v[3]));
}

} // namespace

QSize TamanhoTela()
{
    if (Ganchos().tamanhoTela)
        return Ganchos().tamanhoTela();
    const QScreen* tela = QGuiApplication::primaryScreen();
    return tela ? tela->geometry().size() : QSize();
}

QList<QRect> AreasDisponiveis()
{
    if (Ganchos().areasDisponiveis)
        return Ganchos().areasDisponiveis();
    if (Ganchos().tamanhoTela)
        return {QRect(QPoint(0, 0), Ganchos().tamanhoTela())};
    const QRect trabalho = AreaDeTrabalhoX11();
    const auto disponivel = [&](const QScreen* tela) {
        const QRect area = tela->availableGeometry() & trabalho;
        return area.isEmpty() ? tela->availableGeometry() : area;
    };
    QList<QRect> areas;
    const QScreen* principal = QGuiApplication::primaryScreen();
    if (principal)
        areas << disponivel(principal);
    for (const QScreen* tela : QGuiApplication::screens())
        if (tela != principal)
            areas << disponivel(tela);
    return areas;
}

QRect AreaDisponivelDe(const QRect& janela)
{
    const QList<QRect> areas = AreasDisponiveis();
    if (areas.isEmpty())
        return QRect();
    QRect melhor = areas.first();
    qint64 maior = 0;
    for (const QRect& area : areas) {
        const QRect comum = area & janela;
        const qint64 tamanho = qint64(comum.width()) * comum.height();
        if (tamanho > maior) {
            maior = tamanho;
            melhor = area;
        }
    }
    return melhor;
}

QPoint PosicaoCursor()
{
    return Ganchos().posicaoCursor ? Ganchos().posicaoCursor() : QCursor::pos();
}

void AoMudarTelas(QObject* contexto, std::function<void()> aoMudar)
{
    // Taking a monitor away moves and resizes the others one signal at a
    // time.
    const auto agendar = [contexto, aoMudar = std::move(aoMudar),
                          pendente = std::make_shared<bool>(false)] {
        if (*pendente)
            return;
        *pendente = true;
        QTimer::singleShot(0, contexto, [aoMudar, pendente] {
            *pendente = false;
            Tratando(aoMudar);
        });
    };
    const auto observar = [contexto, agendar](QScreen* tela) {
        QObject::connect(tela, &QScreen::geometryChanged, contexto, agendar);
        QObject::connect(tela, &QScreen::availableGeometryChanged, contexto, agendar);
    };
    for (QScreen* tela : QGuiApplication::screens())
        observar(tela);
    QObject::connect(qGuiApp, &QGuiApplication::screenAdded, contexto,
                     [observar, agendar](QScreen* tela) {
                         observar(tela);
                         agendar();
                     });
    QObject::connect(qGuiApp, &QGuiApplication::screenRemoved, contexto, agendar);
    QObject::connect(qGuiApp, &QGuiApplication::primaryScreenChanged, contexto, agendar);
}

} // namespace plataforma
