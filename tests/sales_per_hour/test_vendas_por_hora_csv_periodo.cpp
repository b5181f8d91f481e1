#include "tests/fixtures/banco_varejo.h"
#include "tests/sales_per_hour/comando_csv.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <gtest/gtest.h>

// GCC 12 warns about every member that a designated initializer leaves to
// its default.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

// Four days across a year's turn, figures known by construction:
// 30/12/2023 08: 100,30 in 2 sales of branch 01; 09: 50,00 of branch 03,
// which is inactive; 31/12: only orders that do not count (not invoiced,
// imported); 01/01/2024 07: 30,00 of branch 04, missing from FILIAIS, as
// hour "7", and 12,34 of 01; 08: 1,00 of 04; 02/01 08: 0,10 + 0,20 of 01;
// 09: 200,00 sold and 190,00 of it returned by an order of 10,00 (a
// return, which is no sale). Branch 02 is active and sells nothing; 05 is
// inactive without orders. Orders just outside the period do not count.
void PeriodoNaViradaDoAno(BancoVarejo& banco)
{
    banco.addFilial(QStringLiteral("01"), QStringLiteral("Loja Centro"));
    banco.addFilial(QStringLiteral("02"), QStringLiteral("Loja Nova"));
    banco.addFilial(QStringLiteral("03"), QStringLiteral("Loja Fechada"), QStringLiteral("N"));
    banco.addFilial(QStringLiteral("05"), QStringLiteral("Loja Antiga"), QStringLiteral("N"));
    banco.addOperacao(1, QStringLiteral("S"), QStringLiteral("N"));
    banco.addOperacao(2, QStringLiteral("N"), QStringLiteral("S"));
    const QDate d29(2023, 12, 29), d30(2023, 12, 30), d31(2023, 12, 31), d01(2024, 1, 1),
        d02(2024, 1, 2), d03(2024, 1, 3);
    banco.addPedidos({
        {.dataPedido = d29, .hora = "08:00", .totalPedido = 1000},
        {.dataPedido = d30, .hora = "08:15", .totalPedido = 100.1},
        {.dataPedido = d30, .hora = "08:45", .totalPedido = 0.2},
        {.codEmpresa = "03", .dataPedido = d30, .hora = "09:00", .totalPedido = 50},
        {.dataPedido = d30, .hora = "10:30", .totalPedido = 5},
        {.dataPedido = d31, .hora = "08:00", .totalPedido = 999, .faturado = "N"},
        {.dataPedido = d31, .hora = "09:00", .totalPedido = 20, .codPedidoImportado = "IMP-1"},
        {.codEmpresa = "04", .dataPedido = d01, .hora = "7", .totalPedido = 30},
        {.dataPedido = d01, .hora = "07:10", .totalPedido = 12.34},
        {.codEmpresa = "04", .dataPedido = d01, .hora = "08:05", .totalPedido = 1},
        {.dataPedido = d02, .hora = "08:00", .totalPedido = 0.1},
        {.dataPedido = d02, .hora = "08:30", .totalPedido = 0.2},
        {.codPedido = 801, .codCliente = 7, .dataPedido = d02, .hora = "09:10", .totalPedido = 200},
        {.codPedido = 802,
         .codCliente = 7,
         .dataPedido = d02,
         .hora = "09:40",
         .totalPedido = 10,
         .codOper = 2,
         .codPedidoDevolucao = 801,
         .tipoPedidoDevolucao = "51"},
        {.dataPedido = d03, .hora = "08:00", .totalPedido = 1000},
    });
}

const QString SEM_SECAO;
const QString FILIAL_01 =
    QStringLiteral("[GadGetVendHora]\r\nEmpresa=01\r\nPedidosImportados=1\r\n");
const QStringList PERIODO = {"--de", "30/12/2023", "--ate", "02/01/2024"};

// The fixture's database and a configuration file per case.
class Periodo : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        comando = new Comando;
        BancoVarejo banco(comando->caminho("loja.fdb"));
        PeriodoNaViradaDoAno(banco);
        acesso = banco.acesso();
    }

    static void TearDownTestSuite() { delete comando; }

    static Resultado Executar(const QString& secao, const QStringList& argumentos)
    {
        EscreverIniBanco(comando->ini(), acesso, secao);
        return comando->executar(argumentos);
    }

    static Resultado ExecutarBem(const QString& secao, const QStringList& argumentos)
    {
        const Resultado r = Executar(secao, argumentos);
        EXPECT_EQ(r.codigo, 0) << Str(r.erros);
        EXPECT_TRUE(r.erros.isEmpty()) << Str(r.erros);
        return r;
    }

    static inline Comando* comando = nullptr;
    static inline AcessoBanco acesso;
};

struct CasoTabela {
    const char* nome;
    QString secao;
    QStringList argumentos;
    std::string saida;
};

TEST_F(Periodo, CadaDiaCadaHoraEmOrdem)
{
    const CasoTabela casos[] = {
        {"all branches; a day without orders and the turn of month and year", SEM_SECAO,
         PERIODO + QStringList{"--hora-ini", "7", "--hora-fim", "9"},
         "DATA;HORA;VALOR\n"
         "30/12/2023;07;0,00\n30/12/2023;08;100,30\n30/12/2023;09;50,00\n"
         "31/12/2023;07;0,00\n31/12/2023;08;0,00\n31/12/2023;09;0,00\n"
         "01/01/2024;07;42,34\n01/01/2024;08;1,00\n01/01/2024;09;0,00\n"
         "02/01/2024;07;0,00\n02/01/2024;08;0,30\n02/01/2024;09;20,00\n"},
        {"detailed: sales, ticket and each day's total", SEM_SECAO,
         PERIODO + QStringList{"--hora-ini=7", "--hora-fim=9", "--detalhado"},
         "DATA;HORA;VALOR;VENDAS;TICKET\n"
         "30/12/2023;07;0,00;0;\n30/12/2023;08;100,30;2;50,15\n30/12/2023;09;50,00;1;50,00\n"
         "30/12/2023;TOTAL;150,30;3;50,10\n"
         "31/12/2023;07;0,00;0;\n31/12/2023;08;0,00;0;\n31/12/2023;09;0,00;0;\n"
         "31/12/2023;TOTAL;0,00;0;\n"
         "01/01/2024;07;42,34;2;21,17\n01/01/2024;08;1,00;1;1,00\n01/01/2024;09;0,00;0;\n"
         "01/01/2024;TOTAL;43,34;3;14,45\n"
         "02/01/2024;07;0,00;0;\n02/01/2024;08;0,30;2;0,15\n02/01/2024;09;20,00;1;20,00\n"
         "02/01/2024;TOTAL;20,30;3;6,77\n"},
        {"the configured branch, imported orders counted", FILIAL_01,
         PERIODO + QStringList{"--hora-ini", "7", "--hora-fim", "9"},
         "DATA;HORA;VALOR\n"
         "30/12/2023;07;0,00\n30/12/2023;08;100,30\n30/12/2023;09;0,00\n"
         "31/12/2023;07;0,00\n31/12/2023;08;0,00\n31/12/2023;09;20,00\n"
         "01/01/2024;07;12,34\n01/01/2024;08;0,00\n01/01/2024;09;0,00\n"
         "02/01/2024;07;0,00\n02/01/2024;08;0,30\n02/01/2024;09;20,00\n"},
        {"a period of one day",
         SEM_SECAO,
         {"--de", "2/1/2024", "--ate", "02/01/2024", "--hora-ini", "8", "--hora-fim", "9"},
         "DATA;HORA;VALOR\n02/01/2024;08;0,30\n02/01/2024;09;20,00\n"},
        {"hours the other way round: the header alone", SEM_SECAO,
         PERIODO + QStringList{"--hora-ini", "9", "--hora-fim", "8"}, "DATA;HORA;VALOR\n"},
        {"by branch: the inactive one with orders, the active one without, the one missing "
         "from FILIAIS; the configured branch ignored",
         FILIAL_01, PERIODO + QStringList{"--por-filial", "--hora-ini", "8", "--hora-fim", "9"},
         "DATA;FILIAL;HORA;VALOR\n"
         "30/12/2023;01;08;100,30\n30/12/2023;01;09;0,00\n"
         "31/12/2023;01;08;0,00\n31/12/2023;01;09;20,00\n"
         "01/01/2024;01;08;0,00\n01/01/2024;01;09;0,00\n"
         "02/01/2024;01;08;0,30\n02/01/2024;01;09;20,00\n"
         "30/12/2023;02;08;0,00\n30/12/2023;02;09;0,00\n"
         "31/12/2023;02;08;0,00\n31/12/2023;02;09;0,00\n"
         "01/01/2024;02;08;0,00\n01/01/2024;02;09;0,00\n"
         "02/01/2024;02;08;0,00\n02/01/2024;02;09;0,00\n"
         "30/12/2023;03;08;0,00\n30/12/2023;03;09;50,00\n"
         "31/12/2023;03;08;0,00\n31/12/2023;03;09;0,00\n"
         "01/01/2024;03;08;0,00\n01/01/2024;03;09;0,00\n"
         "02/01/2024;03;08;0,00\n02/01/2024;03;09;0,00\n"
         "30/12/2023;04;08;0,00\n30/12/2023;04;09;0,00\n"
         "31/12/2023;04;08;0,00\n31/12/2023;04;09;0,00\n"
         "01/01/2024;04;08;1,00\n01/01/2024;04;09;0,00\n"
         "02/01/2024;04;08;0,00\n02/01/2024;04;09;0,00\n"},
        {"by branch: an inactive branch without orders in the period has no block",
         SEM_SECAO,
         {"--de", "31/12/2023", "--ate", "01/01/2024", "--por-filial", "--hora-ini", "7",
          "--hora-fim", "8"},
         "DATA;FILIAL;HORA;VALOR\n"
         "31/12/2023;01;07;0,00\n31/12/2023;01;08;0,00\n"
         "01/01/2024;01;07;12,34\n01/01/2024;01;08;0,00\n"
         "31/12/2023;02;07;0,00\n31/12/2023;02;08;0,00\n"
         "01/01/2024;02;07;0,00\n01/01/2024;02;08;0,00\n"
         "31/12/2023;04;07;0,00\n31/12/2023;04;08;0,00\n"
         "01/01/2024;04;07;30,00\n01/01/2024;04;08;1,00\n"},
        {"one day by branch, detailed: FILIAL first",
         FILIAL_01,
         {"--dia", "01/01/2024", "--por-filial", "--detalhado", "--hora-ini", "7", "--hora-fim",
          "8"},
         "FILIAL;HORA;VALOR;VENDAS;TICKET\n"
         "01;07;12,34;1;12,34\n01;08;0,00;0;\n01;TOTAL;12,34;1;12,34\n"
         "02;07;0,00;0;\n02;08;0,00;0;\n02;TOTAL;0,00;0;\n"
         "04;07;30,00;1;30,00\n04;08;1,00;1;1,00\n04;TOTAL;31,00;2;15,50\n"},
    };
    for (const CasoTabela& c : casos) {
        SCOPED_TRACE(c.nome);
        EXPECT_EQ(Str(ExecutarBem(c.secao, c.argumentos).saida), c.saida);
    }
}

// The rows of a CSV table by column name, each value as printed.
std::vector<std::map<QString, QString>> LinhasCsv(const QByteArray& csv)
{
    const QStringList linhas = QString::fromUtf8(csv).split(u'\n', Qt::SkipEmptyParts);
    std::vector<std::map<QString, QString>> r;
    if (linhas.isEmpty())
        return r;
    const QStringList colunas = linhas.first().toLower().split(u';');
    for (qsizetype i = 1; i < linhas.size(); ++i) {
        const QStringList campos = linhas[i].split(u';');
        EXPECT_EQ(campos.size(), colunas.size()) << linhas[i].toStdString();
        std::map<QString, QString> linha;
        for (qsizetype j = 0; j < colunas.size() && j < campos.size(); ++j)
            linha[colunas[j]] = campos[j];
        r.push_back(linha);
    }
    return r;
}

// A JSON value against the CSV field it stands for.
void ExpectMesmoValor(const QString& coluna, const QString& csv, const QJsonValue& json)
{
    SCOPED_TRACE(coluna.toStdString() + " = " + csv.toStdString());
    if (coluna == QLatin1String("data")) {
        ASSERT_TRUE(json.isString());
        EXPECT_EQ(QDate::fromString(json.toString(), Qt::ISODate),
                  QDate::fromString(csv, QStringLiteral("dd/MM/yyyy")));
    } else if (coluna == QLatin1String("filial") || coluna == QLatin1String("hora")) {
        EXPECT_EQ(json.toString(QStringLiteral("not a text")), csv);
    } else if (coluna == QLatin1String("vendas")) {
        ASSERT_TRUE(json.isDouble());
        EXPECT_EQ(json.toDouble(), csv.toInt());
    } else if (csv.isEmpty()) {
        EXPECT_TRUE(json.isNull());
    } else {
        ASSERT_TRUE(json.isDouble());
        EXPECT_EQ(json.toDouble(), QString(csv).replace(u',', u'.').toDouble());
    }
}

TEST_F(Periodo, JsonTrazOsMesmosNumerosQueOCsv)
{
    const struct {
        const char* nome;
        QString secao;
        QStringList argumentos;
    } casos[] = {
        {"period", SEM_SECAO, PERIODO + QStringList{"--hora-ini", "7"}},
        {"period by branch, detailed", SEM_SECAO,
         PERIODO
             + QStringList{"--hora-ini", "7", "--hora-fim", "10", "--por-filial", "--detalhado"}},
        {"one day, detailed, with reference",
         FILIAL_01,
         {"--dia", "02/01/2024", "--hora-ini", "7", "--detalhado", "--comparar", "semana"}},
        {"one day", SEM_SECAO, {"--dia", "01/01/2024", "--hora-ini", "7"}},
        {"one day by branch", SEM_SECAO, {"--dia", "01/01/2024", "--por-filial"}},
        {"hours the other way round: no rows", SEM_SECAO,
         PERIODO + QStringList{"--hora-ini", "9", "--hora-fim", "8"}},
    };
    const QRegularExpression dinheiro(
        QStringLiteral("\"(valor|ticket|referencia)\":(-?[0-9]+\\.[0-9]{2}|null)[,}]"));
    const QRegularExpression chaveComValor(QStringLiteral("\"(valor|ticket|referencia)\":"));
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        const Resultado csv = ExecutarBem(c.secao, c.argumentos);
        const Resultado json =
            ExecutarBem(c.secao, c.argumentos + QStringList{"--formato", "json"});
        EXPECT_EQ(Str(ExecutarBem(c.secao, c.argumentos + QStringList{"--formato=csv"}).saida),
                  Str(csv.saida));

        QJsonParseError erro;
        const QJsonDocument documento = QJsonDocument::fromJson(json.saida, &erro);
        ASSERT_EQ(erro.error, QJsonParseError::NoError) << erro.errorString().toStdString();
        ASSERT_TRUE(documento.isArray()) << Str(json.saida);
        const QJsonArray objetos = documento.array();
        const auto linhas = LinhasCsv(csv.saida);
        ASSERT_EQ(objetos.size(), qsizetype(linhas.size()));
        for (size_t i = 0; i < linhas.size(); ++i) {
            const QJsonObject objeto = objetos[qsizetype(i)].toObject();
            EXPECT_EQ(objeto.size(), qsizetype(linhas[i].size())) << Str(json.saida);
            for (const auto& [coluna, valor] : linhas[i])
                ExpectMesmoValor(coluna, valor, objeto.value(coluna));
        }
        // Every amount as written: two decimals, never an exponent.
        EXPECT_EQ(QString::fromUtf8(json.saida).count(dinheiro),
                  QString::fromUtf8(json.saida).count(chaveComValor))
            << Str(json.saida);
    }
}

// Each day of a period, of the configured branches and of each branch, has
// the figures of that day's own run for the same branch.
TEST_F(Periodo, CadaDiaIgualASuaPropriaExecucao)
{
    const QStringList horas = {"--hora-ini", "0", "--hora-fim", "23", "--detalhado"};
    const auto semReferencia = [](const QByteArray& saida) {
        // HORA;VALOR;VENDAS;TICKET of a day's detailed run.
        QStringList linhas;
        for (const QString& linha : QString::fromUtf8(saida).split(u'\n', Qt::SkipEmptyParts))
            linhas << linha.section(u';', 0, 3);
        return linhas;
    };
    const auto doDia = [](const QByteArray& saida, const QString& dia, const QString& filial) {
        QStringList linhas{QStringLiteral("HORA;VALOR;VENDAS;TICKET")};
        for (const QString& linha : QString::fromUtf8(saida).split(u'\n', Qt::SkipEmptyParts)) {
            QStringList campos = linha.split(u';');
            if (campos.first() != dia)
                continue;
            campos.removeFirst();
            if (!filial.isNull() && campos.takeFirst() != filial)
                continue;
            linhas << campos.join(u';');
        }
        return linhas;
    };
    const QString secao = QStringLiteral("[GadGetVendHora]\r\nEmpresa=%1\r\n");
    const QByteArray todas = ExecutarBem(SEM_SECAO, PERIODO + horas).saida;
    const QByteArray porFilial =
        ExecutarBem(SEM_SECAO, PERIODO + horas + QStringList{"--por-filial"}).saida;
    for (const QString dia : {"30/12/2023", "31/12/2023", "01/01/2024", "02/01/2024"}) {
        SCOPED_TRACE(dia.toStdString());
        EXPECT_EQ(doDia(todas, dia, QString()),
                  semReferencia(
                      ExecutarBem(secao.arg(QString()), horas + QStringList{"--dia", dia}).saida));
        for (const QString filial : {"01", "02", "03", "04"}) {
            SCOPED_TRACE(filial.toStdString());
            EXPECT_EQ(doDia(porFilial, dia, filial),
                      semReferencia(
                          ExecutarBem(secao.arg(filial), horas + QStringList{"--dia", dia}).saida));
        }
    }
}

// --de alone runs to today; a period of 3 660 days is the longest.
TEST_F(Periodo, AteHojeEOPeriodoMaisLongo)
{
    const QDate hoje = QDate::currentDate();
    const QString inicio = hoje.addDays(-2).toString(QStringLiteral("dd/MM/yyyy"));
    const Resultado ateHoje = ExecutarBem(SEM_SECAO, {"--de", inicio, "--hora-fim", "8"});
    const QStringList linhas = QString::fromUtf8(ateHoje.saida).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(linhas.size(), 4) << Str(ateHoje.saida);
    EXPECT_TRUE(linhas.last().startsWith(hoje.toString(QStringLiteral("dd/MM/yyyy"))))
        << Str(ateHoje.saida);

    const Resultado longo = ExecutarBem(SEM_SECAO, {"--de", "01/01/2015", "--ate", "07/01/2025",
                                                    "--hora-ini", "8", "--hora-fim", "8"});
    const QStringList dias = QString::fromUtf8(longo.saida).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(dias.size(), 3660 + 1);
    EXPECT_EQ(dias[1], QStringLiteral("01/01/2015;08;0,00"));
    EXPECT_TRUE(dias.contains(QStringLiteral("30/12/2023;08;100,30")));
    EXPECT_EQ(dias.last(), QStringLiteral("07/01/2025;08;0,00"));
}

TEST_F(Periodo, ErrosComOCodigoEAMensagemSemNadaNaSaida)
{
    const QString amanha = QDate::currentDate().addDays(1).toString(QStringLiteral("dd/MM/yyyy"));
    const struct {
        const char* nome;
        QStringList argumentos;
        QString texto;
    } casos[] = {
        {"end before start",
         {"--de", "02/01/2024", "--ate", "01/01/2024"},
         "o período termina antes de começar: --ate 01/01/2024 é anterior a --de 02/01/2024"},
        {"start after today without an end",
         {"--de", amanha},
         QStringLiteral("o período começa depois de hoje: --de %1").arg(amanha)},
        {"a start that does not exist",
         {"--de", "29/02/2023", "--ate", "01/03/2023"},
         "data inválida em --de: \"29/02/2023\", use dd/mm/aaaa"},
        {"an end that does not exist",
         {"--de", "01/01/2024", "--ate", "32/01/2024"},
         "data inválida em --ate: \"32/01/2024\", use dd/mm/aaaa"},
        {"an end in another form", {"--de=01/01/2024", "--ate=2024-01-31"}, "\"2024-01-31\""},
        {"one day longer than the longest",
         {"--de", "01/01/2015", "--ate", "08/01/2025"},
         "período longo demais: 3661 dias de 01/01/2015 a 08/01/2025; o máximo é 3660 dias"},
        {"a year mistyped", {"--de", "01/01/2024", "--ate", "01/01/2204"}, "longo demais"},
        {"--ate alone", {"--ate", "01/01/2024"}, "a opção --ate precisa de --de"},
        {"--de with --dia",
         {"--dia", "01/01/2024", "--de", "01/01/2024"},
         "a opção --dia não combina com --de e --ate"},
        {"--comparar with a period",
         {"--de", "01/01/2024", "--detalhado", "--comparar", "semana"},
         "a opção --comparar vale só para um dia sem --por-filial"},
        {"--comparar by branch",
         {"--dia", "01/01/2024", "--por-filial", "--comparar=nada"},
         "a opção --comparar vale só para um dia sem --por-filial"},
        {"unknown format",
         {"--de", "01/01/2024", "--formato", "xml"},
         "formato inválido em --formato: \"xml\", use csv ou json"},
        {"format in capitals", {"--formato=JSON"}, "\"JSON\""},
        {"missing start", {"--de"}, "falta o valor de --de"},
        {"missing format", {"--formato"}, "falta o valor de --formato"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        const Resultado r = Executar(SEM_SECAO, c.argumentos);
        EXPECT_EQ(r.codigo, 1);
        EXPECT_TRUE(r.saida.isEmpty()) << Str(r.saida);
        const QString erros = QString::fromUtf8(r.erros);
        EXPECT_TRUE(erros.startsWith(QStringLiteral("vendas-por-hora-csv: "))) << Str(r.erros);
        EXPECT_TRUE(erros.endsWith(QStringLiteral(". Veja --help.\n")) && erros.count(u'\n') == 1)
            << Str(r.erros);
        EXPECT_TRUE(erros.contains(c.texto)) << Str(r.erros);
    }
}

// The statement fails before any row: nothing goes out, whatever the form.
TEST(PeriodoSemTabela, ErroDaConsultaSemNadaNaSaida)
{
    const Comando comando;
    {
        BancoVarejo banco(comando.caminho("loja.fdb"));
        banco.executar(QStringLiteral("DROP TABLE PEDIDOC"));
        EscreverIniBanco(comando.ini(), banco.acesso());
    }
    for (const QStringList& argumentos :
         {QStringList{"--de", "01/01/2024", "--ate", "02/01/2024"},
          QStringList{"--dia", "01/01/2024", "--por-filial", "--formato", "json"},
          QStringList{"--dia", "01/01/2024", "--formato", "json"}}) {
        SCOPED_TRACE(argumentos.join(u' ').toStdString());
        const Resultado r = comando.executar(argumentos);
        EXPECT_EQ(r.codigo, 2);
        EXPECT_TRUE(r.saida.isEmpty()) << Str(r.saida);
        EXPECT_TRUE(r.erros.startsWith("vendas-por-hora-csv: Erro na consulta das vendas: "))
            << Str(r.erros);
    }
}

} // namespace
