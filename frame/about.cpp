#include "frame/about.h"

#include "frame/botao.h"
#include "frame/brilho_foco.h"
#include "frame/fonte_rotulos.h"
#include "frame/gadget.h"
#include "frame/imagens_icones.h"
#include "frame/mascara.h"
#include "frame/retangulo.h"
#include "platform/icone_programa.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>

namespace {

const QColor COR_BRILHO_FOCO = QColor::fromRgba(0x82005ACC);

const char* const FOLHA_ESTILOS = R"(
QLabel { color: black; }
QLabel#lblTitulo { color: #008080; }
)";

QFont Tahoma(int pixels, bool negrito = false)
{
    QFont fonte;
    fonte.setFamily(FONTE_ROTULOS);
    fonte.setPixelSize(pixels);
    fonte.setBold(negrito);
    return fonte;
}

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
      btnOk(new TBotao(QStringLiteral("OK"), Rectangle1, Qt::black)),
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
    Rectangle1->SetPreenchimento(gradiente);
    Rectangle1->SetRaios(10, 10);
    Rectangle1->SetSemContorno();

    imgIcone->setObjectName(QStringLiteral("imgIcone"));
    imgIcone->setGeometry(17, 4, 55, 55);
    imgIcone->setAlignment(Qt::AlignCenter);
    imgIcone->setPixmap(plataforma::IconePrograma().pixmap(QSize(55, 55), devicePixelRatioF()));

    for (QLabel* rotulo : {lblVer, lblRC, lblDesc})
        rotulo->setWordWrap(false);
    txtDescricao->setWordWrap(true);

    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setGeometry(150, 173, 80, 22);
    QFont negrito = btnOk->font();
    negrito.setBold(true);
    btnOk->setFont(negrito);
    new TBrilhoFoco(btnOk, COR_BRILHO_FOCO);
    connect(btnOk, &QPushButton::clicked, this, &TfrmAbout::btnOkClick);

    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setGeometry(320, 176, 53, 17);
    imgLogo->setPixmap(QPixmap::fromImage(LogoVUX(QSizeF(53, 17), devicePixelRatioF())));
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

// Without a compositor the see-through corners would show black: the window
// keeps to its panel's shape.
void TfrmAbout::showEvent(QShowEvent* evento)
{
    QDialog::showEvent(evento);
    AtualizaMascara(this);
}

void TfrmAbout::btnOkClick()
{
    close();
}

void TfrmAbout::VerificaMargens()
{
    TGadget::VerificaMargens(this);
}
