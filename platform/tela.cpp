#include "platform/tela.h"

#include "platform/seams.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace plataforma {

QSize TamanhoTela()
{
    if (ganchos().tamanhoTela)
        return ganchos().tamanhoTela();
    const QScreen* tela = QGuiApplication::primaryScreen();
    return tela ? tela->geometry().size() : QSize();
}

QPoint PosicaoCursor()
{
    return ganchos().posicaoCursor ? ganchos().posicaoCursor() : QCursor::pos();
}

} // namespace plataforma
