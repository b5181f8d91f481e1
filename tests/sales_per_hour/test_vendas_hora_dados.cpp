#include "config/config.h"
#include "data/conexao.h"
#include "data/nome_filial.h"
#include "sales_per_hour/vendas_hora_dados.h"
#include "tests/fixtures/banco_varejo.h"
#include "tests/support/erro_de.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iomanip>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// GCC 12 warns about every member that a designated initializer leaves to
// its default.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

struct LinhaTabela {
    std::string hora;
    double valor;
    bool operator==(const LinhaTabela&) const = default;
};

// Every digit, so that a value off by a cent shows.
void PrintTo(const LinhaTabela& linha, std::ostream* os)
{
    *os << linha.hora << '=' << std::setprecision(17) << linha.valor;
}

using Tabela = std::vector<LinhaTabela>;

// Operations: 1 sale, 2 return, 3 neither, 4 both.
void AdicionarOperacoes(BancoVarejo& banco)
{
    banco.addOperacao(1, QStringLiteral("S"), QStringLiteral("N"));
    banco.addOperacao(2, QStringLiteral("N"), QStringLiteral("S"));
    banco.addOperacao(3, QStringLiteral("N"), QStringLiteral("N"));
    banco.addOperacao(4, QStringLiteral("S"), QStringLiteral("S"));
}

QDate Dia(int n)
{
    return QDate(2024, 5, 13).addDays(n);
}

QString Texto(const QDate& dia)
{
    return dia.toString(QStringLiteral("dd/MM/yyyy"));
}

struct Ajustes {
    QString horaIni = QStringLiteral("8");
    QString horaFim = QStringLiteral("18");
    QString empresa;
    QString importados = QStringLiteral("0");
};

TConfig Config(const Ajustes& a)
{
    TConfig config(QStringLiteral("GadGetVendHora"));
    config.setHoraIni(a.horaIni);
    config.setHoraFim(a.horaFim);
    config.setEmpresa(a.empresa);
    config.setPedidosImportados(a.importados);
    return config;
}

void Configurar(TConexao& conexao, const AcessoBanco& a)
{
    ConfigurarConexao(conexao, a);
}

Tabela Conteudo(const TVendasHoraDados& dados)
{
    Tabela t;
    for (const auto& linha : dados.CdsTemp().Linhas())
        t.push_back({linha.HORA.toStdString(), linha.VALOR});
    return t;
}

// Every hour from ini to fim at zero but those in valores.
Tabela Esperada(int ini, int fim, std::map<std::string, double> valores = {})
{
    Tabela t;
    for (int h = ini; h <= fim; ++h) {
        const std::string chave = (h < 10 ? "0" : "") + std::to_string(h);
        const auto v = valores.find(chave);
        t.push_back({chave, v == valores.end() ? 0.0 : v->second});
        if (v != valores.end())
            valores.erase(v);
    }
    for (const auto& [chave, valor] : valores)
        ADD_FAILURE() << "hour " << chave << " is outside " << ini << ".." << fim;
    return t;
}

struct Caso {
    const char* nome;
    QDate dia;
    Ajustes ajustes;
    QList<Pedido> pedidos; // an order without a date is dated on the case's day
    Tabela esperada;
};

// Orders that refer to others, and the orders they refer to, carry numbers
// of their own and customers of their own, so that no other order shares
// them by chance. Each case has its own day, ten days from the next one, so that all of them
// share one database.
const std::vector<Caso>& Casos()
{
    static const std::vector<Caso> casos = {
        {"default hours, sales inside them",
         Dia(0),
         {},
         {{.hora = "08:00", .totalPedido = 10},
          {.hora = "12:30", .totalPedido = 20.5},
          {.hora = "12:45", .totalPedido = 4.5},
          {.hora = "18:59", .totalPedido = 30}},
         Esperada(8, 18, {{"08", 10}, {"12", 25}, {"18", 30}})},
        {"sales at 07:59 and 19:00 change nothing",
         Dia(10),
         {},
         {{.hora = "07:59", .totalPedido = 100}, {.hora = "19:00", .totalPedido = 200}},
         Esperada(8, 18)},
        {"0..23 gives 24 rows",
         Dia(20),
         {.horaIni = "0", .horaFim = "23"},
         {{.hora = "00:10", .totalPedido = 1}, {.hora = "23:59", .totalPedido = 2}},
         Esperada(0, 23, {{"00", 1}, {"23", 2}})},
        {"end before start gives an empty table",
         Dia(30),
         {.horaIni = "18", .horaFim = "8"},
         {{.hora = "10:00", .totalPedido = 10}},
         {}},
        {"a day without orders gives zeros",
         Dia(40),
         {},
         {{.dataPedido = Dia(39), .hora = "10:00", .totalPedido = 10},
          {.dataPedido = Dia(41), .hora = "10:00", .totalPedido = 10}},
         Esperada(8, 18)},
        {"null Hora counts in 00",
         Dia(50),
         {.horaIni = "0", .horaFim = "2"},
         {{.hora = QVariant(), .totalPedido = 5}},
         Esperada(0, 2, {{"00", 5}})},
        {"empty Hora counts in 00",
         Dia(60),
         {.horaIni = "0", .horaFim = "2"},
         {{.hora = "", .totalPedido = 7}},
         Esperada(0, 2, {{"00", 7}})},
        {"\"7\" becomes 07",
         Dia(70),
         {.horaIni = "7", .horaFim = "9"},
         {{.hora = "7", .totalPedido = 15}},
         Esperada(7, 9, {{"07", 15}})},
        {"\"7:30\" is dropped",
         Dia(80),
         {.horaIni = "0", .horaFim = "23"},
         {{.hora = "7:30", .totalPedido = 15}},
         Esperada(0, 23)},
        {"hour texts written differently add up in their hour",
         Dia(90),
         {.horaIni = "0", .horaFim = "7"},
         {{.hora = QVariant(), .totalPedido = 5},
          {.hora = "", .totalPedido = 7},
          {.hora = "00:30", .totalPedido = 11},
          {.hora = "7", .totalPedido = 2},
          {.hora = "07:10", .totalPedido = 3}},
         Esperada(0, 7, {{"00", 23}, {"07", 5}})},
        // A return: the hour's value is its totals minus, for each order that
        // refers to another, the referred total minus its own.
        {"returns, and an hour without them shows its totals alone",
         Dia(100),
         {},
         {{.codPedido = 501,
           .codCliente = 7,
           .dataPedido = Dia(99),
           .hora = "09:00",
           .totalPedido = 100},
          {.codPedido = 511,
           .codCliente = 7,
           .hora = "10:30",
           .totalPedido = 10,
           .codOper = 2,
           .codPedidoDevolucao = 501,
           .tipoPedidoDevolucao = "51"},
          {.codPedido = 502, .codCliente = 7, .hora = "11:00", .totalPedido = 40},
          {.codPedido = 512,
           .codCliente = 7,
           .hora = "11:20",
           .totalPedido = 30,
           .codOper = 2,
           .codPedidoDevolucao = 502,
           .tipoPedidoDevolucao = "51"},
          // Refers to no existing order: not the same customer, type or
          // branch, or no such number.
          {.codPedido = 503, .codCliente = 7, .hora = "12:00", .totalPedido = 50},
          {.codPedido = 513,
           .codCliente = 8,
           .hora = "12:10",
           .totalPedido = 1,
           .codOper = 2,
           .codPedidoDevolucao = 503,
           .tipoPedidoDevolucao = "51"},
          {.codPedido = 514,
           .codCliente = 7,
           .hora = "12:20",
           .totalPedido = 2,
           .codOper = 2,
           .codPedidoDevolucao = 503,
           .tipoPedidoDevolucao = "55"},
          {.codEmpresa = "02",
           .codPedido = 515,
           .codCliente = 7,
           .hora = "12:30",
           .totalPedido = 3,
           .codOper = 2,
           .codPedidoDevolucao = 503,
           .tipoPedidoDevolucao = "51"},
          {.codPedido = 516,
           .codCliente = 7,
           .hora = "12:40",
           .totalPedido = 4,
           .codOper = 2,
           .codPedidoDevolucao = 999,
           .tipoPedidoDevolucao = "51"}},
         Esperada(8, 18, {{"10", 10 - (100 - 10)}, {"11", 70 - (40 - 30)}, {"12", 60}})},
        {"imported orders left out with \"0\"",
         Dia(110),
         {.importados = "0"},
         {{.hora = "10:00", .totalPedido = 1},
          {.hora = "10:00", .totalPedido = 2, .codPedidoImportado = ""},
          {.hora = "10:00", .totalPedido = 4, .codPedidoImportado = "IMP-1"},
          {.hora = "11:00", .totalPedido = 8, .codPedidoImportado = "0"}},
         Esperada(8, 18, {{"10", 3}})},
        {"imported orders counted with \"1\"",
         Dia(110),
         {.importados = "1"},
         {},
         Esperada(8, 18, {{"10", 7}, {"11", 8}})},
        {"imported orders counted with any text but \"0\"",
         Dia(110),
         {.importados = ""},
         {},
         Esperada(8, 18, {{"10", 7}, {"11", 8}})},
        {"all branches",
         Dia(120),
         {.empresa = ""},
         {{.codEmpresa = "01", .hora = "10:00", .totalPedido = 10},
          {.codEmpresa = "02", .hora = "10:00", .totalPedido = 20},
          {.codEmpresa = "02", .hora = "11:00", .totalPedido = 5}},
         Esperada(8, 18, {{"10", 30}, {"11", 5}})},
        {"branch 01", Dia(120), {.empresa = "01"}, {}, Esperada(8, 18, {{"10", 10}})},
        {"branch 02", Dia(120), {.empresa = "02"}, {}, Esperada(8, 18, {{"10", 20}, {"11", 5}})},
        {"a branch without orders", Dia(120), {.empresa = "03"}, {}, Esperada(8, 18)},
        // Pasted into the text, these would make the filter true for every
        // order; bound as a parameter they are just codes no branch has.
        {"a code that would widen the filter if pasted into the text",
         Dia(120),
         {.empresa = "'OR''='"},
         {},
         Esperada(8, 18)},
        {"the same with dialect 1 quotes",
         Dia(120),
         {.empresa = "\"OR\"\"=\""},
         {},
         Esperada(8, 18)},
        {"only invoiced orders of types 51, 55, 56 with a sales or return operation",
         Dia(130),
         {},
         {{.tipoPedido = "51", .hora = "08:00", .totalPedido = 1},
          {.tipoPedido = "55", .hora = "08:00", .totalPedido = 2},
          {.tipoPedido = "56", .hora = "08:00", .totalPedido = 4},
          {.tipoPedido = "50", .hora = "09:00", .totalPedido = 1},
          {.tipoPedido = "52", .hora = "09:00", .totalPedido = 2},
          {.tipoPedido = "5", .hora = "09:00", .totalPedido = 4},
          {.hora = "10:00", .totalPedido = 1, .faturado = "N"},
          {.hora = "10:00", .totalPedido = 2, .faturado = "s"},
          {.hora = "10:00", .totalPedido = 4, .faturado = ""},
          {.hora = "11:00", .totalPedido = 1, .codOper = 2},
          {.hora = "11:00", .totalPedido = 2, .codOper = 4},
          {.hora = "12:00", .totalPedido = 1, .codOper = 3},
          {.hora = "12:00", .totalPedido = 2, .codOper = 99}},
         Esperada(8, 18, {{"08", 7}, {"11", 3}})},
        // NUMERIC(15,2) of a dialect-1 database is a double: the sums carry
        // binary fractions, and the decimal value is what gets rounded.
        {"sums rounded to cents as decimal formatting rounds them",
         Dia(140),
         {},
         {{.hora = "08:00", .totalPedido = 2.675},
          {.hora = "09:00", .totalPedido = 1.335},
          {.hora = "09:10", .totalPedido = 1.34},
          {.hora = "10:00", .totalPedido = 0.1},
          {.hora = "10:10", .totalPedido = 0.2},
          {.hora = "11:00", .totalPedido = 1.005},
          {.codPedido = 601, .codCliente = 9, .dataPedido = Dia(139), .totalPedido = 1.125},
          {.codPedido = 611,
           .codCliente = 9,
           .hora = "12:00",
           .totalPedido = 0.5,
           .codOper = 2,
           .codPedidoDevolucao = 601,
           .tipoPedidoDevolucao = "51"},
          {.hora = "13:00", .totalPedido = 0.004},
          {.hora = "14:00", .totalPedido = 1234567.894},
          {.hora = "14:00", .totalPedido = 0.001}},
         Esperada(8, 18,
                  {{"08", 2.68},
                   {"09", 2.68},
                   {"10", 0.3},
                   {"11", 1.01},
                   {"12", -0.13},
                   {"14", 1234567.9}})},
        // Groups of one hour: their values are added as they are and the sum
        // is rounded once.
        {"an hour of several groups is rounded once",
         Dia(150),
         {.horaIni = "0", .horaFim = "9"},
         {{.hora = "7", .totalPedido = 10.005},
          {.hora = "07:10", .totalPedido = 20.005},
          {.hora = QVariant(), .totalPedido = 1.004},
          {.hora = "", .totalPedido = 2.004},
          {.hora = "08", .totalPedido = 0.125},
          {.hora = "08:30", .totalPedido = 0.125},
          {.hora = "8", .totalPedido = -0.005},
          {.hora = "9", .totalPedido = 0.004},
          {.hora = "09:01", .totalPedido = 0.004}},
         Esperada(0, 9, {{"00", 3.01}, {"07", 30.01}, {"08", 0.25}, {"09", 0.01}})},
        {"a group's return counts before the hour is rounded",
         Dia(160),
         {},
         {{.codPedido = 801, .codCliente = 11, .dataPedido = Dia(159), .totalPedido = 5.0},
          {.codPedido = 811,
           .codCliente = 11,
           .hora = "9",
           .totalPedido = 1.004,
           .codOper = 2,
           .codPedidoDevolucao = 801,
           .tipoPedidoDevolucao = "51"},
          {.hora = "09:30", .totalPedido = 7.005}},
         // 1.004 - (5 - 1.004) + 7.005 = 4.013
         Esperada(8, 18, {{"09", 4.01}})},
    };
    return casos;
}

void InserirPedidos(BancoVarejo& banco)
{
    AdicionarOperacoes(banco);
    QList<Pedido> todos;
    for (const Caso& c : Casos()) {
        for (Pedido p : c.pedidos) {
            if (!p.dataPedido.isValid())
                p.dataPedido = c.dia;
            todos.append(p);
        }
    }
    banco.addPedidos(todos);
}

// One object for every case: each run must rebuild the table from nothing.
void ConferirCasos(BancoVarejo::Onde onde)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    BancoVarejo banco(dir.filePath(QStringLiteral("loja.fdb")), onde);
    InserirPedidos(banco);

    TConexao conexao;
    Configurar(conexao, banco.acesso());
    ASSERT_TRUE(conexao.ConectarBanco());
    TVendasHoraDados dados;
    for (const Caso& c : Casos()) {
        SCOPED_TRACE(c.nome);
        const TConfig config = Config(c.ajustes);
        dados.ValorDasVendas(config, conexao, Texto(c.dia));
        EXPECT_EQ(Conteudo(dados), c.esperada);
        dados.ValorDasVendas(config, conexao, Texto(c.dia));
        EXPECT_EQ(Conteudo(dados), c.esperada) << "second run";
    }
}

TEST(ValorDasVendas, CasosNoMotorEmbutido)
{
    ConferirCasos(BancoVarejo::Onde::Local);
}

TEST(ValorDasVendas, CasosNoServidor)
{
    ConferirCasos(BancoVarejo::Onde::Servidor);
}

// In a dialect-1 database a NUMERIC of up to 9 digits is a 32-bit scaled
// integer, and so is its sum: an hour past 214 748,3647 must not fail the
// day, and what fitted before reads as before.
TEST(ValorDasVendas, SomaQueNaoCabeNoTipoDaColuna)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    BancoVarejo banco(dir.filePath(QStringLiteral("loja.fdb")));
    banco.executar(QStringLiteral("ALTER TABLE PEDIDOC DROP TOTALPEDIDO"));
    banco.executar(QStringLiteral("ALTER TABLE PEDIDOC ADD TOTALPEDIDO NUMERIC(9,4)"));
    AdicionarOperacoes(banco);
    banco.addPedidos({
        {.dataPedido = Dia(0), .hora = "08:00", .totalPedido = 200000},
        {.dataPedido = Dia(0), .hora = "08:30", .totalPedido = 150000.5},
        {.codPedido = 901, .codCliente = 5, .dataPedido = Dia(-1), .totalPedido = 210000},
        {.codPedido = 911,
         .codCliente = 5,
         .dataPedido = Dia(0),
         .hora = "09:00",
         .totalPedido = -210000,
         .codOper = 2,
         .codPedidoDevolucao = 901,
         .tipoPedidoDevolucao = "51"},
        {.dataPedido = Dia(0), .hora = "10:00", .totalPedido = 0.1},
        {.dataPedido = Dia(0), .hora = "10:00", .totalPedido = 0.2},
        {.dataPedido = Dia(0), .hora = "11:00", .totalPedido = 2.675},
        {.dataPedido = Dia(0), .hora = "12:00", .totalPedido = 214748.3647},
    });

    TConexao conexao;
    Configurar(conexao, banco.acesso());
    ASSERT_TRUE(conexao.ConectarBanco());
    TVendasHoraDados dados;
    dados.ValorDasVendas(Config({}), conexao, Texto(Dia(0)));
    // 09: -210000 - (210000 - -210000)
    EXPECT_EQ(
        Conteudo(dados),
        Esperada(
            8, 18,
            {{"08", 350000.5}, {"09", -630000}, {"10", 0.3}, {"11", 2.68}, {"12", 214748.36}}));
}

// A table filled from one order of 10,00 at ten o'clock, for the failures to
// leave alone or to empty.
class TabelaPreenchida : public ::testing::Test {
protected:
    void Preparar(BancoVarejo::Onde onde)
    {
        ASSERT_TRUE(dir.isValid());
        banco = std::make_unique<BancoVarejo>(dir.filePath(QStringLiteral("loja.fdb")), onde);
        AdicionarOperacoes(*banco);
        banco->addPedido({.dataPedido = Dia(0), .hora = "10:00", .totalPedido = 10});
        Configurar(conexao, banco->acesso());
        ASSERT_TRUE(conexao.ConectarBanco());
        Preencher();
    }

    void Preencher()
    {
        dados.ValorDasVendas(Config({}), conexao, Texto(Dia(0)));
        ASSERT_EQ(Conteudo(dados), anterior);
    }

    QTemporaryDir dir;
    std::unique_ptr<BancoVarejo> banco;
    TConexao conexao;
    TVendasHoraDados dados;
    const Tabela anterior = Esperada(8, 18, {{"10", 10}});
};

class Falhas : public TabelaPreenchida {
protected:
    void SetUp() override { Preparar(BancoVarejo::Onde::Local); }
};

class NoServidor : public TabelaPreenchida {
protected:
    void SetUp() override { Preparar(BancoVarejo::Onde::Servidor); }
};

TEST_F(Falhas, ConsultaQueNaoAbreDaOErroDoServidorEMantemATabela)
{
    AcessoBanco semTabelas = banco->acesso();
    semTabelas.CaminhoBanco = dir.filePath(QStringLiteral("vazio.fdb"));
    CriarBancoVazio(semTabelas.CaminhoBanco, semTabelas.Usuario, semTabelas.Senha, 1);
    TConexao vazia;
    Configurar(vazia, semTabelas);
    ASSERT_TRUE(vazia.ConectarBanco());
    TConexao nuncaConectada;
    Configurar(nuncaConectada, banco->acesso());

    const struct {
        const char* nome;
        TConexao& conexao;
        Ajustes ajustes;
        QString texto;
    } casos[] = {
        {"a database without PEDIDOC", vazia, {}, QStringLiteral("Table unknown\n-PEDIDOC")},
        // The query runs even when no hour can take its rows.
        {"the same with the end before the start",
         vazia,
         {.horaIni = "18", .horaFim = "8"},
         QStringLiteral("Table unknown\n-PEDIDOC")},
        {"a connection never attached",
         nuncaConectada,
         {},
         QStringLiteral("Banco de dados não conectado")},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        const QString texto =
            ErroDe([&] { dados.ValorDasVendas(Config(c.ajustes), c.conexao, Texto(Dia(0))); });
        EXPECT_TRUE(texto.contains(c.texto)) << texto.toStdString();
        EXPECT_EQ(Conteudo(dados), anterior);
    }
}

TEST_F(Falhas, HoraQueNaoEhInteiroNomeiaOValorEDeixaATabelaVazia)
{
    const struct {
        const char *ini, *fim, *valor;
    } casos[] = {
        {"oito", "18", "\"oito\""},
        {"8", "18h", "\"18h\""},
        {"8.5", "18", "\"8.5\""},
        {"", "18", "\"\""},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.valor);
        Preencher();
        const TConfig config = Config({.horaIni = c.ini, .horaFim = c.fim});
        const QString texto = ErroDe([&] { dados.ValorDasVendas(config, conexao, Texto(Dia(0))); });
        EXPECT_TRUE(texto.contains(QString::fromUtf8(c.valor))) << texto.toStdString();
        EXPECT_TRUE(Conteudo(dados).empty());
    }
}

TEST_F(Falhas, DiaQueNaoEhDataFalhaAntesDaConsultaEMantemATabela)
{
    // Were the query run first, a connection never attached would say so.
    TConexao nuncaConectada;
    Configurar(nuncaConectada, banco->acesso());
    for (const char* dia : {"31/02/2024", "2024-05-13", "", "13/05/2024 10:00", "13/5/24"}) {
        SCOPED_TRACE(dia);
        for (TConexao* c : {&conexao, &nuncaConectada}) {
            const QString texto =
                ErroDe([&] { dados.ValorDasVendas(Config({}), *c, QString::fromLatin1(dia)); });
            EXPECT_TRUE(texto.contains(u'"' + QString::fromLatin1(dia) + u'"'))
                << texto.toStdString();
            EXPECT_EQ(Conteudo(dados), anterior);
        }
    }
}

TEST_F(NoServidor, ConexaoDerrubadaDaOErroDoServidorEMantemATabela)
{
    banco->executar(QStringLiteral(
        "DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION"));
    const QString texto = ErroDe([&] { dados.ValorDasVendas(Config({}), conexao, Texto(Dia(0))); });
    EXPECT_TRUE(texto.contains(QStringLiteral("connection shutdown"))) << texto.toStdString();
    EXPECT_EQ(Conteudo(dados), anterior);
}

TEST_F(NoServidor, PedidoGravadoPorOutraConexaoApareceNaConsultaSeguinte)
{
    banco->addPedido({.dataPedido = Dia(0), .hora = "11:00", .totalPedido = 20});
    dados.ValorDasVendas(Config({}), conexao, Texto(Dia(0)));
    EXPECT_EQ(Conteudo(dados), Esperada(8, 18, {{"10", 10}, {"11", 20}}));
}

// The shop's system stores a branch code as bytes; the configuration file
// holds the code in its own encoding. Each file must reach the rows stored
// with its own bytes, and only those.
TEST(CodigoDaFilial, ChegaAoServidorComOsBytesDoArquivo)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    BancoVarejo banco(dir.filePath(QStringLiteral("loja.fdb")));
    AdicionarOperacoes(banco);
    const QByteArray latino("\xC9"
                            "1"); // "É1" in Windows-1252
    const QByteArray unicode("\xC3\x89"
                             "1"); // "É1" in UTF-8
    const struct {
        QByteArray codigo;
        const char* nome;
        const char* hora;
        double total;
    } filiais[] = {{latino, "Filial Latina", "10:00", 10},
                   {unicode, "Filial Unicode", "11:00", 20}};
    for (const auto& f : filiais) {
        banco.executar(QStringLiteral("INSERT INTO FILIAIS (CODEMPRESA, NOMEEMPRESA, FILIALATIVA)"
                                      " VALUES (?, ?, 'S')"),
                       {f.codigo, QString::fromLatin1(f.nome)});
        banco.addPedido(
            {.codEmpresa = "XX", .dataPedido = Dia(0), .hora = f.hora, .totalPedido = f.total});
        banco.executar(QStringLiteral("UPDATE PEDIDOC SET CODEMPRESA = ? WHERE CODEMPRESA = 'XX'"),
                       {f.codigo});
    }

    const QString ini = dir.filePath(QStringLiteral("ConfigGadGet.Ini"));
    const QByteArray iniAnterior = qgetenv("VANTREL_GADGETS_INI");
    qputenv("VANTREL_GADGETS_INI", QFile::encodeName(ini));
    const struct {
        const char* nome;
        QByteArray empresa;
        const char* filial;
        Tabela esperada;
    } casos[] = {
        {"Windows-1252 file", latino, "Filial Latina", Esperada(8, 18, {{"10", 10}})},
        {"UTF-8 file", unicode, "Filial Unicode", Esperada(8, 18, {{"11", 20}})},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        const AcessoBanco& a = banco.acesso();
        QFile arquivo(ini);
        ASSERT_TRUE(arquivo.open(QIODevice::WriteOnly | QIODevice::Truncate));
        arquivo.write(QStringLiteral("[Configuracoes]\r\nLocRem=%1\r\nCaminhoBanco=%2\r\n"
                                     "Usuario=%3\r\nSenha=%4\r\n[GadGetVendHora]\r\n")
                          .arg(a.LocRem, a.CaminhoBanco, a.Usuario, a.Senha)
                          .toUtf8()
                      + "Empresa=" + c.empresa + "\r\n");
        arquivo.close();

        TConfig config(QStringLiteral("GadGetVendHora"));
        config.CarregarIni();
        ASSERT_EQ(config.Empresa(), QStringLiteral("É1"));
        config.InstanciaVariaveis(QStringLiteral("GVH"));
        TConexao conexao;
        Configurar(conexao, a);
        ASSERT_TRUE(conexao.ConectarBanco());
        TVendasHoraDados dados;
        dados.ValorDasVendas(config, conexao, Texto(Dia(0)));
        EXPECT_EQ(Conteudo(dados), c.esperada);
        EXPECT_EQ(NomeFilial(config.Empresa()), QString::fromLatin1(c.filial));
    }
    if (iniAnterior.isNull())
        qunsetenv("VANTREL_GADGETS_INI");
    else
        qputenv("VANTREL_GADGETS_INI", iniAnterior);
}

} // namespace
