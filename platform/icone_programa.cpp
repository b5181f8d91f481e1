#include "platform/icone_programa.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace plataforma {

QIcon IconePrograma()
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

} // namespace plataforma
