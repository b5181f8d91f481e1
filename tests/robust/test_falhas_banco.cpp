// The gadget against a database server that stops, stalls or lacks a table:
// every failed refresh shows one box and the gadget goes on; the first
// refresh that can reach the server again shows current data.

#include "tests/robust/servidor_pela_rede.h"
#include "tests/support/atualizacao.h"
#include "tests/support/gadget_vendas_hora.h"
#include "tests/support/rede_teste.h"

#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <atomic>
#include <cstdio>
#include <ibase.h>
#include <mutex>
#include <thread>

namespace {

using namespace std::chrono_literals;

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

// A till of the shop: every 100 ms it attaches through the server, sells and
// detaches, as the shop's system does beside the gadget.
class Caixa {
public:
    explicit Caixa(const QString& arquivo)
    {
        FLinha = std::thread([this, arquivo] {
            while (!FParar) {
                try {
                    Vender(arquivo);
                } catch (const TErro& e) {
                    const std::lock_guard trava(FTrava);
                    if (FErros.isEmpty())
                        FPrimeiroErro = e.Texto();
                    FErros << e.Texto();
                }
                ++FVendas;
                std::this_thread::sleep_for(100ms);
            }
        });
    }
    ~Caixa() { parar(); }
    void parar()
    {
        FParar = true;
        if (FLinha.joinable())
            FLinha.join();
    }
    int vendas() const { return FVendas; }
    int falhas() const
    {
        const std::lock_guard trava(FTrava);
        return int(FErros.size());
    }
    QString primeiroErro() const
    {
        const std::lock_guard trava(FTrava);
        return FPrimeiroErro;
    }

private:
    static void Vender(const QString& arquivo)
    {
        fb::TStatus status;
        fb::TRef<Firebird::IXpbBuilder> dpb(
            fb::Util()->getXpbBuilder(&status, Firebird::IXpbBuilder::DPB, nullptr, 0));
        dpb->insertString(&status, isc_dpb_user_name, "SYSDBA");
        dpb->insertString(&status, isc_dpb_password, SenhaSysdba().toUtf8().constData());
        dpb->insertString(&status, isc_dpb_config, "Providers=Remote");
        fb::TRef<Firebird::IProvider> provedor(fb::Mestre()->getDispatcher());
        fb::TRef<Firebird::IAttachment> anexo(provedor->attachDatabase(
            &status, ("127.0.0.1:" + QFile::encodeName(arquivo)).constData(),
            dpb->getBufferLength(&status), dpb->getBuffer(&status)));
        fb::TRef<Firebird::ITransaction> transacao(anexo->startTransaction(&status, 0, nullptr));
        anexo->execute(&status, transacao.get(), 0,
                       "INSERT INTO PEDIDOC (CODEMPRESA, CODPEDIDO) VALUES ('99', 1)", 1, nullptr,
                       nullptr, nullptr, nullptr);
        fb::Confirmar(transacao);
        fb::Desanexar(anexo);
    }

    std::thread FLinha;
    std::atomic<bool> FParar{false};
    std::atomic<int> FVendas{0};
    mutable std::mutex FTrava;
    QStringList FErros;
    QString FPrimeiroErro;
};

// A local file that the server of this machine serves to the tills, and a
// gadget whose configuration has a password the server refuses. The
// embedded engine would take any password and, holding the file, keep the
// tills out.
TEST_F(VendasHoraTeste, SenhaRecusadaNumArquivoLocalNuncaTiraOArquivoDoServidor)
{
    QTemporaryDir pastaLoja;
    ASSERT_TRUE(pastaLoja.isValid());
    const QString arquivo = pastaLoja.filePath(QStringLiteral("loja.fdb"));
    AcessoBanco acesso;
    {
        BancoVarejo loja(arquivo, BancoVarejo::Onde::Servidor);
        PreencherVendas(loja);
        acesso = loja.acesso();
    }
    acesso.LocRem = QStringLiteral("L");
    acesso.Servidor.clear();
    acesso.Senha = QStringLiteral("senha-que-o-servidor-recusa");
    const QString iniLoja = pastaLoja.filePath(QStringLiteral("ConfigGadGet.Ini"));
    EscreverIniBanco(iniLoja, acesso);
    qputenv("VANTREL_GADGETS_INI", iniLoja.toLocal8Bit());
    ConfigurarConexao(conexao, acesso);
    // A branch: the branch-name lookup attaches on its own at each refresh.
    config.setEmpresa(QStringLiteral("01"));
    const QByteArray servidorLocal = qgetenv("VANTREL_SERVIDOR_LOCAL");
    const auto restaura = qScopeGuard([&] { qputenv("VANTREL_SERVIDOR_LOCAL", servidorLocal); });
    qunsetenv("VANTREL_SERVIDOR_LOCAL"); // the server of this machine answers

    {
        Caixa caixa(arquivo);
        for (int i = 0; i < 20; ++i)
            AtualizarPeloLaco(*gadget);
        caixa.parar();
        std::printf("wrong password on a local file: %d sales of the till, %d failed (%s); "
                    "%d boxes, the first \"%s\"\n",
                    caixa.vendas(), caixa.falhas(), qPrintable(caixa.primeiroErro()),
                    int(mensagens.size()), qPrintable(mensagens.value(0)));
        EXPECT_GE(caixa.vendas(), 10);
        EXPECT_EQ(caixa.falhas(), 0) << caixa.primeiroErro().toStdString();
        ASSERT_EQ(mensagens.size(), 20) << "one box per refresh";
        for (const QString& m : std::as_const(mensagens))
            EXPECT_TRUE(m.contains(QStringLiteral("login recusado pelo servidor")))
                << m.toStdString();
        EXPECT_EQ(Resumo()->Serie(), nullptr) << "nothing read";
    }

    // No server answers: the embedded engine opens the file, as it ignores
    // the password.
    qputenv("VANTREL_SERVIDOR_LOCAL", "127.0.0.1/1");
    mensagens.clear();
    AtualizarPeloLaco(*gadget);
    EXPECT_EQ(mensagens, QStringList());
    ExpectValores(Resumo(), Esperado(0, 8, 18, QStringLiteral("01")), "embedded engine");
    EXPECT_EQ(Texto("lblNomeFilialMin"), QStringLiteral("Loja Centro"));
}

class BancoComFalha : public VendasHoraTeste {};

TEST_F(BancoComFalha, ServidorQueNaoRespondeDesisteNoLimite)
{
    PortaMuda muda;
    conexao.SetConfiguracao(QStringLiteral("R"), QStringLiteral("0"),
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
