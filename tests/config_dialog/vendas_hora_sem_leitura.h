#pragma once

// The sales gadget, whose configure and about buttons open the dialogs, and
// which records its restarts instead of reading the database.

#include "config/config.h"
#include "frame/retangulo.h"
#include "sales_per_hour/vendas_hora.h"

#include <QList>
#include <QStringList>

class TVendasHoraSemLeitura : public TVendasHora {
public:
    using TVendasHora::TVendasHora;

    // What the record held at each restart, and who asked for it.
    void IniciarGadget(QObject* Sender) override
    {
        inicios << Sender;
        pedidosImportados << FConfig->PedidosImportados();
    }

    using TGadget::rtgAbout;
    using TGadget::rtgConfig;
    using TGadget::rtgGadget;
    using TGadget::SetInformacoes;
    using TGadgetResDet::rtgDetalhe;
    using TGadgetResDet::rtgResumo;

    QList<QObject*> inicios;
    QStringList pedidosImportados;
};
