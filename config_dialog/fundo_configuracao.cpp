#include "config_dialog/fundo_configuracao.h"

#include "frame/imagens_icones.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int LARGURA = 546;
constexpr int ALTURA = 358;
constexpr qreal MARGEM = 4;
constexpr qreal FAIXA = 40; // height of the top band
constexpr qreal FIM_ESCURO = 200; // the body is at its darkest from here down

// The dialog shows the picture squeezed to about 0.42 of its width and 0.89
// of its height: corners and logo are drawn wide so that they look even there.
constexpr qreal RAIO_X = 12;
constexpr qreal RAIO_Y = 6;
const QRectF LOGO(462, 322, 71, 11);

} // namespace

QImage FundoConfiguracao()
{
    QImage imagem(LARGURA, ALTURA, QImage::Format_ARGB32_Premultiplied);
    imagem.fill(Qt::transparent);
    QPainter pintor(&imagem);
    pintor.setRenderHint(QPainter::Antialiasing);

    const QRectF painel(MARGEM + 0.5, MARGEM + 0.5, LARGURA - 2 * MARGEM - 1,
                        ALTURA - 2 * MARGEM - 1);
    QPainterPath forma;
    forma.addRoundedRect(painel, RAIO_X, RAIO_Y);

    const qreal topo = painel.top();
    QLinearGradient corpo(0, topo, 0, ALTURA);
    const auto em = [&](qreal y) { return (y - topo) / (ALTURA - topo); };
    corpo.setColorAt(0, QColor::fromRgba(0xFF5E5E5E));
    corpo.setColorAt(em(FAIXA), QColor::fromRgba(0xFF7A7A7A));
    corpo.setColorAt(em(FAIXA + 0.5), QColor::fromRgba(0xFF4E4E4E));
    corpo.setColorAt(em(FIM_ESCURO), QColor::fromRgba(0xFF2F2F2F));
    corpo.setColorAt(1, QColor::fromRgba(0xFF2F2F2F));
    pintor.fillPath(forma, corpo);
    pintor.strokePath(forma, QPen(QColor::fromRgba(0x5E676767), 1));

    // The logo as a grey silhouette, quiet on the dark body.
    const QImage& logo = ImagensIcones().imgLogoVUX;
    QImage silhueta(logo.size(), QImage::Format_ARGB32_Premultiplied);
    silhueta.setDevicePixelRatio(logo.devicePixelRatio());
    silhueta.fill(Qt::transparent);
    {
        QPainter p(&silhueta);
        p.drawImage(QPoint(0, 0), logo);
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(silhueta.rect(), QColor::fromRgba(0xFF8A8A8A));
    }
    pintor.setRenderHint(QPainter::SmoothPixmapTransform);
    pintor.drawImage(LOGO, silhueta);
    return imagem;
}
