#include "sales_per_hour/estilos.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QVariantAnimation>
#include <QWheelEvent>

namespace {

const QColor COR_FUNDO = QColor::fromRgba(0xFFEFEFEF);
const QColor COR_FUNDO_SOB_PONTEIRO = QColor::fromRgba(0xFFA5D9FF);
const QColor COR_TEXTO_BOTAO = QColor::fromRgba(0xFF0000FF);
constexpr qreal OPACIDADE_DESABILITADO = 0.6;

// The date edit's text runs from 4 pixels in on the left to 23 from the
// right: the edit field ends where the 15-pixel drop-down area begins, less
// the padding, and the line edit inside adds 2 pixels on each side.
const char* const FOLHA_ESTILOS = R"(
QLabel { color: #0000ff; }
QDateEdit {
    border: none;
    background: transparent;
    color: black;
    selection-background-color: rgba(42, 138, 223, 128);
    selection-color: black;
    padding: 3px 6px 3px 2px;
}
QDateEdit::drop-down {
    subcontrol-origin: border;
    subcontrol-position: center right;
    width: 15px;
    border: none;
}
QDateEdit::down-arrow { image: none; }
)";

// The three layers shared by buttons and date edits: the face, a glossy
// gradient with the outline, and a light inner outline one pixel in.
void PintaFundoBrilhante(QPainter& pintor, const QRectF& area, const QColor& face)
{
    pintor.setRenderHint(QPainter::Antialiasing);
    QPainterPath fundo;
    fundo.addRoundedRect(area, 3, 3);
    pintor.fillPath(fundo, face);

    QPainterPath brilho;
    brilho.addRoundedRect(area.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    QLinearGradient gradiente(area.topLeft(), area.bottomLeft());
    gradiente.setColorAt(0, QColor::fromRgba(0x24F4F4F4));
    gradiente.setColorAt(0.499, QColor::fromRgba(0x24EAEAEA));
    gradiente.setColorAt(0.5, QColor::fromRgba(0x4E868686));
    pintor.fillPath(brilho, gradiente);
    pintor.strokePath(brilho, QPen(QColor::fromRgba(0xC84F4F4F), 1));

    QPainterPath interno;
    interno.addRoundedRect(area.adjusted(1.5, 1.5, -1.5, -1.5), 2, 2);
    pintor.strokePath(interno, QPen(QColor::fromRgba(0x96FCFCFC), 1));
}

// A soft dark glow along the inside of the edge.
void PintaBrilhoInterno(QPainter& pintor, const QRectF& area)
{
    QPainterPath forma;
    forma.addRoundedRect(area, 3, 3);
    pintor.save();
    pintor.setClipPath(forma);
    QColor cor = QColor::fromRgba(0xFF4F4848);
    const qreal alfas[] = {0.9, 0.55, 0.25};
    for (int passo = 0; passo < 3; ++passo) {
        cor.setAlphaF(alfas[passo]);
        const qreal recuo = 0.5 + passo;
        QPainterPath anel;
        anel.addRoundedRect(area.adjusted(recuo, recuo, -recuo, -recuo), 3, 3);
        pintor.strokePath(anel, QPen(cor, 1));
    }
    pintor.restore();
}

} // namespace

void AplicaEstilosHost(QWidget* host)
{
    host->setStyleSheet(QString::fromLatin1(FOLHA_ESTILOS));
}

TBotao::TBotao(const QString& texto, QWidget* parent)
    : QPushButton(texto, parent), FCorFundo(COR_FUNDO), FAnimacao(new QVariantAnimation(this))
{
    FAnimacao->setStartValue(COR_FUNDO);
    FAnimacao->setEndValue(COR_FUNDO_SOB_PONTEIRO);
    FAnimacao->setDuration(200);
    connect(FAnimacao, &QVariantAnimation::valueChanged, this, [this](const QVariant& valor) {
        FCorFundo = valor.value<QColor>();
        update();
    });
}

void TBotao::Anima(bool paraDentro)
{
    // Turning round half-way runs back from where the colour is now.
    FAnimacao->setDirection(paraDentro ? QAbstractAnimation::Forward
                                       : QAbstractAnimation::Backward);
    if (FAnimacao->state() != QAbstractAnimation::Running)
        FAnimacao->start();
}

void TBotao::enterEvent(QEnterEvent* evento)
{
    QPushButton::enterEvent(evento);
    Anima(true);
}

void TBotao::leaveEvent(QEvent* evento)
{
    QPushButton::leaveEvent(evento);
    Anima(false);
}

void TBotao::paintEvent(QPaintEvent*)
{
    QPainter pintor(this);
    if (!isEnabled())
        pintor.setOpacity(OPACIDADE_DESABILITADO);
    const QRectF area(rect());
    PintaFundoBrilhante(pintor, area, FCorFundo);
    if (isDown())
        PintaBrilhoInterno(pintor, area);
    // Narrow buttons let the caption run past the inset, as it is not clipped.
    pintor.setPen(COR_TEXTO_BOTAO);
    pintor.setFont(font());
    pintor.drawText(area.adjusted(5, 3, -5, -3), Qt::AlignCenter | Qt::TextDontClip, text());
}

TDataEdit::TDataEdit(QWidget* parent) : QDateEdit(parent)
{
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    setLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
    // The calendar takes its first weekday from the locale it was made with.
    calendarWidget()->setFirstDayOfWeek(locale().firstDayOfWeek());
    setContextMenuPolicy(Qt::NoContextMenu);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void TDataEdit::paintEvent(QPaintEvent*)
{
    QPainter pintor(this);
    if (!isEnabled())
        pintor.setOpacity(OPACIDADE_DESABILITADO);
    PintaFundoBrilhante(pintor, QRectF(rect()), COR_FUNDO);

    const QPointF centro = QRectF(width() - 15, 0, 15, height()).center();
    const QPointF seta[] = {centro + QPointF(-4, -2.5), centro + QPointF(4, -2.5),
                            centro + QPointF(0, 2.5)};
    pintor.setPen(Qt::NoPen);
    pintor.setBrush(Qt::black);
    pintor.drawPolygon(seta, 3);
}

void TDataEdit::keyPressEvent(QKeyEvent* evento)
{
    int tecla = evento->key();
    QChar caractere = evento->text().isEmpty() ? QChar() : evento->text().at(0);
    if (OnKeyDown)
        OnKeyDown(this, tecla, caractere, evento->modifiers());
    if (tecla == 0 && caractere.isNull()) {
        evento->accept();
        return;
    }
    QDateEdit::keyPressEvent(evento);
}

void TDataEdit::wheelEvent(QWheelEvent* evento)
{
    evento->ignore();
}
