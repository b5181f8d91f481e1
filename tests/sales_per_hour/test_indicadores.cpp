#include "config/config.h"
#include "data/conexao.h"
#include "sales_per_hour/dias_lidos.h"
#include "sales_per_hour/indicadores_dia.h"
#include "sales_per_hour/textos_indicadores.h"
#include "sales_per_hour/vendas_hora_dados.h"
#include "tests/fixtures/banco_varejo.h"
#include "tests/sales_per_hour/dia_com_referencias.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

namespace {

using Valores = std::vector<std::optional<double>>;

TEST(DiaLido, PedidoContaAteAgoraQuandoSuaHoraNaoEhPosterior)
{
    // Each order alone in the hour 10, cut at 10:30.
    const struct {
        const char* hora;
        const char* resto;
        bool conta;
    } casos[] = {
        {"10", "", true}, // no minutes: from the hour's start
        {"10", ":00", true},  {"10", ":30", true},  {"10", ":31", false},
        {"10", ":59", false}, {"10", ":3", true}, // "10:3" comes before "10:30"
        {"10", ":4", false},  {"10", "h05", false}, // "10h05" comes after "10:30"
    };
    for (const auto& c : casos) {
        TDiaLido dia;
        dia.Somar(QString::fromLatin1(c.hora), QString::fromLatin1(c.resto), 5, 1);
        EXPECT_EQ(dia.Valor(10), 5) << c.resto;
        EXPECT_EQ(dia.ValorAte(8, 18, 10, 30), c.conta ? 5 : 0) << c.resto;
        EXPECT_EQ(dia.ValorAte(8, 18, 11, 0), 5) << c.resto << ": an hour over counts whole";
        EXPECT_EQ(dia.ValorAte(8, 9, 11, 0), 0) << c.resto << ": outside the range";
    }
}

TEST(DiaLido, HorasEscritasDeOutraFormaSomamNaSuaHoraEAsQueNaoSaoHorasSaem)
{
    TDiaLido dia;
    dia.Somar(QStringLiteral("7"), QString(), 1, 1);
    dia.Somar(QStringLiteral("07"), QStringLiteral(":10"), 2, 1);
    dia.Somar(QString(), QString(), 4, 1); // a null Hora: hour 0
    dia.Somar(QStringLiteral("7:"), QStringLiteral("30"), 8, 1);
    dia.Somar(QStringLiteral("24"), QString(), 16, 1);
    dia.Somar(QStringLiteral("+7"), QString(), 32, 1);
    EXPECT_EQ(dia.Valor(7), 3);
    EXPECT_EQ(dia.Vendas(7), 2);
    EXPECT_EQ(dia.Valor(0), 4);
    EXPECT_EQ(dia.ValorAte(0, 23, 23, 59), 7);
}

TEST(Indicadores, DiasDiferencasEMeta)
{
    EXPECT_EQ(DiasDeReferencia(DIA, TComparacao::Nada), std::vector<QDate>{});
    EXPECT_EQ(DiasDeReferencia(DIA, TComparacao::SemanaPassada),
              std::vector<QDate>{QDate(2024, 5, 8)});
    EXPECT_EQ(DiasDeReferencia(DIA, TComparacao::Media4Semanas),
              (std::vector<QDate>{QDate(2024, 5, 8), QDate(2024, 5, 1), QDate(2024, 4, 24),
                                  QDate(2024, 4, 17)}));

    const struct {
        double valor, referencia;
        std::optional<int> diferenca;
    } diferencas[] = {
        {108, 100, 8}, {100, 100, 0},   {50, 100, -50},   {0, 100, -100},  {10, 0, {}},
        {-5, -10, 50}, {100.5, 100, 1}, {100.49, 100, 0}, {-80, 40, -300},
    };
    for (const auto& d : diferencas)
        EXPECT_EQ(Diferenca(d.valor, d.referencia), d.diferenca)
            << d.valor << " / " << d.referencia;

    const struct {
        double total, meta;
        int percentual;
    } metas[] = {{124, 200, 62}, {199.99, 200, 99}, {200, 200, 100}, {250, 200, 125},
                 {-10, 200, 0},  {0.1, 0.3, 33},    {0.3, 0.3, 100}};
    for (const auto& m : metas)
        EXPECT_EQ(PercentualMeta(m.total, m.meta), m.percentual) << m.total << " / " << m.meta;
}

// The fixture's database, read as the gadget and the CSV command read it.
class DiaComReferencias : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        banco = std::make_unique<BancoVarejo>(dir.filePath(QStringLiteral("loja.fdb")));
        OrdensDoDiaComReferencias(*banco);
        ConfigurarConexao(conexao, banco->acesso());
        ASSERT_TRUE(conexao.ConectarBanco());
        config.setHoraIni(QStringLiteral("8"));
        config.setHoraFim(QStringLiteral("12"));
        config.setEmpresa(QStringLiteral("01"));
        config.setPedidosImportados(QStringLiteral("0"));
    }

    // Reads dia as the gadget does on hoje, at agora.
    void Ler(TComparacao comparacao, const QDate& dia = DIA, const QDateTime& agora = AGORA)
    {
        dados.ValorDasVendas(config, conexao, dia.toString(QStringLiteral("dd/MM/yyyy")),
                             comparacao, &cache, agora.date(), agora);
    }

    static Valores ReferenciasDasHoras(const TIndicadores& indicadores)
    {
        Valores valores;
        for (const TIndicadores::THora& hora : indicadores.Horas)
            valores.push_back(hora.Referencia);
        return valores;
    }

    QTemporaryDir dir;
    std::unique_ptr<BancoVarejo> banco;
    TConexao conexao;
    TConfig config{QStringLiteral("GadGetVendHora")};
    TCacheDias cache;
    TVendasHoraDados dados;
};

TEST_F(DiaComReferencias, ValorVendasETicketDeCadaHoraEDoDia)
{
    Ler(TComparacao::Nada);
    const struct {
        const char* hora;
        double valor;
        int vendas;
        std::optional<double> ticket;
    } esperadas[] = {
        {"08", 150.15, 2, 75.08}, {"09", -80, 1, -80}, {"10", 42, 2, 21},
        {"11", 0, 0, {}},         {"12", 7, 1, 7},
    };
    const TIndicadores indicadores = dados.Indicadores(std::nullopt);
    ASSERT_EQ(dados.CdsTemp().Linhas().size(), std::size(esperadas));
    for (size_t i = 0; i < std::size(esperadas); ++i) {
        const TTabelaVendasHora::TLinha& linha = dados.CdsTemp().Linhas()[i];
        EXPECT_EQ(linha.HORA, QLatin1String(esperadas[i].hora));
        EXPECT_EQ(linha.VALOR, esperadas[i].valor) << esperadas[i].hora;
        EXPECT_EQ(linha.VENDAS, esperadas[i].vendas) << esperadas[i].hora;
        EXPECT_EQ(indicadores.Horas[i].Ticket, esperadas[i].ticket) << esperadas[i].hora;
        EXPECT_EQ(indicadores.Horas[i].Referencia, std::nullopt) << esperadas[i].hora;
    }
    EXPECT_EQ(indicadores.Total, 119.15);
    EXPECT_EQ(indicadores.Vendas, 6);
    EXPECT_EQ(indicadores.Ticket, 19.86);
    EXPECT_EQ(indicadores.Referencia, std::nullopt);
    EXPECT_EQ(indicadores.ReferenciaAteAgora, std::nullopt);
    EXPECT_EQ(indicadores.HoraCorrente, std::nullopt) << "no time of day given: not today";
}

struct CasoReferencia {
    const char* nome;
    TComparacao comparacao;
    bool hoje; // read with the time of day 10:30
    Valores horas;
    std::optional<double> dia;
    std::optional<double> ateAgora;
    std::optional<int> horaCorrente;
    std::optional<double> horaCorrenteAteAgora;
};

void PrintTo(const CasoReferencia& c, std::ostream* os)
{
    *os << c.nome;
}

class Referencias : public DiaComReferencias,
                    public ::testing::WithParamInterface<CasoReferencia> {};

TEST_P(Referencias, DeCadaHoraDoDiaEAteAgora)
{
    const CasoReferencia& c = GetParam();
    Ler(c.comparacao);
    const TIndicadores indicadores =
        dados.Indicadores(c.hoje ? std::optional<QTime>(AGORA.time()) : std::nullopt);
    EXPECT_EQ(ReferenciasDasHoras(indicadores), c.horas);
    EXPECT_EQ(indicadores.Referencia, c.dia);
    EXPECT_EQ(indicadores.ReferenciaAteAgora, c.ateAgora);
    EXPECT_EQ(indicadores.HoraCorrente, c.horaCorrente);
    EXPECT_EQ(indicadores.ReferenciaHoraCorrente, c.horaCorrenteAteAgora);
    EXPECT_EQ(indicadores.Total, 119.15) << "the day itself is the same";
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Referencias,
    ::testing::Values(
        CasoReferencia{"nada", TComparacao::Nada, true, Valores(5), {}, {}, 2, {}},
        CasoReferencia{"semana", TComparacao::SemanaPassada, false, {60, 40, 71, 5, 0}, 176},
        CasoReferencia{
            "semanaHoje", TComparacao::SemanaPassada, true, {60, 40, 71, 5, 0}, 176, 131, 2, 31},
        CasoReferencia{
            "media4", TComparacao::Media4Semanas, false, {25, 10.01, 18.5, 1.25, 2.25}, 57.01},
        CasoReferencia{"media4Hoje",
                       TComparacao::Media4Semanas,
                       true,
                       {25, 10.01, 18.5, 1.25, 2.25},
                       57.01,
                       43.51,
                       2,
                       8.5}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST_F(DiaComReferencias, AgoraForaDoHorarioNaoTemHoraCorrente)
{
    Ler(TComparacao::SemanaPassada);
    const struct {
        QTime agora;
        double ateAgora;
    } casos[] = {{QTime(7, 59), 0}, {QTime(8, 0), 0}, {QTime(13, 0), 176}, {QTime(23, 59), 176}};
    for (const auto& c : casos) {
        const TIndicadores indicadores = dados.Indicadores(c.agora);
        EXPECT_EQ(indicadores.ReferenciaAteAgora, c.ateAgora) << c.agora.toString().toStdString();
        EXPECT_EQ(indicadores.HoraCorrente.has_value(), c.agora.hour() >= 8 && c.agora.hour() <= 12)
            << c.agora.toString().toStdString();
    }
}

TEST_F(DiaComReferencias, DiaDeReferenciaAntesDoPrimeiroPedidoTemZeros)
{
    // Four weeks before the day: its own reference days precede every order.
    Ler(TComparacao::Media4Semanas, DIA.addDays(-28));
    const TIndicadores indicadores = dados.Indicadores(std::nullopt);
    EXPECT_EQ(indicadores.Total, 10.03);
    EXPECT_EQ(ReferenciasDasHoras(indicadores), Valores(5, 0.0));
    EXPECT_EQ(indicadores.Referencia, 0);
}

TEST_F(DiaComReferencias, TextosDeHojeAteAgora)
{
    Ler(TComparacao::SemanaPassada);
    const TIndicadores indicadores = dados.Indicadores(AGORA.time());
    EXPECT_EQ(LinhaDeTotais(indicadores, TComparacao::SemanaPassada),
              QStringLiteral("Total R$ 119,15 · 6 vendas · ticket R$ 19,86 · -9% sem. passada"));
    EXPECT_EQ(LinhaDeTotais(indicadores, TComparacao::Nada),
              QStringLiteral("Total R$ 119,15 · 6 vendas · ticket R$ 19,86"));
    const struct {
        int hora;
        const char* dica;
    } dicas[] = {
        {0, "08h\nValor: R$ 150,15\nVendas: 2 · ticket R$ 75,08\nSemana passada: R$ 60,00 (+150%)"},
        {1, "09h\nValor: -R$ 80,00\nVendas: 1 · ticket -R$ 80,00\nSemana passada: R$ 40,00 "
            "(-300%)"},
        {2, "10h (em andamento)\nValor: R$ 42,00\nVendas: 2 · ticket R$ 21,00\n"
            "Semana passada até 10:30: R$ 31,00 (+35%)"},
        {3, "11h (ainda não começou)\nValor: R$ 0,00\nVendas: 0\nSemana passada: R$ 5,00"},
    };
    for (const auto& d : dicas)
        EXPECT_EQ(DicaDaHora(dados.CdsTemp(), indicadores, TComparacao::SemanaPassada, d.hora,
                             AGORA.time()),
                  QString::fromUtf8(d.dica));

    // Four weeks before: its week before has no orders.
    Ler(TComparacao::SemanaPassada, DIA.addDays(-28));
    const TIndicadores passado = dados.Indicadores(std::nullopt);
    EXPECT_EQ(LinhaDeTotais(passado, TComparacao::SemanaPassada),
              QStringLiteral("Total R$ 10,03 · 2 vendas · ticket R$ 5,02 · sem. passada R$ 0,00"))
        << "a reference without sales shows its value";
    EXPECT_EQ(DicaDaHora(dados.CdsTemp(), passado, TComparacao::SemanaPassada, 0, std::nullopt),
              QStringLiteral("08h\nValor: R$ 10,01\nVendas: 1 · ticket R$ 10,01\n"
                             "Semana passada: R$ 0,00"));
}

// A past day is read again only when a key changes or 15 minutes passed;
// today at every reading.
TEST_F(DiaComReferencias, DiasPassadosGuardadosPorQuinzeMinutos)
{
    const auto referencia = [this](const QDateTime& agora) {
        Ler(TComparacao::SemanaPassada, DIA, agora);
        return dados.Indicadores(std::nullopt).Referencia;
    };
    const auto hojeAs8 = [this] { return dados.CdsTemp().Linhas().front().VALOR; };
    ASSERT_EQ(referencia(AGORA), 176);
    banco->addPedidos({{.dataPedido = DIA.addDays(-7), .hora = "08:00", .totalPedido = 1000},
                       {.dataPedido = DIA, .hora = "08:05", .totalPedido = 1}});
    EXPECT_EQ(referencia(AGORA.addSecs(15 * 60 - 1)), 176) << "kept";
    EXPECT_EQ(hojeAs8(), 151.15) << "today read again";
    EXPECT_EQ(referencia(AGORA.addSecs(-60)), 1176) << "a clock set back reads again";
    EXPECT_EQ(referencia(AGORA.addSecs(15 * 60)), 1176);

    const struct {
        const char* nome;
        std::function<void(TConfig&)> muda;
        std::optional<double> esperada;
    } chaves[] = {
        // Each adds 500 of branch 01 first, and what the change takes in.
        {"branch", [](TConfig& c) { c.setEmpresa(QString()); }, 1676 + 500},
        {"imported orders", [](TConfig& c) { c.setPedidosImportados(QStringLiteral("1")); },
         2676 + 500},
        {"hour range", [](TConfig& c) { c.setHoraFim(QStringLiteral("13")); }, 3676 + 500},
    };
    for (const auto& c : chaves) {
        banco->addPedido({.dataPedido = DIA.addDays(-7), .hora = "09:00", .totalPedido = 500});
        c.muda(config);
        EXPECT_EQ(referencia(AGORA.addSecs(15 * 60)), c.esperada) << c.nome << " read anew";
    }

    // The day shown, when past, is kept as well.
    Ler(TComparacao::Nada, DIA.addDays(-7), AGORA);
    const double antes = dados.Indicadores(std::nullopt).Total;
    banco->addPedido({.dataPedido = DIA.addDays(-7), .hora = "10:00", .totalPedido = 3});
    Ler(TComparacao::Nada, DIA.addDays(-7), AGORA.addSecs(60));
    EXPECT_EQ(dados.Indicadores(std::nullopt).Total, antes);
    Ler(TComparacao::Nada, DIA.addDays(-7), AGORA.addSecs(16 * 60));
    EXPECT_EQ(dados.Indicadores(std::nullopt).Total, antes + 3);
}

TEST_F(DiaComReferencias, DiaGuardadoNaoPrecisaDoBanco)
{
    // Read once; then the database goes: a past day and its reference come
    // from what was kept, today cannot.
    Ler(TComparacao::SemanaPassada, DIA.addDays(-7));
    TConexao nuncaConectada;
    ConfigurarConexao(nuncaConectada, banco->acesso());
    dados.ValorDasVendas(config, nuncaConectada,
                         DIA.addDays(-7).toString(QStringLiteral("dd/MM/yyyy")),
                         TComparacao::SemanaPassada, &cache, DIA, AGORA);
    EXPECT_EQ(dados.Indicadores(std::nullopt).Total, 176);
    EXPECT_THROW(dados.ValorDasVendas(config, nuncaConectada,
                                      DIA.toString(QStringLiteral("dd/MM/yyyy")),
                                      TComparacao::SemanaPassada, &cache, DIA, AGORA),
                 TErro);
}

} // namespace
