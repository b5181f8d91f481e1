#include "base/corte_texto.h"

#include <QTextBoundaryFinder>

namespace plataforma {

QString CortarTexto(const QString& texto, qsizetype maximo)
{
    if (texto.size() <= maximo)
        return texto;
    QTextBoundaryFinder limites(QTextBoundaryFinder::Grapheme, texto);
    limites.setPosition(maximo);
    if (!limites.isAtBoundary())
        limites.toPreviousBoundary();
    return texto.left(qMax<qsizetype>(limites.position(), 0));
}

} // namespace plataforma
