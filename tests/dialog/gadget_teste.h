#pragma once

// A two-view gadget laid out as the sales gadget lays out its views, whose
// configure and about buttons open the dialogs the way the sales gadget's do,
// and which records its restarts instead of loading data.

#include "config/config.h"
#include "config_dialog/frm_configuracao.h"
#include "frame/about.h"
#include "frame/gadget_res_det.h"
#include "frame/retangulo.h"

#include <QPushButton>
#include <QStringList>

class TGadgetTeste : public TGadgetResDet {
public:
    explicit TGadgetTeste(QWidget* host) : TGadgetResDet(host)
    {
        rtgDetalhe->resize(389, 236);
        rtgResumo->setGeometry(102, 0, 287, 210);
        rtgDetalhe->hide();
        AjustaGadget(rtgDetalhe, false);
    }

    void RConfClick(QObject*) override
    {
        if (!FrmConfiguracao)
            FrmConfiguracao = new TFrmConfiguracao(frmPrincipal, *FConfig, *FConexao);
        FrmConfiguracao->AdicionaGadget(this);
        VerificaPosForm(FrmConfiguracao, rtgDetalhe->isHidden() ? rtgResumo : rtgDetalhe);
        VerificaMargens(FrmConfiguracao);
        FrmConfiguracao->exec();
    }

    void RAboutClick(QObject*) override
    {
        if (!frmAbout)
            frmAbout = new TfrmAbout(frmPrincipal);
        frmAbout->CarregaInformacoes(this);
        VerificaPosForm(frmAbout, rtgDetalhe->isHidden() ? rtgResumo : rtgDetalhe);
        frmAbout->move(frmAbout->x(), rtgGadget->y());
        VerificaMargens(frmAbout);
        frmAbout->btnOk->setFocus();
        frmAbout->exec();
    }

    // What the record held at each restart, and who asked for it.
    void IniciarGadget(QObject* Sender) override
    {
        inicios << Sender;
        pedidosImportados << FConfig->PedidosImportados();
    }

    using TGadget::rtgAbout;
    using TGadget::rtgConfig;
    using TGadget::rtgGadget;
    using TGadget::setInformacoes;
    using TGadgetResDet::rtgDetalhe;
    using TGadgetResDet::rtgResumo;

    QList<QObject*> inicios;
    QStringList pedidosImportados;
};
