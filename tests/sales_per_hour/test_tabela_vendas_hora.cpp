#include "base/erro.h"
#include "sales_per_hour/arredondamento.h"
#include "sales_per_hour/consulta_vendas.h"
#include "sales_per_hour/tabela_vendas_hora.h"

#include <gtest/gtest.h>

TEST(ArredondarCentavos, ArredondaODecimalQueODoubleRepresenta)
{
    const struct {
        double valor, esperado;
    } casos[] = {
        {2.675, 2.68},   {-0.125, -0.13},  {0.005, 0.01},
        {0.004, 0.0},    {1.005, 1.01},    {1234.5, 1234.5},
        {-2.675, -2.68}, {0.1 + 0.2, 0.3}, {99999999999.995, 100000000000.0},
        {1e20, 1e20},    {-0.004, -0.0},   {123.454999, 123.45},
    };
    for (const auto& c : casos)
        EXPECT_EQ(ArredondarCentavos(c.valor), c.esperado) << "valor " << c.valor;
}

TEST(ChaveHora, CompletaComZeroAteDoisCaracteres)
{
    const struct {
        const char *hora, *chave;
    } casos[] = {{"7", "07"}, {"13", "13"}, {"", "00"}, {"7:", "7:"}, {"123", "123"}};
    for (const auto& c : casos)
        EXPECT_EQ(ChaveHora(QString::fromLatin1(c.hora)), QString::fromLatin1(c.chave));
}

TEST(TabelaVendasHora, UmaLinhaZeradaPorHoraDoIntervalo)
{
    const struct {
        const char *ini, *fim;
        std::vector<QString> horas;
    } casos[] = {
        {"8", "18", {"08", "09", "10", "11", "12", "13", "14", "15", "16", "17", "18"}},
        {"0", "2", {"00", "01", "02"}},
        {"12", "12", {"12"}},
        {"18", "8", {}},
    };
    for (const auto& c : casos) {
        TTabelaVendasHora tabela;
        tabela.Recriar(QString::fromLatin1(c.ini), QString::fromLatin1(c.fim));
        std::vector<QString> horas;
        for (const auto& linha : tabela.Linhas()) {
            horas.push_back(linha.HORA);
            EXPECT_EQ(linha.VALOR, 0.0);
        }
        EXPECT_EQ(horas, c.horas) << c.ini << ".." << c.fim;
    }
    TTabelaVendasHora dia;
    dia.Recriar(QStringLiteral("0"), QStringLiteral("23"));
    EXPECT_EQ(dia.Linhas().size(), 24u);
}

TEST(TabelaVendasHora, HoraQueNaoEhNumeroFalhaComOValorEDeixaATabelaVazia)
{
    TTabelaVendasHora tabela;
    tabela.Recriar(QStringLiteral("8"), QStringLiteral("10"));
    try {
        tabela.Recriar(QStringLiteral("oito"), QStringLiteral("18"));
        FAIL() << "expected an error";
    } catch (const TErro& e) {
        EXPECT_TRUE(e.Texto().contains(QStringLiteral("oito"))) << e.Texto().toStdString();
    }
    EXPECT_TRUE(tabela.Linhas().empty());
}

TEST(TabelaVendasHora, LocalizaPelaChaveExata)
{
    TTabelaVendasHora tabela;
    tabela.Recriar(QStringLiteral("8"), QStringLiteral("9"));
    ASSERT_NE(tabela.Localizar(QStringLiteral("09")), nullptr);
    EXPECT_EQ(tabela.Localizar(QStringLiteral("09"))->HORA, QStringLiteral("09"));
    EXPECT_EQ(tabela.Localizar(QStringLiteral("9")), nullptr);
}

TEST(ConsultaVendas, LinhasCondicionais)
{
    const QString importados = QStringLiteral(
        "AND ((pedidoc.codpedidoimportado IS NULL) OR (pedidoc.codpedidoimportado = \"\"))");
    const QString empresa = QStringLiteral("AND PedidoC.CodEmpresa = :CodEmpresa");
    const struct {
        bool excluir, filtrar;
        int dias;
        int linhas;
        const char* datas;
    } casos[] = {{false, false, 1, 2, "IN (:PDia0)"},
                 {true, false, 1, 3, "IN (:PDia0)"},
                 {false, true, 5, 3, "IN (:PDia0, :PDia1, :PDia2, :PDia3, :PDia4)"},
                 {true, true, 2, 4, "IN (:PDia0, :PDia1)"}};
    for (const auto& c : casos) {
        const QStringList texto = TextoConsultaVendas(c.excluir, c.filtrar, c.dias);
        ASSERT_EQ(texto.size(), c.linhas);
        EXPECT_TRUE(texto.first().startsWith(QStringLiteral("SELECT PedidoC.DataPedido,")));
        EXPECT_TRUE(texto.first().contains(QStringLiteral("WHERE PedidoC.DataPedido ")
                                           + QLatin1String(c.datas) + QStringLiteral(" AND")))
            << texto.first().toStdString();
        EXPECT_TRUE(texto.last().startsWith(QStringLiteral("Group By")));
        EXPECT_EQ(texto.contains(importados), c.excluir);
        EXPECT_EQ(texto.contains(empresa), c.filtrar);
        if (c.excluir && c.filtrar) {
            EXPECT_LT(texto.indexOf(importados), texto.indexOf(empresa));
        }
    }
}
