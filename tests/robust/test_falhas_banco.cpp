// The gadget against a database server that stops, stalls or lacks a table:
// every failed refresh shows one box and the gadget goes on; the first
// refresh that can reach the server again shows current data.

#include "tests/robust/atualizacao.h"
#include "tests/robust/rede_teste.h"
#include "tests/robust/servidor_pela_rede.h"
#include "tests/sales_per_hour/gadget_vendas_hora.h"

#include <QElapsedTimer>
#include <cstdio>

namespace {

// The relay is switched off and on, as the server stops and comes back.
class ServidorQueCai : public ServidorPelaRede {
protected:
    void SetUp() override
    {
        ServidorPelaRede::SetUp();
        if (HasFatalFailure())
            return;
        // A branch, so that the branch-name lookup's own connection goes
        // through the relay too.
        config.setEmpresa(QStringLiteral("01"));
    }
};

TEST_F(ServidorQueCai, UmaCaixaPorAtualizacaoFalhaEVoltaSemReiniciar)
{
    // Each case sells 7.00 more at 10 o'clock while the server is away.
    QList<double> esperado = Esperado(0, 8, 18, QStringLiteral("01"));
    // Refreshes that fail while the server is away: none is a restart
    // between two refreshes.
    for (const int falhas : {0, 1, 3}) {
        SCOPED_TRACE(testing::Message() << falhas << " failed refreshes");
        Constroi();
        AtualizarPeloLaco(*gadget);
        ASSERT_EQ(mensagens, QStringList());
        ExpectValores(Resumo(), esperado, "before");
        EXPECT_EQ(Texto("lblNomeFilialMin"), QStringLiteral("Loja Centro"));

        retransmissor.desligar();
        for (int i = 1; i <= falhas; ++i) {
            AtualizarPeloLaco(*gadget);
            ASSERT_EQ(mensagens.size(), i) << "one box per failed refresh";
            EXPECT_FALSE(mensagens.last().isEmpty());
            ExpectValores(Resumo(), esperado, "while down");
            ExpectValores(Detalhe(), esperado, "while down");
            std::printf("server down, refresh %d of %d: box \"%s\"\n", i, falhas,
                        qPrintable(QString(mensagens.last()).replace(u'\n', u' ')));
        }

        // Sold while the gadget could not see it.
        Pedido nova;
        nova.dataPedido = HOJE;
        nova.hora = QStringLiteral("10:20");
        nova.totalPedido = 7.00;
        servidor->addPedido(nova);
        retransmissor.ligar();

        mensagens.clear();
        AtualizarPeloLaco(*gadget);
        EXPECT_EQ(mensagens, QStringList()) << "the first refresh with the server back works";
        esperado[10 - 8] += 7.00;
        ExpectValores(Resumo(), esperado, "back");
        ExpectValores(Detalhe(), esperado, "back");
        EXPECT_EQ(Texto("lblNomeFilialMin"), QStringLiteral("Loja Centro"));
        mensagens.clear();
    }
}

class BancoComFalha : public VendasHoraTeste {};

TEST_F(BancoComFalha, ServidorQueNaoRespondeDesisteNoLimite)
{
    PortaMuda muda;
    conexao.setConfiguracao(QStringLiteral("R"), QStringLiteral("0"),
                            QStringLiteral("127.0.0.1/%1").arg(muda.porta()),
                            QStringLiteral("/tmp/loja.fdb"), QStringLiteral("SYSDBA"),
                            QStringLiteral("senha-que-nao-aparece"));
    QElapsedTimer relogio;
    relogio.start();
    AtualizarPeloLaco(*gadget);
    const qint64 ms = relogio.elapsed();
    ASSERT_EQ(mensagens.size(), 1);
    EXPECT_FALSE(mensagens.first().isEmpty());
    EXPECT_FALSE(mensagens.first().contains(QStringLiteral("senha-que-nao-aparece")));
    EXPECT_EQ(muda.conexoesRecebidas(), 3) << "three attempts";
    // A guard against a hang, far above three attempts of a few seconds.
    EXPECT_LT(ms, 30000);
    std::printf("stalled server: gave up after %lld ms with box \"%s\"\n", qint64(ms),
                qPrintable(QString(mensagens.first()).replace(u'\n', u' ')));
}

TEST_F(BancoComFalha, TabelaQueFaltaNaCaixa)
{
    struct Caso {
        const char* tabela;
        const char* empresa; // a branch makes the branch-name lookup run
    };
    for (const Caso& c : {Caso{"PEDIDOC", ""}, Caso{"CDOPERC", ""}, Caso{"FILIAIS", "01"}}) {
        SCOPED_TRACE(c.tabela);
        QTemporaryDir pasta;
        BancoVarejo incompleto(pasta.filePath(QStringLiteral("incompleto.fdb")));
        PreencherVendas(incompleto);
        incompleto.executar(QStringLiteral("DROP TABLE %1").arg(QLatin1String(c.tabela)));
        const QString iniIncompleto = pasta.filePath(QStringLiteral("ConfigGadGet.Ini"));
        EscreverIniBanco(iniIncompleto, incompleto.acesso());
        qputenv("VANTREL_GADGETS_INI", iniIncompleto.toLocal8Bit());
        const AcessoBanco& a = incompleto.acesso();
        ConfigurarConexao(conexao, a);
        config.setEmpresa(QLatin1String(c.empresa));
        Constroi();
        mensagens.clear();

        AtualizarPeloLaco(*gadget);
        ASSERT_EQ(mensagens.size(), 1);
        EXPECT_TRUE(mensagens.first().contains(QLatin1String(c.tabela)))
            << mensagens.first().toStdString();
        EXPECT_EQ(Resumo()->Serie(), nullptr) << "no chart from a failed first start";
        std::printf("without %s: box \"%s\"\n", c.tabela,
                    qPrintable(QString(mensagens.first()).replace(u'\n', u' ')));
    }
}

} // namespace
