#include "sales_per_hour/copia_tabela.h"

#include <gtest/gtest.h>

TEST(NomeArquivoDoDia, DiaEFilialNumNomeQueQualquerSistemaGuarda)
{
    const QDate dia(2026, 12, 11);
    const struct {
        const char* empresa;
        const char* extensao;
        const char* nome;
    } casos[] = {
        {"", "png", "vendas-por-hora-2026-12-11.png"},
        {"03", "png", "vendas-por-hora-2026-12-11-filial-03.png"},
        {"003", "csv", "vendas-por-hora-2026-12-11-filial-003.csv"},
        {"A/B", "png", "vendas-por-hora-2026-12-11-filial-A_B.png"},
        {"1 2", "png", "vendas-por-hora-2026-12-11-filial-1_2.png"},
        {" 7 ", "png", "vendas-por-hora-2026-12-11-filial-7.png"},
        {"..", "csv", "vendas-por-hora-2026-12-11-filial-__.csv"},
        {"É1", "png", "vendas-por-hora-2026-12-11-filial-É1.png"},
        {"a:b*c?", "png", "vendas-por-hora-2026-12-11-filial-a_b_c_.png"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(NomeArquivoDoDia(dia, QString::fromUtf8(c.empresa), QLatin1String(c.extensao)),
                  QString::fromUtf8(c.nome))
            << c.empresa;
}

// Figures without a thousands dot (a spreadsheet in another locale would
// take "1.234,50" for text), and a range without hours still has its total.
TEST(TabelaCopia, NumerosSemMilharesETotalMesmoSemHoras)
{
    TTabelaVendasHora tabela;
    tabela.Recriar(QStringLiteral("22"), QStringLiteral("23"));
    tabela.Localizar(QStringLiteral("23"))->VALOR = 98765432109.87;
    tabela.Localizar(QStringLiteral("23"))->VENDAS = 2;
    tabela.Localizar(QStringLiteral("23"))->Exato = 98765432109.87L;
    TIndicadores indicadores = CalcularIndicadores(tabela, {}, std::nullopt);
    EXPECT_EQ(TextoTabelaCopia(tabela, indicadores),
              QStringLiteral("Hora\tValor\tVendas\tTicket\n"
                             "22h\t0,00\t0\t\n"
                             "23h\t98765432109,87\t2\t49382716054,94\n"
                             "Total\t98765432109,87\t2\t49382716054,94\n"));

    TTabelaVendasHora vazia;
    vazia.Recriar(QStringLiteral("18"), QStringLiteral("8"));
    indicadores = CalcularIndicadores(vazia, {}, std::nullopt);
    EXPECT_EQ(TextoTabelaCopia(vazia, indicadores),
              QStringLiteral("Hora\tValor\tVendas\tTicket\nTotal\t0,00\t0\t\n"));
    EXPECT_EQ(HtmlTabelaCopia(vazia, indicadores),
              QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n"
                             "<tr><th align=\"left\">Hora</th><th align=\"right\">Valor</th>"
                             "<th align=\"right\">Vendas</th><th align=\"right\">Ticket</th></tr>\n"
                             "<tr><th align=\"left\">Total</th><th align=\"right\">0,00</th>"
                             "<th align=\"right\">0</th><th align=\"right\"></th></tr>\n"
                             "</table>\n"));
}
