#include "frame/mascara.h"

#include "frame/agenda_mascara.h"
#include "frame/retangulo.h"
#include "platform/area_trabalho.h"

#include <QPainterPath>
#include <QRegion>
#include <QWindow>
#include <QtMath>

namespace {

void SetTransparenteAEntrada(QWidget* host, bool transparente)
{
    const Qt::WindowFlags atuais = host->windowFlags();
    if (atuais.testFlag(Qt::WindowTransparentForInput) == transparente)
        return;
    // QWidget::setWindowFlags would hide and recreate the window; the flag
    // alone can change on the live native window.
    host->overrideWindowFlags(atuais ^ Qt::WindowTransparentForInput);
    if (QWindow* janela = host->windowHandle())
        janela->setFlag(Qt::WindowTransparentForInput, transparente);
}

QRegion CobreEmPixelsLogicos(const QRegion& pixels, qreal escala)
{
    QRegion logica;
    for (const QRect& r : pixels)
        logica += QRect(
            QPoint(qFloor(r.left() / escala), qFloor(r.top() / escala)),
            QPoint(qCeil((r.right() + 1) / escala) - 1, qCeil((r.bottom() + 1) / escala) - 1));
    return logica;
}

} // namespace

QRegion RegiaoVisivel(const QWidget* host, qreal Escala)
{
    const auto emPixels = [Escala](const QRect& r) {
        return QRect(QPoint(qRound(r.left() * Escala), qRound(r.top() * Escala)),
                     QSize(qRound(r.width() * Escala), qRound(r.height() * Escala)));
    };
    QRegion regiao;
    const auto retangulos = host->findChildren<TRetangulo*>();
    for (const TRetangulo* r : retangulos) {
        // The dialogs that the host owns are windows of their own.
        if (r->window() != host || !r->isVisibleTo(host) || !r->PintaAlgo())
            continue;
        const QPoint origem = emPixels(QRect(r->mapTo(host, QPoint(0, 0)), QSize())).topLeft();
        QRegion parte = r->PixelsPintados(Escala).translated(origem);
        // A child shows only inside its ancestors.
        for (const QWidget* p = r->parentWidget(); p && p != host; p = p->parentWidget())
            parte &= emPixels(QRect(p->mapTo(host, QPoint(0, 0)), p->size()));
        regiao += parte;
    }
    return regiao;
}

void AtualizaMascara(QWidget* host)
{
    InstalaAgendaMascara(host, AtualizaMascara);
    const QRegion regiao = RegiaoVisivel(host);
    if (regiao.isEmpty()) {
        host->clearMask();
        SetTransparenteAEntrada(host, true);
        return;
    }
    // Qt sets the whole window taking input when the flag goes.
    SetTransparenteAEntrada(host, false);
    const qreal escala = host->devicePixelRatioF();
    if (plataforma::ComposicaoAtiva()) {
        // The compositor blends the see-through pixels, rounded corners
        // included; a shape would cut them into steps. Only the pointer keeps
        // to what is painted.
        host->clearMask();
        plataforma::DefinirEntradaJanela(host, RegiaoVisivel(host, escala));
        return;
    }
    plataforma::DefinirEntradaJanela(host, QRegion());
    // Qt scales a mask in whole logical pixels: at 2 device pixels each,
    // rounded corners would turn into steps of 2. The window gets the shape
    // in its own pixels, and Qt, which also clips painting to the mask, every
    // logical pixel that holds part of it.
    if (escala == 1) {
        host->setMask(regiao);
    } else {
        const QRegion pixels = RegiaoVisivel(host, escala);
        host->setMask(CobreEmPixelsLogicos(pixels, escala));
        plataforma::DefinirFormaJanela(host, pixels);
    }
}
