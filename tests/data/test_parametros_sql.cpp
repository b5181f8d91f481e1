#include "data/parametros_sql.h"

#include <gtest/gtest.h>

namespace {

struct Caso {
    const char* nome;
    QString sql;
    QString esperado;
    QStringList nomes;
};

TEST(ReescreverParametros, TrocaNomesPorInterrogacaoForaDeLiteraisEComentarios)
{
    const Caso casos[] = {
        {"simples", "SELECT * FROM T WHERE A = :A", "SELECT * FROM T WHERE A = ?", {"A"}},
        {"caixa do nome", "WHERE D = :PdataIni", "WHERE D = ?", {"PDATAINI"}},
        {"nome repetido", "WHERE A = :Cod OR B = :cod", "WHERE A = ? OR B = ?", {"COD", "COD"}},
        {"vários nomes em ordem", "(:B, :A, :B)", "(?, ?, ?)", {"B", "A", "B"}},
        {"dígitos e sublinhado", "A=:Cod_Filial2,B", "A=?,B", {"COD_FILIAL2"}},
        {"aspas simples", "WHERE A = ':nao' AND B = :B", "WHERE A = ':nao' AND B = ?", {"B"}},
        {"aspas duplas", "WHERE A = \":nao\" AND B = :B", "WHERE A = \":nao\" AND B = ?", {"B"}},
        {"aspas dobradas", "'it''s :nao' = :X", "'it''s :nao' = ?", {"X"}},
        {"aspas duplas vazias", "(C = \"\") AND D = :D", "(C = \"\") AND D = ?", {"D"}},
        {"comentário de linha", "-- :nao\nWHERE A = :A", "-- :nao\nWHERE A = ?", {"A"}},
        {"comentário de bloco", "/* :nao\n:nao */ :A", "/* :nao\n:nao */ ?", {"A"}},
        {"traços num literal", "'a--b' = :X", "'a--b' = ?", {"X"}},
        {"barra-asterisco num literal", "'/*' = :X", "'/*' = ?", {"X"}},
        {"literal sem fim", "A = 'abc :nao", "A = 'abc :nao", {}},
        {"comentário sem fim", "A /* :nao", "A /* :nao", {}},
        {"dois-pontos sem nome", "A : B, C :", "A : B, C :", {}},
        {"um menos só", "A - :B", "A - ?", {"B"}},
        {"quebra de linha depois do nome", "A = :A\nB", "A = ?\nB", {"A"}},
    };
    for (const Caso& c : casos) {
        const TSqlPosicional r = ReescreverParametros(c.sql);
        EXPECT_EQ(r.sql, c.esperado) << c.nome;
        EXPECT_EQ(r.nomes, c.nomes) << c.nome;
    }
}

TEST(ReescreverParametros, ConsultaDeVendasEmVariasLinhas)
{
    const QString sql = QStringLiteral(
        "SELECT Substring(PedidoC.Hora From 1 For 2) As Hora FROM PedidoC"
        " WHERE PedidoC.DataPedido = :PDataIni AND PedidoC.Faturado = \"S\"\n"
        "AND ((pedidoc.codpedidoimportado IS NULL) OR (pedidoc.codpedidoimportado = \"\"))\n"
        "AND PedidoC.CodEmpresa = :CodEmpresa\n"
        "Group By PedidoC.DataPedido, Substring(PedidoC.Hora From 1 For 2)");
    const TSqlPosicional r = ReescreverParametros(sql);
    EXPECT_EQ(r.nomes, (QStringList{"PDATAINI", "CODEMPRESA"}));
    EXPECT_EQ(r.sql.count(u'?'), 2);
    EXPECT_TRUE(r.sql.contains(QStringLiteral("DataPedido = ? AND")));
    EXPECT_TRUE(r.sql.contains(QStringLiteral("codpedidoimportado = \"\"))\nAND")));
}

} // namespace
