#include "config_dialog/estilo_escuro.h"

#include "frame/brilho_foco.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QPainterPath>
#include <QStyledItemDelegate>
#include <QVariantAnimation>
#include <algorithm>

namespace {

const QColor COR_TEXTO = QColor::fromRgba(0xFFA9A9A9);
const QColor COR_FOCO = QColor::fromRgba(0xFFF69E2D);
const QColor COR_MARCA = QColor::fromRgba(0xFFF5AB28);
const QColor BRANCO = QColor::fromRgba(0xFFFFFFFF);
constexpr int FAIXA_LISTA = 15;
constexpr int BOTAO_SPIN = 18;
constexpr int LADO_CAIXA = 13;
constexpr int RECUO_ITEM = 4;
constexpr int ALTURA_ITEM = 18;
const QColor COR_ITEM_DESTAQUE = QColor::fromRgba(0xFF505050);
const QColor COR_TEXTO_DESTAQUE = QColor::fromRgba(0xFFEAEAEA);

// Draws the pop-up's entries itself, in the list's font: through the style
// a highlighted entry's text stood a few pixels further right, and leading
// blanks came and went between openings. Here every entry, in every state,
// keeps its text, blanks included, at one place.
class TItemListaEscura : public QStyledItemDelegate {
public:
    explicit TItemListaEscura(QComboBox* lista) : QStyledItemDelegate(lista), FLista(lista) {}

    void paint(QPainter* pintor, const QStyleOptionViewItem& opcao,
               const QModelIndex& indice) const override
    {
        const bool destaque = opcao.state & (QStyle::State_Selected | QStyle::State_MouseOver);
        pintor->save();
        if (destaque)
            pintor->fillRect(opcao.rect, COR_ITEM_DESTAQUE);
        pintor->setFont(FLista->font());
        pintor->setPen(destaque ? COR_TEXTO_DESTAQUE : COR_TEXTO);
        pintor->drawText(opcao.rect.adjusted(RECUO_ITEM, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         indice.data(Qt::DisplayRole).toString());
        pintor->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& indice) const override
    {
        const QFontMetrics medidas(FLista->font());
        return QSize(medidas.horizontalAdvance(indice.data(Qt::DisplayRole).toString())
                         + 2 * RECUO_ITEM,
                     std::max(ALTURA_ITEM, medidas.height() + 2));
    }

private:
    QComboBox* FLista;
};

const char* const FOLHA = R"(
QLabel, QCheckBox, QPushButton, QComboBox, QTabBar::tab { color: #a9a9a9; }
QPushButton {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #505050, stop:1 #303030);
    border: 1px solid #222222;
    border-radius: 3px;
}
QPushButton:pressed {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #303030, stop:1 #505050);
}
QComboBox {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #505050, stop:1 #303030);
    border: 1px solid #222222;
    border-radius: 3px;
    padding: 0px 16px 0px 4px;
}
QComboBox::drop-down {
    subcontrol-origin: border;
    subcontrol-position: top right;
    width: 15px;
    border: none;
}
QComboBox::down-arrow { image: none; width: 0px; height: 0px; }
QComboBox QAbstractItemView {
    background: #353535;
    color: #a9a9a9;
    border: 1px solid #222222;
    selection-background-color: #505050;
    selection-color: #eaeaea;
    outline: 0px;
}
QSpinBox {
    background: #333333;
    border: 1px solid #202020;
    color: #eaeaea;
    selection-background-color: rgba(246, 158, 45, 112);
    selection-color: #eaeaea;
}
QLineEdit#edtMetaDia {
    background: #333333;
    border: 1px solid #202020;
    color: #eaeaea;
    padding: 0px 3px;
    selection-background-color: rgba(246, 158, 45, 112);
    selection-color: #eaeaea;
}
QSpinBox::up-button, QSpinBox::down-button {
    subcontrol-origin: padding;
    width: 18px;
    height: 20px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #4a4a4a, stop:1 #2e2e2e);
    border: none;
}
QSpinBox::up-button { subcontrol-position: center right; border-left: 1px solid #202020; }
QSpinBox::down-button { subcontrol-position: center left; border-right: 1px solid #202020; }
QSpinBox::up-button:pressed, QSpinBox::down-button:pressed { background: #2a2a2a; }
QSpinBox::up-arrow, QSpinBox::down-arrow { image: none; width: 0px; height: 0px; }
QTabWidget::pane {
    border: 1px solid #303030;
    border-radius: 2px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #404040, stop:1 #303030);
}
QTabBar::tab {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #606060, stop:1 #404040);
    border: 1px solid #303030;
    border-bottom: none;
    border-top-left-radius: 3px;
    border-top-right-radius: 3px;
    width: 78px;
    height: 19px;
    padding: 0px;
}
QFrame#Line1 { border: none; border-top: 1px solid #a9a9a9; background: transparent; }
)";

} // namespace

QString FolhaEstiloEscuro()
{
    return QString::fromLatin1(FOLHA);
}

void BrilhoFocoEscuro(QWidget* Controle)
{
    new TBrilhoFoco(Controle, COR_FOCO);
}

TListaEscura::TListaEscura(QWidget* parent) : QComboBox(parent)
{
    setItemDelegate(new TItemListaEscura(this));
    BrilhoFocoEscuro(this);
}

void TListaEscura::paintEvent(QPaintEvent* evento)
{
    QComboBox::paintEvent(evento);
    QPainter pintor(this);
    pintor.setRenderHint(QPainter::Antialiasing);
    pintor.setPen(Qt::NoPen);
    pintor.setBrush(BRANCO);
    const qreal meioX = width() - FAIXA_LISTA / 2.0 - 1;
    const qreal meioY = height() / 2.0;
    pintor.drawPolygon(QPolygonF({QPointF(meioX - 3, meioY - 1.5), QPointF(meioX + 3, meioY - 1.5),
                                  QPointF(meioX, meioY - 5)}));
    pintor.drawPolygon(QPolygonF({QPointF(meioX - 3, meioY + 1.5), QPointF(meioX + 3, meioY + 1.5),
                                  QPointF(meioX, meioY + 5)}));
}

TSpinEscuro::TSpinEscuro(QWidget* parent) : QSpinBox(parent)
{
    setAlignment(Qt::AlignCenter);
}

void TSpinEscuro::paintEvent(QPaintEvent* evento)
{
    QSpinBox::paintEvent(evento);
    QPainter pintor(this);
    pintor.setPen(QPen(BRANCO, 1.5));
    const qreal meioY = height() / 2.0;
    const qreal menos = 1 + BOTAO_SPIN / 2.0;
    const qreal mais = width() - 1 - BOTAO_SPIN / 2.0;
    pintor.drawLine(QPointF(menos - 3.5, meioY), QPointF(menos + 3.5, meioY));
    pintor.drawLine(QPointF(mais - 3.5, meioY), QPointF(mais + 3.5, meioY));
    pintor.drawLine(QPointF(mais, meioY - 3.5), QPointF(mais, meioY + 3.5));
}

TCaixaMarcacao::TCaixaMarcacao(const QString& texto, QWidget* parent)
    : QCheckBox(texto, parent),
      FAnimacao(new QVariantAnimation(this))
{
    FAnimacao->setStartValue(0.0);
    FAnimacao->setEndValue(1.0);
    FAnimacao->setDuration(100);
    connect(FAnimacao, &QVariantAnimation::valueChanged, this, [this](const QVariant& valor) {
        FOpacidadeMarca = valor.toReal();
        update();
    });
    connect(this, &QCheckBox::toggled, this, [this](bool marcada) {
        FAnimacao->stop();
        if (marcada) {
            FAnimacao->start();
        } else {
            FOpacidadeMarca = 0;
            update();
        }
    });
    BrilhoFocoEscuro(this);
}

void TCaixaMarcacao::paintEvent(QPaintEvent*)
{
    QPainter pintor(this);
    pintor.setRenderHint(QPainter::Antialiasing);
    const QRectF caixa(1.5, (height() - LADO_CAIXA) / 2.0 + 0.5, LADO_CAIXA - 1, LADO_CAIXA - 1);
    QPainterPath forma;
    forma.addRoundedRect(caixa, 2, 2);
    QLinearGradient gradiente(caixa.topLeft(), caixa.bottomLeft());
    gradiente.setColorAt(0, QColor::fromRgba(0xFF606060));
    gradiente.setColorAt(1, QColor::fromRgba(0xFF303030));
    pintor.fillPath(forma, gradiente);
    pintor.strokePath(forma, QPen(QColor::fromRgba(0xFF202020), 1));

    if (FOpacidadeMarca > 0) {
        QColor marca = COR_MARCA;
        marca.setAlphaF(FOpacidadeMarca);
        pintor.setPen(QPen(marca, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QPointF o = caixa.topLeft();
        pintor.drawPolyline(
            QPolygonF({o + QPointF(2.5, 6), o + QPointF(5, 8.8), o + QPointF(9.5, 2.8)}));
    }

    pintor.setPen(COR_TEXTO);
    pintor.setFont(font());
    pintor.drawText(AreaTexto(), Qt::AlignLeft | Qt::AlignVCenter, text());
}

QRectF TCaixaMarcacao::AreaTexto() const
{
    return QRectF(LADO_CAIXA + 6, 0, width() - LADO_CAIXA - 6, height());
}
