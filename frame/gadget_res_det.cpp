#include "frame/gadget_res_det.h"

#include "base/conversao.h"
#include "config/config.h"
#include "frame/retangulo.h"
#include "frame/temporizador.h"
#include "platform/area_trabalho.h"
#include "platform/rotinas_desktop.h"

#include <QLabel>
#include <algorithm>
#include <limits>

TGadgetResDet::TGadgetResDet(QWidget* AOwner) : TGadget(AOwner)
{
    rtgDetalhe = new TRetangulo(rtgGadget);
    rtgDetalhe->setObjectName(QStringLiteral("rtgDetalhe"));
    rtgDetalhe->SetSemContorno();
    rtgDetalhe->show();
    rtgResumo = new TRetangulo(rtgGadget);
    rtgResumo->setObjectName(QStringLiteral("rtgResumo"));
    rtgResumo->SetSemContorno();
    rtgResumo->show();
}

void TGadgetResDet::RMaximizarClick(QObject* Sender)
{
    TGadget::RMaximizarClick(Sender);
    rtgResumo->hide();
    rtgDetalhe->show();
    AjustaHost();
}

void TGadgetResDet::RMinimizarClick(QObject* Sender)
{
    TGadget::RMinimizarClick(Sender);
    rtgResumo->show();
    rtgDetalhe->hide();
    AjustaHost();
}

void TGadgetResDet::IniciarGadget(QObject*)
{
    const qint64 periodo = qint64(StrToInt(FConfig->AtualizaDados())) * 60000;
    tmrPrincipal->setInterval(int(std::min<qint64>(periodo, std::numeric_limits<int>::max())));

    const double opacidade = StrToInt(FConfig->Transparencia()) / 100.0;
    rtgResumo->setOpacity(opacidade);
    rtgDetalhe->setOpacity(opacidade);

    plataforma::DefinirCamada(frmPrincipal, FConfig->SempreVisivel() == QStringLiteral("1")
                                                ? plataforma::TCamada::Topo
                                                : plataforma::TCamada::AreaDeTrabalho);

    plataforma::CriaIcone(frmPrincipal, GetTitulo());

    if (!(FIniciandoGadget && FIniciandoGadget()))
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
