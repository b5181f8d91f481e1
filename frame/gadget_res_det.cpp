#include "frame/gadget_res_det.h"

#include "base/conversao.h"
#include "config/config.h"
#include "frame/mascara.h"
#include "frame/retangulo.h"
#include "frame/temporizador.h"
#include "platform/rotinas_desktop.h"

#include <QLabel>
#include <algorithm>
#include <limits>

namespace {

// Puts the host above other windows or back among them. Qt hides the window
// and makes a new native one when its flags change: it is shown again with
// its mask; the answer tells whether it was, so that the caller takes it off
// the taskbar again.
bool MantemNoTopo(QWidget* host, bool noTopo)
{
    if (host->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == noTopo)
        return false;
    const bool visivel = host->isVisible();
    host->setWindowFlag(Qt::WindowStaysOnTopHint, noTopo);
    if (visivel)
        host->show();
    host->clearMask();
    AtualizaMascara(host);
    return visivel;
}

} // namespace

TGadgetResDet::TGadgetResDet(QWidget* AOwner) : TGadget(AOwner)
{
    rtgDetalhe = new TRetangulo(rtgGadget);
    rtgDetalhe->setObjectName(QStringLiteral("rtgDetalhe"));
    rtgDetalhe->setSemContorno();
    rtgDetalhe->show();
    rtgResumo = new TRetangulo(rtgGadget);
    rtgResumo->setObjectName(QStringLiteral("rtgResumo"));
    rtgResumo->setSemContorno();
    rtgResumo->show();
}

void TGadgetResDet::RMaximizarClick(QObject* Sender)
{
    TGadget::RMaximizarClick(Sender);
    rtgResumo->hide();
    rtgDetalhe->show();
}

void TGadgetResDet::RMinimizarClick(QObject* Sender)
{
    TGadget::RMinimizarClick(Sender);
    rtgResumo->show();
    rtgDetalhe->hide();
}

void TGadgetResDet::IniciarGadget(QObject*)
{
    const qint64 periodo = qint64(StrToInt(FConfig->AtualizaDados())) * 60000;
    tmrPrincipal->setInterval(int(std::min<qint64>(periodo, std::numeric_limits<int>::max())));

    const double opacidade = StrToInt(FConfig->Transparencia()) / 100.0;
    rtgResumo->setOpacity(opacidade);
    rtgDetalhe->setOpacity(opacidade);

    const bool reexibida =
        MantemNoTopo(frmPrincipal, FConfig->SempreVisivel() == QStringLiteral("1"));

    plataforma::CriaIcone(frmPrincipal, getTitulo());

    if (reexibida || !(FIniciandoGadget && FIniciandoGadget()))
        plataforma::EscondeBarraTarefa();
}

void TGadgetResDet::PosicionaSobreAVista(QWidget* Form)
{
    VerificaPosForm(Form, rtgDetalhe->isHidden() ? rtgResumo : rtgDetalhe);
}

void TGadgetResDet::ConfigLabel(QLabel* ALabel, const QString& Fonte, const QString& Texto,
                                int Tamanho, TEstilosFonte Estilo, double X, double Y, double Width,
                                Qt::Alignment Alinhamento, bool WordWrap, bool AutoSize)
{
    QFont fonte = ALabel->font();
    fonte.setFamily(Fonte);
    fonte.setPixelSize(Tamanho);
    fonte.setBold(Estilo.testFlag(TEstiloFonte::Negrito));
    fonte.setItalic(Estilo.testFlag(TEstiloFonte::Italico));
    fonte.setUnderline(Estilo.testFlag(TEstiloFonte::Sublinhado));
    fonte.setStrikeOut(Estilo.testFlag(TEstiloFonte::Riscado));
    ALabel->setFont(fonte);
    ALabel->setAlignment((Alinhamento & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter);
    ALabel->setText(Texto);
    ALabel->resize(qRound(Width), ALabel->height());
    ALabel->setWordWrap(WordWrap);
    if (AutoSize) {
        if (WordWrap)
            ALabel->resize(ALabel->width(), ALabel->heightForWidth(ALabel->width()));
        else
            ALabel->adjustSize();
    }
    ALabel->move(qRound(X), qRound(Y));
}
