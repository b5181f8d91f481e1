// The gadget reads the database on a thread of its own: the window goes on
// painting and ticking during a slow reading, a tick during it starts no
// second one, a day change drops it for the new day, and a network that
// goes silent ends the reading with a box in bounded time.

#include "data/fila_banco.h"
#include "data/query.h"
#include "frame/botao.h"
#include "frame/retangulo.h"
#include "frame/temporizador.h"
#include "tests/robust/servidor_pela_rede.h"
#include "tests/support/atualizacao.h"
#include "tests/support/gadget_vendas_hora.h"
#include "tests/support/rede_teste.h"

#include <QElapsedTimer>
#include <QMap>
#include <QPointer>
#include <QScopeGuard>
#include <algorithm>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// Gives the tests the refresh timer's own tick.
class TVendasHoraComTique : public TVendasHora {
public:
    using TVendasHora::TVendasHora;
    void Tique() { IniciarGadget(tmrPrincipal); }
};

// Counts what a filter sees of one kind of event on one object.
class Contador : public QObject {
public:
    Contador(QObject* alvo, QEvent::Type tipo) : FTipo(tipo) { alvo->installEventFilter(this); }
    int vezes = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == FTipo)
            ++vezes;
        return false;
    }

private:
    QEvent::Type FTipo;
};

// The relay slows or silences the network.
class LeituraPelaRede : public ServidorPelaRede {
protected:
    void SetUp() override
    {
        ServidorPelaRede::SetUp();
        if (HasFatalFailure())
            return;
        delete gadget.data();
        comTique = new TVendasHoraComTique(&host);
        gadget = comTique;
        gadget->SetConfig(&config);
        gadget->SetConexao(&conexao);
        gadget->PosicionaGadGet();
        AtualizarPeloLaco(*gadget);
        ASSERT_EQ(mensagens, QStringList());
        ExpectValores(Resumo(), Esperado(0, 8, 18), "before");
    }

    void TearDown() override
    {
        retransmissor.setAtraso(0ms);
        retransmissor.setMudo(false);
        EsperaLeitura();
        VendasHoraTeste::TearDown();
    }

    // Counts the new series of the summary chart from now on: one per
    // reading whose result showed.
    struct SeriesNovas {
        explicit SeriesNovas(TGraficoVendas* grafico) : ultima(grafico->Serie())
        {
            QObject::connect(&olhar, &QTimer::timeout, [this, grafico] {
                if (grafico->Serie() && (!ultima || ultima.data() != grafico->Serie())) {
                    ++vezes;
                    ultima = grafico->Serie();
                }
            });
            olhar.start(2);
        }
        QPointer<QLineSeries> ultima;
        QTimer olhar;
        int vezes = 0;
    };

    TVendasHoraComTique* comTique = nullptr;
};

TEST_F(LeituraPelaRede, JanelaPintaETiqueteDuranteUmaLeituraLenta)
{
    retransmissor.setAtraso(250ms);
    Contador pinturas(&host, QEvent::Paint);
    int tiques = 0;
    QTimer relogio;
    QObject::connect(&relogio, &QTimer::timeout, [&] {
        ++tiques;
        host.update();
    });
    relogio.start(20);
    const QPointer<QLineSeries> antes = Resumo()->Serie();
    const TRetangulo* quadro = Controle<TRetangulo>("rtgGadget");

    gadget->IniciarGadget(gadget);
    const int tiquesNaChamada = tiques;
    EXPECT_EQ(quadro->cursor().shape(), Qt::BusyCursor) << "a sign that it reads";
    ASSERT_TRUE(QTest::qWaitFor([&] { return antes.isNull(); }, 60000));
    EXPECT_EQ(tiquesNaChamada, 0) << "the call itself does not wait for the database";
    std::printf("slow reading: %d ticks of 20 ms and %d paints while it ran\n",
                tiques - tiquesNaChamada, pinturas.vezes);
    EXPECT_GE(tiques - tiquesNaChamada, 5) << "the event loop turned during the reading";
    EXPECT_GE(pinturas.vezes, 2) << "the window painted during the reading";
    EsperaLeitura();
    EXPECT_NE(quadro->cursor().shape(), Qt::BusyCursor);
    ExpectValores(Resumo(), Esperado(0, 8, 18), "after");
    EXPECT_EQ(mensagens, QStringList());
}

// What the server's monitoring tables show of the gadget's transactions while
// a slow reading runs: read-only read committed ones, which hold back no
// garbage collection of the shop's database however long they last.
TEST_F(LeituraPelaRede, LeituraLentaUsaTransacaoSoLeituraReadCommitted)
{
    retransmissor.setAtraso(250ms);
    TConexao monitor;
    ConfigurarConexao(monitor, servidor->acesso());
    ASSERT_TRUE(monitor.ConectarBanco());
    TQuery transacoes(monitor.GetBancoDados(), monitor.GetTransaction());
    transacoes.SetSQL(
        {QStringLiteral("SELECT t.MON$ISOLATION_MODE AS MODO, t.MON$READ_ONLY AS SO_LEITURA"),
         QStringLiteral("FROM MON$TRANSACTIONS t JOIN MON$ATTACHMENTS a"),
         QStringLiteral("ON a.MON$ATTACHMENT_ID = t.MON$ATTACHMENT_ID"),
         QStringLiteral("WHERE a.MON$ATTACHMENT_ID <> CURRENT_CONNECTION"),
         QStringLiteral("AND a.MON$REMOTE_PID = :Pid")});
    transacoes.SetParam(QStringLiteral("Pid"), qint64(getpid()));

    gadget->IniciarGadget(gadget);
    int amostras = 0;
    QMap<QString, int> vistas; // "isolation/read-only" and how often
    while (gadget->Lendo()) {
        transacoes.Open();
        for (int i = 0; i < transacoes.Linhas(); ++i)
            ++vistas[transacoes.AsString(i, QStringLiteral("MODO")) + u'/'
                     + transacoes.AsString(i, QStringLiteral("SO_LEITURA"))];
        ++amostras;
        QTest::qWait(20);
    }
    EsperaLeitura();
    std::printf("slow reading: %d samples of MON$TRANSACTIONS, seen (isolation/read-only):",
                amostras);
    for (auto v = vistas.cbegin(); v != vistas.cend(); ++v)
        std::printf(" %s x%d", qPrintable(v.key()), v.value());
    std::printf("\n");
    ASSERT_FALSE(vistas.isEmpty()) << "no transaction seen during the reading";
    // 2: read committed (record version); a snapshot would be 1.
    EXPECT_EQ(vistas.keys().join(u' ').toStdString(), "2/1");
    ExpectValores(Resumo(), Esperado(0, 8, 18), "after");
    EXPECT_EQ(mensagens, QStringList());
}

TEST_F(LeituraPelaRede, TiqueDuranteALeituraNaoIniciaOutra)
{
    retransmissor.setAtraso(200ms);
    const auto series = std::make_unique<SeriesNovas>(Resumo());
    comTique->Tique();
    for (int i = 0; i < 3; ++i) {
        QTest::qWait(100);
        comTique->Tique();
    }
    EsperaLeitura();
    EXPECT_EQ(series->vezes, 1) << "one reading, one new series";
    ExpectValores(Resumo(), Esperado(0, 8, 18), "after");
    EXPECT_EQ(mensagens, QStringList());
    // Once it ended, a tick reads again.
    comTique->Tique();
    EsperaLeitura();
    EXPECT_EQ(series->vezes, 2);
}

TEST_F(LeituraPelaRede, DiaMudadoDuranteALeituraMostraSoONovoDia)
{
    struct Caso {
        const char* nome;
        const char* botao;
        int dia;
    };
    for (const Caso& c : {Caso{"back from today", "btnVoltMin", -1},
                          Caso{"back again, from the detail view", "btnVoltMax", -2}}) {
        SCOPED_TRACE(c.nome);
        if (QLatin1String(c.botao) == QLatin1String("btnVoltMax"))
            gadget->RMaximizarClick(gadget);
        retransmissor.setAtraso(250ms);
        const auto series = std::make_unique<SeriesNovas>(Resumo());
        comTique->Tique();
        QTest::qWait(300);
        ASSERT_TRUE(gadget->Lendo());
        QTest::mouseClick(Controle<TBotao>(c.botao), Qt::LeftButton);
        EsperaLeitura();
        retransmissor.setAtraso(0ms);
        EXPECT_EQ(series->vezes, 1) << "the reading of the day before never showed";
        ExpectValores(Resumo(), Esperado(c.dia, 8, 18), "summary");
        ExpectValores(Detalhe(), Esperado(c.dia, 8, 18), "detail");
        for (const char* edicao : {"cleGrafMin", "cleGrafMax"})
            EXPECT_EQ(Controle<TDataEdit>(edicao)->date(), HOJE.addDays(c.dia)) << edicao;
        EXPECT_TRUE(Controle<TBotao>("btnAvanMin")->isEnabled());
        EXPECT_EQ(mensagens, QStringList());
    }
}

TEST_F(LeituraPelaRede, RedeMudaTerminaALeituraComUmaCaixaEAProximaVolta)
{
    TFilaBanco& fila = TFilaBanco::Programa();
    const auto limite = fila.Limite();
    const auto volta = qScopeGuard([&] { fila.SetLimite(limite); });
    fila.SetLimite(3s);

    retransmissor.setMudo(true);
    const int conexoesAntes = retransmissor.conexoes();
    int tiques = 0;
    QTimer relogio;
    QObject::connect(&relogio, &QTimer::timeout, [&] { ++tiques; });
    relogio.start(20);
    QElapsedTimer tempo;
    tempo.start();
    comTique->Tique();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !gadget->Lendo(); }, 90000));
    const qint64 ms = tempo.elapsed();
    std::printf("silent network: box after %lld ms, %d ticks of 20 ms meanwhile: \"%s\"\n", ms,
                tiques, qPrintable(QString(mensagens.value(0)).replace(u'\n', u' ')));
    EXPECT_LT(ms, 60000);
    ASSERT_EQ(mensagens.size(), 1);
    // The limit the box states is the one applied: once the time ran out,
    // no new login was tried on the silent network (each one would have
    // added seconds the box does not state).
    EXPECT_TRUE(mensagens.first().startsWith(
        QStringLiteral("O banco de dados não respondeu em 3 segundos;")))
        << mensagens.first().toStdString();
    EXPECT_EQ(retransmissor.conexoes(), conexoesAntes) << "attached after the time ran out";
    EXPECT_GE(tiques, int(ms / 20 / 4)) << "the event loop turned while it waited";
    ExpectValores(Resumo(), Esperado(0, 8, 18), "kept while silent");

    // Sold while the network was silent.
    Pedido nova;
    nova.dataPedido = HOJE;
    nova.hora = QStringLiteral("10:20");
    nova.totalPedido = 7.00;
    servidor->addPedido(nova);
    retransmissor.setMudo(false);
    mensagens.clear();
    AtualizarPeloLaco(*gadget);
    EXPECT_EQ(mensagens, QStringList()) << "the next reading works";
    QList<double> esperado = Esperado(0, 8, 18);
    esperado[10 - 8] += 7.00;
    ExpectValores(Resumo(), esperado, "back");
}

// Readings the limit cuts one after another: the next automatic try waits
// 2, 4, ... ticks of the refresh timer, up to 30 minutes (6 ticks of the 5
// minutes here); the user's own day change tries at once, and a reading
// that works ends the waiting.
TEST_F(LeituraPelaRede, TempoEsgotadoEsperaCadaVezMaisPelaProximaTentativa)
{
    TFilaBanco& fila = TFilaBanco::Programa();
    const auto limite = fila.Limite();
    const auto volta = qScopeGuard([&] { fila.SetLimite(limite); });
    fila.SetLimite(2s);
    retransmissor.setAtraso(400ms);
    // Whether a tick started a reading ('L') or was let go ('-').
    const auto tique = [&] {
        comTique->Tique();
        const bool leu = gadget->Lendo();
        EsperaLeitura();
        return leu ? 'L' : '-';
    };
    std::string tiques;
    for (int i = 0; i < 19; ++i)
        tiques += tique();
    EXPECT_EQ(tiques, "L-L---L-----L-----L");
    ASSERT_EQ(mensagens.size(), 5) << mensagens.join(u'|').toStdString();
    for (const QString& m : std::as_const(mensagens))
        EXPECT_EQ(m, mensagens.first()) << "the same words each time";
    EXPECT_TRUE(mensagens.first().startsWith(
        QStringLiteral("O banco de dados não respondeu em 2 segundos; a leitura foi "
                       "interrompida.\nAs próximas atualizações automáticas esperam")))
        << mensagens.first().toStdString();

    retransmissor.setAtraso(0ms);
    mensagens.clear();
    EXPECT_EQ(tique(), '-') << "still waiting";
    QTest::mouseClick(Controle<TBotao>("btnVoltMin"), Qt::LeftButton);
    EXPECT_TRUE(gadget->Lendo()) << "a day change reads at once";
    EsperaLeitura();
    ExpectValores(Resumo(), Esperado(-1, 8, 18), "the day before");
    EXPECT_EQ(std::string() + tique() + tique(), "LL") << "no more waiting once it worked";
    EXPECT_EQ(mensagens, QStringList());
}

// While a box is open (the user has not pressed "OK" yet) refreshes go on:
// the same failure again shows no second box on the first; another one does.
TEST_F(LeituraPelaRede, UmaCaixaDeCadaVezParaOMesmoErro)
{
    TFilaBanco& fila = TFilaBanco::Programa();
    const auto limite = fila.Limite();
    const auto volta = qScopeGuard([&] { fila.SetLimite(limite); });
    fila.SetLimite(2s);
    retransmissor.setAtraso(400ms);
    QStringList mostradas;
    int abertas = 0;
    int maisAbertas = 0;
    const auto atualizarAgora = [&] {
        gadget->IniciarGadget(gadget);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !gadget->Lendo(); }, 60000));
        QCoreApplication::processEvents();
    };
    plataforma::Ganchos().mensagem = [&](plataforma::TCaixa, const QString& texto) {
        mostradas << texto;
        maisAbertas = std::max(maisAbertas, ++abertas);
        if (mostradas.size() == 1) {
            atualizarAgora(); // cut by the limit again
            retransmissor.desligar();
            atualizarAgora(); // the server is gone: another error
        }
        --abertas;
    };
    comTique->Tique();
    EsperaLeitura();
    for (const QString& m : std::as_const(mostradas))
        std::printf("box: \"%s\"\n", qPrintable(QString(m).replace(u'\n', u' ')));
    ASSERT_EQ(mostradas.size(), 2);
    EXPECT_TRUE(mostradas[0].startsWith(QStringLiteral("O banco de dados não respondeu em 2")))
        << mostradas[0].toStdString();
    EXPECT_NE(mostradas[1], mostradas[0]);
    EXPECT_EQ(maisAbertas, 2) << "the other error shows over the open box";
}

} // namespace
