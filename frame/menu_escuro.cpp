#include "frame/menu_escuro.h"

#include "frame/fonte_rotulos.h"
#include "platform/area_trabalho.h"

#include <QBitmap>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int RAIO = 6;

const char* const FOLHA = R"(
QMenu {
    background: rgba(38, 38, 38, 238);
    border: 1px solid rgba(120, 120, 120, 160);
    border-radius: 6px;
    padding: 4px 0px;
    color: #e0e0e0;
}
QMenu::item { padding: 4px 24px 4px 22px; background: transparent; }
QMenu::item:selected { background: rgba(246, 158, 45, 170); color: #ffffff; }
QMenu::item:disabled { color: #8a8a8a; }
QMenu::item:disabled:selected { background: rgba(255, 255, 255, 25); }
QMenu::separator { height: 1px; background: rgba(160, 160, 160, 90); margin: 3px 8px; }
QMenu::indicator { width: 8px; height: 8px; left: 8px; }
QMenu::indicator:checked { background: #f69e2d; border-radius: 4px; }
)";

} // namespace

TMenuEscuro::TMenuEscuro(QWidget* parent) : QMenu(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowFlag(Qt::NoDropShadowWindowHint);
    setStyleSheet(QString::fromLatin1(FOLHA));
    QFont fonte(FONTE_ROTULOS);
    fonte.setPixelSize(12);
    setFont(fonte);
}

void TMenuEscuro::resizeEvent(QResizeEvent* evento)
{
    QMenu::resizeEvent(evento);
    AjustaForma();
}

void TMenuEscuro::showEvent(QShowEvent* evento)
{
    QMenu::showEvent(evento);
    AjustaForma();
}

void TMenuEscuro::AjustaForma()
{
    if (plataforma::ComposicaoAtiva()) {
        clearMask();
        return;
    }
    QBitmap forma(size());
    forma.fill(Qt::color0);
    QPainter pintor(&forma);
    QPainterPath caminho;
    caminho.addRoundedRect(QRectF(rect()), RAIO, RAIO);
    pintor.fillPath(caminho, Qt::color1);
    pintor.end();
    setMask(forma);
}
