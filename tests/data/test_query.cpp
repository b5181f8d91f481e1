#include "data/conexao.h"
#include "data/query.h"
#include "tests/fixtures/banco_varejo.h"
#include "tests/support/erro_de.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// GCC 12 warns about every member that a designated initializer leaves to
// its default.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

class Consulta : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        banco = std::make_unique<BancoVarejo>(dir.filePath(QStringLiteral("loja.fdb")));
    }

    // Connects after the rows are in: the snapshot sees them.
    TConexao& conexao()
    {
        if (!conectada) {
            const AcessoBanco& a = banco->acesso();
            conectada = std::make_unique<TConexao>();
            ConfigurarConexao(*conectada, a);
            conectada->ConectarBanco();
        }
        return *conectada;
    }

    std::unique_ptr<TQuery> consulta(const QStringList& linhas)
    {
        auto query =
            std::make_unique<TQuery>(conexao().GetBancoDados(), conexao().GetTransaction());
        query->SetSQL(linhas);
        return query;
    }

    QTemporaryDir dir;
    std::unique_ptr<BancoVarejo> banco;
    std::unique_ptr<TConexao> conectada;
};

TEST_F(Consulta, ParametrosSeguemOTipoQueOComandoPede)
{
    const QDate dia(2024, 3, 15);
    Pedido p;
    p.codPedido = 7;
    p.dataPedido = dia;
    p.totalPedido = 12.34;
    p.codCliente = 30000;
    banco->addPedido(p);
    p.codPedido = 8;
    p.dataPedido = dia.addDays(1);
    p.totalPedido = 99.0;
    p.codPedidoDevolucao = 7;
    banco->addPedido(p);

    struct Caso {
        const char* nome;
        QString condicao;
        QVariant valor;
        QVariant pedido; // the codPedido found, null: none
    };
    const Caso casos[] = {
        {"texto", "CODEMPRESA = :V AND CODPEDIDO = 7", QStringLiteral("01"), 7},
        {"data num DATE de dialeto 1, que é TIMESTAMP", "DATAPEDIDO = :V", dia, 7},
        {"data e hora", "DATAPEDIDO = :V", QDateTime(dia.addDays(1), QTime(0, 0)), 8},
        {"inteiro", "CODPEDIDO = :V", 8, 8},
        {"inteiro longo", "CODPEDIDO = :V", qint64(7), 7},
        {"real em NUMERIC de dialeto 1, que é DOUBLE", "TOTALPEDIDO = :V", 12.34, 7},
        {"inteiro em DOUBLE", "TOTALPEDIDO = :V", 99, 8},
        {"real em NUMERIC(9,2) com escala", "CAST(TOTALPEDIDO AS NUMERIC(9,2)) = :V", 12.34, 7},
        {"real arredondado para a escala", "CAST(TOTALPEDIDO AS NUMERIC(9,2)) = :V", 12.3449, 7},
        {"SMALLINT", "CAST(CODPEDIDO AS SMALLINT) = :V", 7, 7},
        {"texto num INTEGER: o servidor converte", "CODPEDIDO = :V", QStringLiteral("8"), 8},
        {"texto numa data: o servidor converte", "DATAPEDIDO = :V", QStringLiteral("2024-03-15"),
         7},
        {"nulo não é igual a nada", "CODPEDIDODEVOLUCAO = :V", QVariant(), QVariant()},
        {"nome repetido", "CODPEDIDO = :V OR CODPEDIDODEVOLUCAO = :v", 8, 8},
        {"nome repetido, segunda ocorrência", "CODPEDIDO = :V + 10 OR CODPEDIDODEVOLUCAO = :v", 7,
         8},
    };
    for (const Caso& c : casos) {
        auto query = consulta({QStringLiteral("SELECT CODPEDIDO FROM PEDIDOC"),
                               QStringLiteral("WHERE ") + c.condicao});
        query->SetParam(QStringLiteral("v"), c.valor);
        query->Open();
        if (c.pedido.isValid()) {
            ASSERT_EQ(query->Linhas(), 1) << c.nome;
            EXPECT_EQ(query->Value(0, QStringLiteral("CODPEDIDO")).toInt(), c.pedido.toInt())
                << c.nome;
        } else {
            EXPECT_EQ(query->Linhas(), 0) << c.nome;
        }
    }
}

TEST_F(Consulta, ValorForaDoIntervaloDoParametroEErro)
{
    auto query = consulta({QStringLiteral("SELECT CODPEDIDO FROM PEDIDOC"),
                           QStringLiteral("WHERE CAST(CODCLIENTE AS SMALLINT) = :V")});
    query->SetParam(QStringLiteral("V"), 100000);
    const QString texto = ErroDe([&] { query->Open(); });
    EXPECT_TRUE(texto.contains(QStringLiteral("100000"))) << texto.toStdString();
    EXPECT_FALSE(query->IsOpen());
}

TEST_F(Consulta, ColunasPorTipo)
{
    Pedido p;
    p.codPedido = 42;
    p.dataPedido = QDate(2024, 3, 15);
    p.hora = QStringLiteral("13:45");
    p.totalPedido = 1234.5;
    banco->addPedido(p);
    Pedido q = p;
    q.codPedido = 43;
    q.hora = QVariant();
    banco->addPedido(q);

    auto query = consulta(
        {QStringLiteral("SELECT CODPEDIDO, DATAPEDIDO, Substring(Hora From 1 For 2) As Hora,"),
         QStringLiteral("TOTALPEDIDO, SUM(TOTALPEDIDO) AS SOMA, FATURADO,"),
         QStringLiteral("CAST(TOTALPEDIDO AS NUMERIC(9,2)) AS ESCALADO"),
         QStringLiteral("FROM PEDIDOC GROUP BY 1, 2, 3, 4, 6 ORDER BY CODPEDIDO")});
    query->Open();
    ASSERT_EQ(query->Linhas(), 2);
    EXPECT_EQ(query->Value(0, QStringLiteral("codpedido")), QVariant(qint64(42)));
    EXPECT_EQ(query->Value(0, QStringLiteral("DATAPEDIDO")),
              QVariant(QDateTime(QDate(2024, 3, 15), QTime(0, 0))));
    EXPECT_EQ(query->Value(0, QStringLiteral("Hora")), QVariant(QStringLiteral("13")));
    EXPECT_EQ(query->Value(0, QStringLiteral("TOTALPEDIDO")), QVariant(1234.5));
    EXPECT_EQ(query->Value(0, QStringLiteral("SOMA")), QVariant(1234.5));
    EXPECT_EQ(query->Value(0, QStringLiteral("ESCALADO")), QVariant(1234.5));
    EXPECT_EQ(query->AsString(0, QStringLiteral("FATURADO")), QStringLiteral("S"));

    EXPECT_FALSE(query->Value(1, QStringLiteral("HORA")).isValid());
    EXPECT_EQ(query->AsString(1, QStringLiteral("HORA")), QString());
    EXPECT_EQ(query->Colunas(), (QStringList{"CODPEDIDO", "DATAPEDIDO", "HORA", "TOTALPEDIDO",
                                             "SOMA", "FATURADO", "ESCALADO"}));
}

TEST_F(Consulta, ResultadoVazioLeComoNulo)
{
    auto query = consulta({QStringLiteral("SELECT NOMEEMPRESA, SUM(TOTALPEDIDO) AS T FROM FILIAIS"),
                           QStringLiteral("LEFT JOIN PEDIDOC ON 1 = 0 WHERE CODEMPRESA = 'XX'"),
                           QStringLiteral("GROUP BY NOMEEMPRESA")});
    query->Open();
    EXPECT_EQ(query->Linhas(), 0);
    EXPECT_EQ(query->AsString(0, QStringLiteral("NOMEEMPRESA")), QString());
    EXPECT_EQ(query->AsFloat(0, QStringLiteral("T")), 0.0);
    EXPECT_TRUE(ErroDe([&] {
                    query->Value(0, QStringLiteral("NAOEXISTE"));
                }).contains(QStringLiteral("NAOEXISTE")));
}

TEST_F(Consulta, SomaNulaLeComoZero)
{
    banco->addFilial(QStringLiteral("01"), QStringLiteral("Centro"));
    auto query = consulta({QStringLiteral("SELECT SUM(TOTALPEDIDO) AS T FROM PEDIDOC")});
    query->Open();
    ASSERT_EQ(query->Linhas(), 1);
    EXPECT_FALSE(query->Value(0, QStringLiteral("T")).isValid());
    EXPECT_EQ(query->AsFloat(0, QStringLiteral("T")), 0.0);
}

TEST_F(Consulta, TextoEmUtf8OuWindows1252)
{
    struct Caso {
        const char* codigo;
        QByteArray bytes;
        QString esperado;
    };
    const Caso casos[] = {
        {"01", QByteArray("S\xc3\xa3o Jo\xc3\xa3o \xe2\x82\xac"), QStringLiteral("São João €")},
        {"02", QByteArray("S\xe3o Jo\xe3o \x80"), QStringLiteral("São João €")},
        {"03", QByteArray("Loja"), QStringLiteral("Loja")},
    };
    for (const Caso& c : casos) {
        banco->executar(
            QStringLiteral("INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA) VALUES (?, ?)"),
            {QString::fromLatin1(c.codigo), c.bytes});
    }
    auto query =
        consulta({QStringLiteral("SELECT NOMEEMPRESA, CAST(NOMEEMPRESA AS CHAR(20)) AS FIXO"),
                  QStringLiteral("FROM FILIAIS WHERE CODEMPRESA = :C")});
    for (const Caso& c : casos) {
        query->SetParam(QStringLiteral("C"), QString::fromLatin1(c.codigo));
        query->Open();
        ASSERT_EQ(query->Linhas(), 1) << c.codigo;
        EXPECT_EQ(query->AsString(0, QStringLiteral("NOMEEMPRESA")), c.esperado) << c.codigo;
        // CHAR keeps its padding, counted in bytes.
        EXPECT_EQ(query->AsString(0, QStringLiteral("FIXO")),
                  c.esperado + QString(20 - c.bytes.size(), u' '))
            << c.codigo;
    }
}

TEST_F(Consulta, ReconectarFechaAConsulta)
{
    banco->addPedido({});
    auto query = consulta({QStringLiteral("SELECT COUNT(*) AS N FROM PEDIDOC")});
    query->Open();
    EXPECT_TRUE(query->IsOpen());
    EXPECT_EQ(query->Linhas(), 1);

    conexao().ConectarBanco();
    EXPECT_FALSE(query->IsOpen());
    EXPECT_FALSE(ErroDe([&] { query->Value(0, QStringLiteral("N")); }).isEmpty());

    banco->addPedido({});
    conexao().ConectarBanco();
    query->Open();
    EXPECT_TRUE(query->IsOpen());
    EXPECT_EQ(query->Value(0, QStringLiteral("N")).toInt(), 2);
}

TEST_F(Consulta, MudarOComandoFechaAConsulta)
{
    auto query = consulta({QStringLiteral("SELECT 1 AS UM FROM RDB$DATABASE")});
    query->Open();
    query->AdicionarLinha(QStringLiteral("WHERE 1 = 0"));
    EXPECT_FALSE(query->IsOpen());
    EXPECT_EQ(query->TextoSQL(), QStringLiteral("SELECT 1 AS UM FROM RDB$DATABASE\nWHERE 1 = 0"));
    query->Open();
    EXPECT_EQ(query->Linhas(), 0);
    query->LimparSQL();
    EXPECT_EQ(query->TextoSQL(), QString());
}

TEST_F(Consulta, ErrosChegamComOTextoDoServidor)
{
    struct Caso {
        const char* nome;
        QString sql;
        QString trecho;
    };
    const Caso casos[] = {
        {"tabela que não existe", "SELECT X FROM NAOEXISTE", "Table unknown"},
        {"parâmetro sem valor", "SELECT 1 FROM RDB$DATABASE WHERE 1 = :Falta", "FALTA"},
        {"comando que não é consulta", "DELETE FROM PEDIDOC", "SELECT"},
    };
    for (const Caso& c : casos) {
        auto query = consulta({c.sql});
        const QString texto = ErroDe([&] { query->Open(); });
        EXPECT_TRUE(texto.contains(c.trecho)) << c.nome << ": " << texto.toStdString();
        EXPECT_FALSE(query->IsOpen()) << c.nome;
    }
    EXPECT_EQ(banco->addPedido({}), 1) << "nothing was deleted";
}

// Rows handed over one by one read as the rows open() keeps; an error of
// the reader ends the statement and its transaction, so the next runs.
TEST_F(Consulta, PercorrerEntregaAsLinhasDeOpenUmaAUma)
{
    for (int i = 0; i < 3; ++i)
        banco->addPedido({.codEmpresa = QStringLiteral("0%1").arg(i),
                          .dataPedido = QDate(2024, 3, 15 + i),
                          .hora = i == 1 ? QVariant() : QVariant(QStringLiteral("Ação")),
                          .totalPedido = 1.5 * i});
    auto query = consulta({QStringLiteral("SELECT CODEMPRESA, DATAPEDIDO, HORA, TOTALPEDIDO "
                                          "FROM PEDIDOC ORDER BY CODEMPRESA")});
    query->Open();
    ASSERT_EQ(query->Linhas(), 3);
    const QStringList colunas = {"codempresa", "DataPedido", "HORA", "TotalPedido"};
    int linha = 0;
    auto percorrida = consulta({query->TextoSQL()});
    percorrida->Percorrer([&](const TLinhaQuery& lida) {
        for (const QString& coluna : colunas) {
            EXPECT_EQ(lida.Value(coluna), query->Value(linha, coluna)) << coluna.toStdString();
            EXPECT_EQ(lida.AsString(coluna), query->AsString(linha, coluna));
            EXPECT_EQ(lida.AsBytes(coluna), query->AsBytes(linha, coluna));
        }
        EXPECT_EQ(lida.AsFloat(QStringLiteral("TOTALPEDIDO")), 1.5 * linha);
        EXPECT_TRUE(ErroDe([&] { lida.Value(QStringLiteral("NAOHA")); }).contains("NAOHA"));
        ++linha;
    });
    EXPECT_EQ(linha, 3);
    EXPECT_FALSE(percorrida->IsOpen());

    EXPECT_EQ(ErroDe([&] {
                  percorrida->Percorrer(
                      [](const TLinhaQuery&) { throw TErro(QStringLiteral("parou")); });
              }),
              QStringLiteral("parou"));
    linha = 0;
    percorrida->Percorrer([&](const TLinhaQuery&) { ++linha; });
    EXPECT_EQ(linha, 3);
}

TEST_F(Consulta, ConexaoNuncaAnexadaNaoAbre)
{
    TConexao solta;
    TQuery query(solta.GetBancoDados(), solta.GetTransaction());
    query.SetSQL({QStringLiteral("SELECT 1 FROM RDB$DATABASE")});
    EXPECT_FALSE(ErroDe([&] { query.Open(); }).isEmpty());
    EXPECT_FALSE(query.IsOpen());
}

TEST(ConsultaDialeto3, NumericLargoDataEHora)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString arquivo = dir.filePath(QStringLiteral("d3.fdb"));
    CriarBancoVazio(arquivo, QStringLiteral("SYSDBA"), QStringLiteral("masterkey"), 3);
    TConexao conexao;
    conexao.SetConfiguracao(QStringLiteral("L"), QString(), QString(), arquivo,
                            QStringLiteral("SYSDBA"), QStringLiteral("masterkey"));
    ASSERT_TRUE(conexao.ConectarBanco());
    TQuery query(conexao.GetBancoDados(), conexao.GetTransaction());
    query.SetSQL(
        {QStringLiteral("SELECT CAST(:N AS NUMERIC(18,2)) AS N, CAST(:D AS DATE) AS D,"),
         QStringLiteral("CAST(:H AS TIME) AS H, CAST(:N AS BIGINT) AS B FROM RDB$DATABASE")});
    query.SetParam(QStringLiteral("N"), 123456789012.345);
    query.SetParam(QStringLiteral("D"), QDate(2024, 2, 29));
    query.SetParam(QStringLiteral("H"), QTime(13, 45, 30, 250));
    query.Open();
    ASSERT_EQ(query.Linhas(), 1);
    EXPECT_EQ(query.Value(0, QStringLiteral("N")), QVariant(123456789012.35));
    EXPECT_EQ(query.Value(0, QStringLiteral("D")), QVariant(QDate(2024, 2, 29)));
    EXPECT_EQ(query.Value(0, QStringLiteral("H")), QVariant(QTime(13, 45, 30, 250)));
    // The second N is asked for as a BIGINT without scale.
    EXPECT_EQ(query.Value(0, QStringLiteral("B")), QVariant(qint64(123456789012)));
}

} // namespace
