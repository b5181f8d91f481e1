#pragma once

#include "tests/support/gadget_vendas_hora.h"
#include "tests/support/rede_teste.h"

#include <QTemporaryDir>
#include <memory>

// The gadget reaches a database with the usual sales on the local server
// through a relay that the test controls; the configuration file and the
// gadget's connection both name the relay.
class ServidorPelaRede : public VendasHoraTeste {
protected:
    void SetUp() override
    {
        VendasHoraTeste::SetUp();
        ASSERT_TRUE(pastaServidor.isValid());
        servidor = std::make_unique<BancoVarejo>(
            pastaServidor.filePath(QStringLiteral("servidor.fdb")), BancoVarejo::Onde::Servidor);
        PreencherVendas(*servidor);
        AcessoBanco acesso = servidor->acesso();
        acesso.Servidor = QStringLiteral("127.0.0.1/%1").arg(retransmissor.porta());
        const QString iniServidor = pastaServidor.filePath(QStringLiteral("ConfigGadGet.Ini"));
        EscreverIniBanco(iniServidor, acesso);
        qputenv("VANTREL_GADGETS_INI", iniServidor.toLocal8Bit());
        ConfigurarConexao(conexao, acesso);
    }

    QTemporaryDir pastaServidor;
    std::unique_ptr<BancoVarejo> servidor;
    Retransmissor retransmissor;
};
