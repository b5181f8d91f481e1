#include "platform/icone_programa.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace plataforma {

namespace {

QIcon Desenha()
{
    QSvgRenderer desenho(QStringLiteral(":/icones/vendas-por-hora.svg"));
    QIcon icone;
    for (const int lado : {16, 32, 48, 256}) {
        QPixmap imagem(lado, lado);
        imagem.fill(Qt::transparent);
        QPainter pintor(&imagem);
        desenho.render(&pintor);
        pintor.end();
        icone.addPixmap(imagem);
    }
    return icone;
}

} // namespace

QIcon IconePrograma()
{
    // Drawn once: every refresh hands it to the tray, and each new drawing
    // would leave copies of its own in Qt's pixmap cache.
    static const QIcon icone = Desenha();
    return icone;
}

} // namespace plataforma
