#include "frame/about.h"

#include "frame/brilho_foco.h"
#include "frame/gadget.h"
#include "frame/imagens_icones.h"
#include "frame/retangulo.h"
#include "platform/icone_programa.h"
#include "platform/tela.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVariantAnimation>

namespace {

const QColor COR_FACE = QColor::fromRgba(0xFFEFEFEF);
const QColor COR_FACE_SOB_PONTEIRO = QColor::fromRgba(0xFFA5D9FF);
const QColor COR_BRILHO_FOCO = QColor::fromRgba(0x82005ACC);

const char* const FOLHA_ESTILOS = R"(
QLabel { color: black; }
QLabel#lblTitulo { color: #008080; }
)";

// Tahoma where there is one; the others are near it in width.
QFont Tahoma(int pixels, bool negrito = false)
{
    QFont fonte;
    fonte.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Nimbus Sans"),
                       QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    fonte.setPixelSize(pixels);
    fonte.setBold(negrito);
    return fonte;
}

// The glossy rounded button of the gadget's own buttons with a black caption:
// light grey face that turns light blue in 0.2 s under the pointer, a dark
// glow inside while pressed, a blue glow around it while focused.
class TBotaoOk : public QPushButton {
public:
    explicit TBotaoOk(QWidget* parent)
        : QPushButton(parent), FFace(COR_FACE), FAnimacao(new QVariantAnimation(this))
    {
        FAnimacao->setStartValue(COR_FACE);
        FAnimacao->setEndValue(COR_FACE_SOB_PONTEIRO);
        FAnimacao->setDuration(200);
        connect(FAnimacao, &QVariantAnimation::valueChanged, this, [this](const QVariant& valor) {
            FFace = valor.value<QColor>();
            update();
        });
        new TBrilhoFoco(this, COR_BRILHO_FOCO);
    }

protected:
    void enterEvent(QEnterEvent* evento) override
    {
        QPushButton::enterEvent(evento);
        Anima(QAbstractAnimation::Forward);
    }

    void leaveEvent(QEvent* evento) override
    {
        QPushButton::leaveEvent(evento);
        Anima(QAbstractAnimation::Backward);
    }

    void paintEvent(QPaintEvent*) override
    {
        QPainter pintor(this);
        pintor.setRenderHint(QPainter::Antialiasing);
        const QRectF area(rect());

        QPainterPath face;
        face.addRoundedRect(area, 3, 3);
        pintor.fillPath(face, FFace);

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

        if (isDown()) {
            pintor.save();
            pintor.setClipPath(face);
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

        pintor.setPen(Qt::black);
        pintor.setFont(font());
        pintor.drawText(area, Qt::AlignCenter, text());
    }

private:
    void Anima(QAbstractAnimation::Direction sentido)
    {
        // Turning round half-way runs back from the colour of the moment.
        FAnimacao->setDirection(sentido);
        if (FAnimacao->state() != QAbstractAnimation::Running)
            FAnimacao->start();
    }

    QColor FFace;
    QVariantAnimation* FAnimacao;
};

QLabel* Rotulo(QWidget* pai, const char* nome, int x, int y, int largura, int altura,
               const QFont& fonte, Qt::Alignment alinhamento, const QString& texto = {})
{
    auto* rotulo = new QLabel(texto, pai);
    rotulo->setObjectName(QLatin1String(nome));
    rotulo->setGeometry(x, y, largura, altura);
    rotulo->setFont(fonte);
    rotulo->setAlignment(alinhamento);
    rotulo->setTextFormat(Qt::PlainText);
    return rotulo;
}

} // namespace

TfrmAbout::TfrmAbout(QWidget* Dono)
    : QDialog(Dono, Qt::Dialog | Qt::FramelessWindowHint),
      Rectangle1(new TRetangulo(this)),
      imgIcone(new QLabel(Rectangle1)),
      lblTitulo(Rotulo(Rectangle1, "lblTitulo", 75, 15, 288, 32, Tahoma(20), Qt::AlignCenter)),
      lblVersao(Rotulo(Rectangle1, "lblVersao", 85, 61, 290, 15, Tahoma(11),
                       Qt::AlignLeft | Qt::AlignVCenter)),
      lblVer(Rotulo(Rectangle1, "lblVer", 5, 61, 76, 15, Tahoma(11, true),
                    Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Versão:"))),
      lblRC(Rotulo(Rectangle1, "lblRC", 5, 82, 76, 15, Tahoma(11, true),
                   Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Equivalência:"))),
      lblRelCons(Rotulo(Rectangle1, "lblRelCons", 85, 82, 290, 15, Tahoma(11),
                        Qt::AlignLeft | Qt::AlignVCenter)),
      lblDesc(Rotulo(Rectangle1, "lblDesc", 5, 103, 76, 15, Tahoma(11, true),
                     Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Descrição:"))),
      txtDescricao(Rotulo(Rectangle1, "txtDescricao", 87, 103, 286, 62, Tahoma(11),
                          Qt::AlignLeft | Qt::AlignTop)),
      btnOk(new TBotaoOk(Rectangle1)),
      imgLogo(new QLabel(Rectangle1))
{
    setWindowTitle(QStringLiteral("About"));
    setAttribute(Qt::WA_TranslucentBackground);
    setStyleSheet(QString::fromLatin1(FOLHA_ESTILOS));
    setFixedSize(380, 204);

    Rectangle1->setGeometry(0, 0, 380, 204);
    QLinearGradient gradiente(0.5, 0, 0.5, 1);
    gradiente.setCoordinateMode(QGradient::ObjectMode);
    gradiente.setColorAt(0, QColor::fromRgba(0xFFFFFFFF));
    gradiente.setColorAt(1, QColor::fromRgba(0xFFB6B6B6));
    Rectangle1->setPreenchimento(gradiente);
    Rectangle1->setRaios(10, 10);
    Rectangle1->setSemContorno();

    imgIcone->setObjectName(QStringLiteral("imgIcone"));
    imgIcone->setGeometry(17, 4, 55, 55);
    imgIcone->setAlignment(Qt::AlignCenter);
    imgIcone->setPixmap(plataforma::IconePrograma().pixmap(QSize(55, 55), devicePixelRatioF()));

    for (QLabel* rotulo : {lblVer, lblRC, lblDesc})
        rotulo->setWordWrap(false);
    txtDescricao->setWordWrap(true);

    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setGeometry(150, 173, 80, 22);
    btnOk->setText(QStringLiteral("OK"));
    QFont negrito = btnOk->font();
    negrito.setBold(true);
    btnOk->setFont(negrito);
    connect(btnOk, &QPushButton::clicked, this, &TfrmAbout::btnOkClick);

    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setGeometry(320, 176, 53, 17);
    imgLogo->setPixmap(QPixmap::fromImage(ImagensIcones().imgLogoVUX));
}

void TfrmAbout::CarregaInformacoes(const TGadget* Gadget)
{
    if (!Gadget)
        return;
    lblTitulo->setText(Gadget->Titulo());
    lblVersao->setText(Gadget->Versao());
    lblRelCons->setText(Gadget->Equivalencia());
    txtDescricao->setText(Gadget->Descricao());
}

void TfrmAbout::btnOkClick()
{
    close();
}

void TfrmAbout::VerificaMargens()
{
    const QSize tela = plataforma::TamanhoTela();
    int esquerda = x();
    int topo = y();
    if (esquerda < 0)
        esquerda = 0;
    if (esquerda + width() > tela.width())
        esquerda = tela.width() - width();
    if (topo < 0)
        topo = 0;
    if (topo + height() > tela.height())
        topo = tela.height() - height();
    move(esquerda, topo);
}
