// The database thread: jobs off the UI thread and in order, results back on
// it, and the ways a job that nobody wants or that runs too long is stopped.

#include "base/erro.h"
#include "data/conexao.h"
#include "data/fila_banco.h"
#include "data/query.h"
#include "tests/fixtures/banco_varejo.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>

namespace {

using namespace std::chrono_literals;

// A statement that keeps the engine busy for minutes: every triple of the
// system's field descriptions.
const QString LONGA = QStringLiteral(
    "SELECT COUNT(*) AS N FROM RDB$FIELDS A, RDB$FIELDS B, RDB$FIELDS C, RDB$FIELDS D");

class FilaBanco : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pasta.isValid());
        banco = std::make_unique<BancoVarejo>(pasta.filePath(QStringLiteral("loja.fdb")));
        const AcessoBanco& a = banco->acesso();
        ConfigurarConexao(conexao, a);
    }

    // A job that runs LONGA on the connection and keeps its error's text.
    TFilaBanco::TTrabalho Longa(std::shared_ptr<QString> erro)
    {
        return [this, erro] {
            try {
                conexao.ConectarBanco();
                conectou = true;
                TQuery query(conexao.GetBancoDados(), conexao.GetTransaction());
                query.SetSQL({LONGA});
                query.Open();
                *erro = QStringLiteral("ended without an error");
            } catch (const TErro& e) {
                *erro = e.Texto();
                throw;
            }
        };
    }

    QTemporaryDir pasta;
    std::unique_ptr<BancoVarejo> banco;
    TConexao conexao;
    QObject contexto;
    std::atomic<bool> conectou = false;

    // A loaded machine may take seconds to attach; the statement is what
    // the cases stop.
    void EsperarLonga()
    {
        QDeadlineTimer prazo(60000);
        while (!conectou && !prazo.hasExpired())
            QThread::msleep(10);
        ASSERT_TRUE(conectou) << "never attached";
        QThread::msleep(300);
    }
};

TEST_F(FilaBanco, TrabalhosEmOrdemForaDaLinhaDaTelaComOResultadoNela)
{
    TFilaBanco fila(60s);
    struct Caso {
        const char* nome;
        bool falha;
    };
    QStringList ordem;
    int entregues = 0;
    for (const Caso& c : {Caso{"works", false}, Caso{"fails", true}, Caso{"works again", false}}) {
        fila.Enfileirar(
            &contexto,
            [&ordem, c] {
                ordem << QLatin1String(c.nome); // the fim of the one before has not run yet
                EXPECT_NE(QThread::currentThread(), qApp->thread()) << c.nome;
                if (c.falha)
                    throw TErro(QStringLiteral("falhou: %1").arg(QLatin1String(c.nome)));
            },
            [&, c](std::exception_ptr erro) {
                ++entregues;
                EXPECT_EQ(QThread::currentThread(), qApp->thread()) << c.nome;
                if (!c.falha) {
                    EXPECT_FALSE(erro) << c.nome;
                    return;
                }
                ASSERT_TRUE(erro) << c.nome;
                try {
                    std::rethrow_exception(erro);
                } catch (const TErro& e) {
                    EXPECT_EQ(e.Texto(), QStringLiteral("falhou: fails"));
                }
            });
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return entregues == 3; }, 10000));
    EXPECT_EQ(ordem, QStringList({"works", "fails", "works again"}));
}

TEST_F(FilaBanco, ExecutarDevolveOErroNaLinhaQueEspera)
{
    TFilaBanco fila(60s);
    EXPECT_TRUE(fila.Executar([] {}));
    try {
        fila.Executar([] { throw TErro(QStringLiteral("sem banco")); });
        ADD_FAILURE() << "no error came back";
    } catch (const TErro& e) {
        EXPECT_EQ(e.Texto(), QStringLiteral("sem banco"));
    }
}

TEST_F(FilaBanco, TrabalhoAbandonadoNaoEntregaEAConsultaECancelada)
{
    TFilaBanco fila(60s);
    auto erro = std::make_shared<QString>();
    bool entregue = false;
    const auto marca = [&entregue](std::exception_ptr) { entregue = true; };
    const quint64 longa = fila.Enfileirar(&contexto, Longa(erro), marca);
    std::atomic<bool> rodou = false;
    const quint64 depois = fila.Enfileirar(
        &contexto, [&rodou] { rodou = true; }, marca);
    fila.Abandonar(depois); // still queued
    EsperarLonga();
    QElapsedTimer relogio;
    relogio.start();
    fila.Abandonar(longa);
    fila.Aguardar(longa);
    // Far above a cancel, far below the statement's own minutes.
    EXPECT_LT(relogio.elapsed(), 10000);
    EXPECT_TRUE(erro->contains(QLatin1String("cancel"))) << erro->toStdString();
    QTest::qWait(100);
    EXPECT_FALSE(entregue);
    EXPECT_FALSE(rodou);
    // The connection is good for the next job.
    EXPECT_TRUE(fila.Executar([this] {
        conexao.ConectarBanco();
        TQuery query(conexao.GetBancoDados(), conexao.GetTransaction());
        query.SetSQL({QStringLiteral("SELECT COUNT(*) AS N FROM FILIAIS")});
        query.Open();
    }));
}

// Ended, its result still among the events of the UI thread, as when a day
// change is handled before it.
TEST_F(FilaBanco, TrabalhoAbandonadoDepoisDeTerminarNaoEntrega)
{
    TFilaBanco fila(60s);
    bool entregue = false;
    const quint64 numero = fila.Enfileirar(
        &contexto, [] {}, [&entregue](std::exception_ptr) { entregue = true; });
    fila.Aguardar(numero);
    fila.Abandonar(numero);
    QTest::qWait(100);
    EXPECT_FALSE(entregue);
}

TEST_F(FilaBanco, TrabalhoQuePassaDoLimiteTerminaComOErroDoTempo)
{
    TFilaBanco fila(1s);
    auto erro = std::make_shared<QString>();
    QElapsedTimer relogio;
    relogio.start();
    try {
        fila.Executar(Longa(erro));
        ADD_FAILURE() << "the statement ran to its end";
    } catch (const TErro& e) {
        EXPECT_EQ(e.Texto(), TErroTempoEsgotado(1s).Texto());
    }
    EXPECT_LT(relogio.elapsed(), 10000);
    // Cancelled, or its connection closed when it was still attaching.
    EXPECT_FALSE(erro->isEmpty() || *erro == QLatin1String("ended without an error"))
        << erro->toStdString();
}

// A limit of 0 is none: the job runs to its end however long it takes.
TEST_F(FilaBanco, LimiteZeroNaoCortaNada)
{
    TFilaBanco fila(0ms);
    int filiais = -1;
    EXPECT_TRUE(fila.Executar([&] {
        conexao.ConectarBanco();
        QThread::msleep(300);
        TQuery query(conexao.GetBancoDados(), conexao.GetTransaction());
        query.SetSQL({QStringLiteral("SELECT COUNT(*) AS N FROM FILIAIS")});
        query.Open();
        filiais = query.Value(0, QStringLiteral("N")).toInt();
    }));
    EXPECT_EQ(filiais, 0);
}

TEST_F(FilaBanco, EncerrarParaOQueRodaEFechaAFila)
{
    TFilaBanco fila(60s);
    auto erro = std::make_shared<QString>();
    fila.Enfileirar(&contexto, Longa(erro), [](std::exception_ptr) {});
    EsperarLonga();
    bool ultimo = false;
    QElapsedTimer relogio;
    relogio.start();
    ASSERT_TRUE(fila.Encerrar(5s, [&] { ultimo = true; }));
    EXPECT_LT(relogio.elapsed(), 5000);
    EXPECT_TRUE(ultimo) << "the last job runs on the way out";
    EXPECT_EQ(fila.Enfileirar(
                  &contexto, [] {}, [](std::exception_ptr) {}),
              0u);
    EXPECT_FALSE(fila.Executar([] {}));
}

} // namespace
