#include "frame/imagens_icones.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace {

constexpr int LADO = 23;
constexpr qreal RAIO = 5;
const QColor CINZA = QColor::fromRgba(0xFF808080);
const QColor BORDA = QColor::fromRgba(0xD05D5D5D);
const QColor BRANCO = QColor::fromRgba(0xFFFFFFFF);

enum class TPosicao { Topo, Meio, Base };

QImage NovaImagem(QSize tamanho, qreal escala)
{
    QImage imagem(tamanho * escala, QImage::Format_ARGB32_Premultiplied);
    imagem.setDevicePixelRatio(escala);
    imagem.fill(Qt::transparent);
    return imagem;
}

// A rectangle with only its top or only its bottom corners rounded.
QPainterPath Contorno(const QRectF& r, qreal raio, TPosicao posicao)
{
    const qreal cima = posicao == TPosicao::Topo ? raio : 0;
    const qreal baixo = posicao == TPosicao::Base ? raio : 0;
    QPainterPath p;
    p.moveTo(r.left(), r.top() + cima);
    if (cima > 0)
        p.arcTo(QRectF(r.left(), r.top(), 2 * cima, 2 * cima), 180, -90);
    p.lineTo(r.right() - cima, r.top());
    if (cima > 0)
        p.arcTo(QRectF(r.right() - 2 * cima, r.top(), 2 * cima, 2 * cima), 90, -90);
    p.lineTo(r.right(), r.bottom() - baixo);
    if (baixo > 0)
        p.arcTo(QRectF(r.right() - 2 * baixo, r.bottom() - 2 * baixo, 2 * baixo, 2 * baixo), 0,
                -90);
    p.lineTo(r.left() + baixo, r.bottom());
    if (baixo > 0)
        p.arcTo(QRectF(r.left(), r.bottom() - 2 * baixo, 2 * baixo, 2 * baixo), 270, -90);
    p.closeSubpath();
    return p;
}

QImage Ladrilho(qreal escala, TPosicao posicao, const std::function<void(QPainter&)>& simbolo)
{
    QImage imagem = NovaImagem(QSize(LADO, LADO), escala);
    QPainter pintor(&imagem);
    pintor.setRenderHint(QPainter::Antialiasing);
    pintor.setCompositionMode(QPainter::CompositionMode_Source);
    const QRectF todo(0, 0, LADO, LADO);
    pintor.fillPath(Contorno(todo, RAIO, posicao), BORDA);
    QRectF miolo = todo.adjusted(1, 1, -1, -1);
    // Rows 0 and 1 lie over the tile above, whose bottom edge they cover
    // with grey; the side edges run on, drawn by this tile alone.
    if (posicao != TPosicao::Topo)
        miolo.setTop(0);
    pintor.fillPath(Contorno(miolo, RAIO - 1, posicao), CINZA);
    pintor.setCompositionMode(QPainter::CompositionMode_SourceOver);
    simbolo(pintor);
    return imagem;
}

QPen Traco(qreal largura)
{
    return QPen(BRANCO, largura, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Xis(QPainter& p)
{
    p.setPen(Traco(2));
    p.drawLine(QPointF(7.5, 7.5), QPointF(15.5, 15.5));
    p.drawLine(QPointF(15.5, 7.5), QPointF(7.5, 15.5));
}

void Moldura(QPainter& p)
{
    p.setPen(Traco(1.4));
    p.drawPolyline(QPolygonF({QPointF(11, 8.5), QPointF(5.5, 8.5), QPointF(5.5, 17.5),
                              QPointF(14.5, 17.5), QPointF(14.5, 12)}));
}

void SetaParaFora(QPainter& p)
{
    Moldura(p);
    p.setPen(Traco(1.6));
    p.drawLine(QPointF(10, 13), QPointF(17.5, 5.5));
    p.drawPolyline(QPolygonF({QPointF(13, 5.5), QPointF(17.5, 5.5), QPointF(17.5, 10)}));
}

void SetaParaDentro(QPainter& p)
{
    Moldura(p);
    p.setPen(Traco(1.6));
    p.drawLine(QPointF(17.5, 5.5), QPointF(10, 13));
    p.drawPolyline(QPolygonF({QPointF(10, 8.5), QPointF(10, 13), QPointF(14.5, 13)}));
}

void ChaveInglesa(QPainter& p)
{
    p.setPen(Traco(3));
    p.drawLine(QPointF(6.5, 16.5), QPointF(12.5, 10.5));
    p.setPen(Qt::NoPen);
    p.setBrush(BRANCO);
    p.drawEllipse(QPointF(14, 9), 4, 4);
    // The jaw: the head's opening, in the tile's grey.
    p.setBrush(CINZA);
    p.drawEllipse(QPointF(16.2, 6.8), 2, 2);
    p.drawPolygon(
        QPolygonF({QPointF(15.5, 5.2), QPointF(17.8, 7.5), QPointF(20, 5.3), QPointF(17.7, 3)}));
}

void Interrogacao(QPainter& p)
{
    QPainterPath curva;
    const QRectF arco(8, 4.5, 7, 7);
    curva.arcMoveTo(arco, 160);
    curva.arcTo(arco, 160, -250);
    curva.lineTo(11.5, 14);
    p.setPen(Traco(2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curva);
    p.setPen(Qt::NoPen);
    p.setBrush(BRANCO);
    p.drawEllipse(QPointF(11.5, 17.5), 1.3, 1.3);
}

void Pegador(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(BRANCO);
    for (qreal x : {8.5, 11.5, 14.5})
        for (qreal y : {7.0, 10.0, 13.0, 16.0})
            p.drawEllipse(QPointF(x, y), 1.25, 1.25);
}

constexpr QSizeF TAMANHO_LOGO(53, 17);

} // namespace

QImage LogoVUX(const QSizeF& Tamanho, qreal Escala)
{
    QImage imagem(qRound(Tamanho.width() * Escala), qRound(Tamanho.height() * Escala),
                  QImage::Format_ARGB32_Premultiplied);
    imagem.setDevicePixelRatio(Escala);
    imagem.fill(Qt::transparent);
    QPainter p(&imagem);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn in the logo's own 53 x 17 units, whatever the size asked for.
    p.scale(imagem.width() / (TAMANHO_LOGO.width() * Escala),
            imagem.height() / (TAMANHO_LOGO.height() * Escala));
    const QPen letra(QColor::fromRgba(0xFF1F4E9A), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(letra);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(2.5, 2.5), QPointF(8, 14.5), QPointF(13.5, 2.5)}));
    QPainterPath u;
    u.moveTo(18, 2.5);
    u.lineTo(18, 9.5);
    u.arcTo(QRectF(18, 4.5, 10, 10), 180, 180);
    u.lineTo(28, 2.5);
    p.drawPath(u);
    p.drawLine(QPointF(33, 2.5), QPointF(43, 14.5));
    p.drawLine(QPointF(43, 2.5), QPointF(33, 14.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgba(0xFFF08A24));
    p.drawPolygon(
        QPolygonF({QPointF(48.5, 8.5), QPointF(51, 6), QPointF(53, 8.5), QPointF(51, 11)}));
    return imagem;
}

TImagensIcones::TImagensIcones(qreal Escala)
    : imgIcoFechar(Ladrilho(Escala, TPosicao::Topo, Xis)),
      imgIcoMax(Ladrilho(Escala, TPosicao::Meio, SetaParaFora)),
      imgIcoMin(Ladrilho(Escala, TPosicao::Meio, SetaParaDentro)),
      imgIcoConfig(Ladrilho(Escala, TPosicao::Meio, ChaveInglesa)),
      imgIcoAbout(Ladrilho(Escala, TPosicao::Meio, Interrogacao)),
      imgIcoMover(Ladrilho(Escala, TPosicao::Base, Pegador)),
      imgLogoVUX(LogoVUX(TAMANHO_LOGO, Escala))
{
}

TImagensIcones& ImagensIcones()
{
    static TImagensIcones loja(qGuiApp ? qGuiApp->devicePixelRatio() : 1.0);
    return loja;
}
