#include "frame/retangulo.h"

#include "frame/agenda_mascara.h"

#include <QGraphicsOpacityEffect>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

TRetangulo::TRetangulo(QWidget* parent)
    : QWidget(parent),
      FPreenchimento(QColor::fromRgba(0xFFE0E0E0)),
      FCorContorno(QColor::fromRgba(0xFF000000)),
      FLarguraContorno(1)
{
    resize(50, 50);
}

void TRetangulo::SetPreenchimento(const QBrush& preenchimento)
{
    FPreenchimento = preenchimento;
    FImagem = QImage();
    FImagemTela = QPixmap();
    MudouForma();
}

void TRetangulo::SetImagem(const QImage& imagem)
{
    FImagem = imagem;
    FImagemTela = QPixmap();
    FPreenchimento = QBrush();
    MudouForma();
}

void TRetangulo::SetContorno(const QColor& cor, qreal largura)
{
    FCorContorno = cor;
    FLarguraContorno = largura;
    MudouForma();
}

void TRetangulo::SetSubstituiOQueCobre(bool substitui)
{
    FSubstitui = substitui;
    update();
}

void TRetangulo::SetRaios(qreal raioX, qreal raioY)
{
    FRaioX = raioX;
    FRaioY = raioY;
    MudouForma();
}

void TRetangulo::MudouForma()
{
    FPixels.clear();
    update();
    AgendaMascara(window());
}

void TRetangulo::setOpacity(qreal opacidade)
{
    FOpacidade = std::clamp(opacidade, 0.0, 1.0);
    // The effect draws the rectangle and its children through an offscreen
    // layer; skip that work while fully opaque.
    if (FOpacidade < 1 && !FEfeito) {
        FEfeito = new QGraphicsOpacityEffect(this);
        setGraphicsEffect(FEfeito);
    }
    if (FEfeito) {
        FEfeito->setOpacity(FOpacidade);
        FEfeito->setEnabled(FOpacidade < 1);
    }
}

bool TRetangulo::PintaAlgo() const
{
    const bool preenche = !FImagem.isNull()
                          || (FPreenchimento.style() != Qt::NoBrush
                              && (FPreenchimento.gradient() || FPreenchimento.color().alpha() > 0));
    const bool contorna = FLarguraContorno > 0 && FCorContorno.alpha() > 0;
    return preenche || contorna;
}

QPainterPath TRetangulo::Forma() const
{
    const bool contorna = FLarguraContorno > 0 && FCorContorno.alpha() > 0;
    const qreal meio = contorna ? FLarguraContorno / 2 : 0;
    const QRectF area = QRectF(rect()).adjusted(meio, meio, -meio, -meio);
    QPainterPath forma;
    if (FRaioX > 0 && FRaioY > 0)
        forma.addRoundedRect(area, FRaioX, FRaioY);
    else
        forma.addRect(area);
    return forma;
}

QRegion TRetangulo::PixelsPintados(qreal Escala) const
{
    if (const auto guardado = FPixels.constFind(Escala); guardado != FPixels.cend())
        return *guardado;
    if (!PintaAlgo())
        return {};
    QImage imagem(size() * Escala, QImage::Format_ARGB32_Premultiplied);
    imagem.setDevicePixelRatio(Escala);
    imagem.fill(Qt::transparent);
    {
        QPainter pintor(&imagem);
        Pinta(pintor);
    }
    // Runs of opaque enough pixels, row by row, in the order QRegion keeps.
    QList<QRect> linhas;
    for (int y = 0; y < imagem.height(); ++y) {
        const auto* linha = reinterpret_cast<const QRgb*>(imagem.constScanLine(y));
        int inicio = -1;
        for (int x = 0; x <= imagem.width(); ++x) {
            const bool dentro = x < imagem.width() && qAlpha(linha[x]) >= 192;
            if (dentro && inicio < 0)
                inicio = x;
            if (!dentro && inicio >= 0) {
                linhas << QRect(inicio, y, x - inicio, 1);
                inicio = -1;
            }
        }
    }
    QRegion pixels;
    pixels.setRects(linhas.constData(), int(linhas.size()));
    FPixels.insert(Escala, pixels);
    return pixels;
}

void TRetangulo::paintEvent(QPaintEvent*)
{
    if (!PintaAlgo())
        return;
    QPainter pintor(this);
    Pinta(pintor);
}

void TRetangulo::Pinta(QPainter& pintor) const
{
    // In whole device pixels when replacing: a pixel that two overlapping
    // rectangles each half covered would take both.
    pintor.setRenderHint(QPainter::Antialiasing, !FSubstitui);
    if (FSubstitui)
        pintor.setCompositionMode(QPainter::CompositionMode_Source);
    const QPainterPath forma = Forma();
    if (!FImagem.isNull()) {
        if (FImagemTela.isNull())
            FImagemTela = QPixmap::fromImage(FImagem);
        pintor.save();
        pintor.setClipPath(forma);
        pintor.drawTiledPixmap(rect(), FImagemTela);
        pintor.restore();
    } else if (FPreenchimento.style() != Qt::NoBrush) {
        pintor.fillPath(forma, FPreenchimento);
    }
    if (FLarguraContorno > 0 && FCorContorno.alpha() > 0)
        pintor.strokePath(forma, QPen(FCorContorno, FLarguraContorno));
}

// The host's input mask follows every rectangle that moves, resizes, shows
// or hides.
void TRetangulo::moveEvent(QMoveEvent* evento)
{
    QWidget::moveEvent(evento);
    AgendaMascara(window());
}

void TRetangulo::resizeEvent(QResizeEvent* evento)
{
    QWidget::resizeEvent(evento);
    FPixels.clear();
    AgendaMascara(window());
}

void TRetangulo::showEvent(QShowEvent* evento)
{
    QWidget::showEvent(evento);
    AgendaMascara(window());
}

void TRetangulo::hideEvent(QHideEvent* evento)
{
    QWidget::hideEvent(evento);
    AgendaMascara(window());
}
