#include "config/config.h"
#include "data/conexao.h"
#include "data/configurar_conexao.h"
#include "platform/seams.h"
#include "sales_per_hour/exportar_csv.h"
#include "sales_per_hour/vendas_hora_dados.h"
#include "tests/fixtures/banco_varejo.h"
#include "tests/sales_per_hour/comando_csv.h"
#include "tests/sales_per_hour/dia_com_referencias.h"
#include "tests/support/rede_teste.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>
#include <sys/stat.h>

// GCC 12 warns about every member that a designated initializer leaves to
// its default.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

// Names the engine in the test list.
void PrintTo(BancoVarejo::Onde onde, std::ostream* os)
{
    *os << (onde == BancoVarejo::Onde::Local ? "Local" : "Servidor");
}

namespace {

// Never in any output.
const QString SENHA_SECRETA = QStringLiteral("Zq7-senha-que-nao-aparece");

TEST(TextoCsv, VirgulaDecimalDuasCasasSemSeparadorDeMilhar)
{
    TTabelaVendasHora tabela;
    tabela.Recriar(QStringLiteral("8"), QStringLiteral("13"));
    const double valores[] = {1234.5, -12.3, -0.0, 1234567.89, 0.05, 100000000000.0};
    for (int i = 0; i < 6; ++i)
        tabela.Localizar(QStringLiteral("%1").arg(8 + i, 2, 10, QLatin1Char('0')))->VALOR =
            valores[i];
    EXPECT_EQ(TextoCsv(tabela).toStdString(),
              "HORA;VALOR\n08;1234,50\n09;-12,30\n10;0,00\n11;1234567,89\n12;0,05\n"
              "13;100000000000,00\n");

    tabela.Recriar(QStringLiteral("18"), QStringLiteral("8"));
    EXPECT_EQ(TextoCsv(tabela).toStdString(), "HORA;VALOR\n");
}

QDate Dia()
{
    return QDate(2024, 5, 13);
}

void AdicionarVendas(BancoVarejo& banco)
{
    banco.addOperacao(1, QStringLiteral("S"), QStringLiteral("N"));
    banco.addOperacao(2, QStringLiteral("N"), QStringLiteral("S"));
    const QDate hoje = QDate::currentDate();
    banco.addPedidos({
        {.dataPedido = Dia(), .hora = "07:30", .totalPedido = 3},
        {.dataPedido = Dia(), .hora = "08:15", .totalPedido = 1234.5},
        {.dataPedido = Dia(), .hora = "09:00", .totalPedido = 0.1},
        {.dataPedido = Dia(), .hora = "09:30", .totalPedido = 0.2},
        {.codPedido = 701, .codCliente = 5, .dataPedido = Dia().addDays(-1), .totalPedido = 100},
        {.codPedido = 702,
         .codCliente = 5,
         .dataPedido = Dia(),
         .hora = "10:00",
         .totalPedido = 10,
         .codOper = 2,
         .codPedidoDevolucao = 701,
         .tipoPedidoDevolucao = "51"},
        {.codEmpresa = "02", .dataPedido = Dia(), .hora = "11:00", .totalPedido = 50},
        {.dataPedido = Dia(), .hora = "12:00", .totalPedido = 20, .codPedidoImportado = "IMP-9"},
        {.dataPedido = Dia(), .hora = "19:00", .totalPedido = 4},
        {.dataPedido = hoje, .hora = "07:00", .totalPedido = 7},
        {.dataPedido = hoje, .hora = "08:00", .totalPedido = 5},
        {.dataPedido = hoje, .hora = "18:00", .totalPedido = 6.25},
    });
}

struct CasoSaida {
    const char* nome;
    QString secao; // the gadget's section, appended to the common one
    QStringList argumentos;
    std::string csv;
};

// Runs the command with the case's section over the database and checks that
// it printed the case's table and nothing else.
Resultado ExecutarCaso(const Comando& comando, const AcessoBanco& acesso, const CasoSaida& c)
{
    EscreverIniBanco(comando.ini(), acesso, c.secao);
    const Resultado r = comando.executar(c.argumentos);
    EXPECT_EQ(r.codigo, 0) << Str(r.erros);
    EXPECT_EQ(Str(r.saida), c.csv);
    EXPECT_TRUE(r.erros.isEmpty()) << Str(r.erros);
    return r;
}

class ImprimeATabela : public ::testing::TestWithParam<BancoVarejo::Onde> {};

TEST_P(ImprimeATabela, QueValorDasVendasMontaComAConfiguracaoDoGadget)
{
    const CasoSaida casos[] = {
        {"no section: all branches, imported orders left out",
         {},
         {"--dia", "13/05/2024"},
         "HORA;VALOR\n08;1234,50\n09;0,30\n10;-80,00\n11;50,00\n12;0,00\n13;0,00\n14;0,00\n"
         "15;0,00\n16;0,00\n17;0,00\n18;0,00\n"},
        {"empty keys read as the gadget's defaults",
         "[GadGetVendHora]\r\nEmpresa=\r\nPedidosImportados=\r\n",
         {"--hora-fim", "12", "--dia", "13/05/2024"},
         "HORA;VALOR\n08;1234,50\n09;0,30\n10;-80,00\n11;50,00\n12;0,00\n"},
        {"branch 01 with imported orders, from 7 to 12",
         "[GadGetVendHora]\r\nEmpresa=01\r\nPedidosImportados=1\r\n",
         {"--dia", "13/05/2024", "--hora-ini", "7", "--hora-fim", "12"},
         "HORA;VALOR\n07;3,00\n08;1234,50\n09;0,30\n10;-80,00\n11;0,00\n12;20,00\n"},
        {"branch 02",
         "[GadGetVendHora]\r\nEmpresa=02\r\nPedidosImportados=0\r\n",
         {"--dia", "13/5/2024", "--hora-ini", "11", "--hora-fim", "11"},
         "HORA;VALOR\n11;50,00\n"},
        {"today and 8 to 18 by default",
         {},
         {},
         "HORA;VALOR\n08;5,00\n09;0,00\n10;0,00\n11;0,00\n12;0,00\n13;0,00\n14;0,00\n"
         "15;0,00\n16;0,00\n17;0,00\n18;6,25\n"},
        {"end before start",
         {},
         {"--dia", "13/05/2024", "--hora-ini", "18", "--hora-fim", "8"},
         "HORA;VALOR\n"},
        {"values joined with =",
         "[GadGetVendHora]\r\nEmpresa=01\r\nPedidosImportados=1\r\n",
         {"--dia=13/05/2024", "--hora-ini=7", "--hora-fim=9"},
         "HORA;VALOR\n07;3,00\n08;1234,50\n09;0,30\n"},
        {"no time limit",
         "[GadGetVendHora]\r\nEmpresa=02\r\n",
         {"--tempo-limite", "0", "--dia", "13/05/2024", "--hora-ini", "11", "--hora-fim=11"},
         "HORA;VALOR\n11;50,00\n"},
    };

    const Comando comando;
    AcessoBanco acesso;
    {
        // Detached before the command runs: the embedded engine of another
        // process cannot open a file this one holds.
        BancoVarejo banco(comando.caminho("loja.fdb"), GetParam());
        AdicionarVendas(banco);
        acesso = banco.acesso();
    }
    const IniDoProcesso iniDoProcesso(comando.ini());

    for (const CasoSaida& c : casos) {
        SCOPED_TRACE(c.nome);
        const Resultado r = ExecutarCaso(comando, acesso, c);

        // The same table, built here as the gadget builds it.
        const TOpcoesCsv opcoes = LerOpcoesCsv(c.argumentos);
        TConfig config(QStringLiteral("GadGetVendHora"));
        config.CarregarIni();
        config.InstanciaVariaveis(QStringLiteral("GVH"));
        config.setHoraIni(opcoes.horaIni);
        config.setHoraFim(opcoes.horaFim);
        TConexao conexao;
        ConfigurarConexao(conexao, config);
        ASSERT_TRUE(conexao.ConectarBanco());
        TVendasHoraDados dados;
        dados.ValorDasVendas(config, conexao, opcoes.dia);
        const QStringList linhas = QString::fromUtf8(r.saida).split(u'\n', Qt::SkipEmptyParts);
        ASSERT_EQ(linhas.size(), qsizetype(dados.CdsTemp().Linhas().size()) + 1);
        for (size_t i = 0; i < dados.CdsTemp().Linhas().size(); ++i) {
            const auto& linha = dados.CdsTemp().Linhas()[i];
            const QStringList campos = linhas[qsizetype(i) + 1].split(u';');
            ASSERT_EQ(campos.size(), 2);
            EXPECT_EQ(campos[0], linha.HORA);
            EXPECT_EQ(QString(campos[1]).replace(u',', u'.').toDouble(), linha.VALOR);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(MotorEmbutidoEServidor, ImprimeATabela,
                         ::testing::Values(BancoVarejo::Onde::Local, BancoVarejo::Onde::Servidor),
                         [](const auto& info) {
                             return info.param == BancoVarejo::Onde::Local ? "Local" : "Servidor";
                         });

// The fixture's day of known figures, branch 01, from 8 to 12.
const std::string DETALHADO_SEMANA = "HORA;VALOR;VENDAS;TICKET;REFERENCIA\n"
                                     "08;150,15;2;75,08;60,00\n"
                                     "09;-80,00;1;-80,00;40,00\n"
                                     "10;42,00;2;21,00;71,00\n"
                                     "11;0,00;0;;5,00\n"
                                     "12;7,00;1;7,00;0,00\n"
                                     "TOTAL;119,15;6;19,86;176,00\n";
const std::string DETALHADO_MEDIA4 = "HORA;VALOR;VENDAS;TICKET;REFERENCIA\n"
                                     "08;150,15;2;75,08;25,00\n"
                                     "09;-80,00;1;-80,00;10,01\n"
                                     "10;42,00;2;21,00;18,50\n"
                                     "11;0,00;0;;1,25\n"
                                     "12;7,00;1;7,00;2,25\n"
                                     "TOTAL;119,15;6;19,86;57,01\n";
const std::string DETALHADO_NADA = "HORA;VALOR;VENDAS;TICKET;REFERENCIA\n"
                                   "08;150,15;2;75,08;\n"
                                   "09;-80,00;1;-80,00;\n"
                                   "10;42,00;2;21,00;\n"
                                   "11;0,00;0;;\n"
                                   "12;7,00;1;7,00;\n"
                                   "TOTAL;119,15;6;19,86;\n";

TEST(VendasPorHoraCsv, DetalhadoComVendasTicketEReferencia)
{
    const QString secao =
        QStringLiteral("[GadGetVendHora]\r\nEmpresa=01\r\nPedidosImportados=0\r\n");
    const QStringList dia = {"--dia", "15/05/2024", "--hora-fim", "12"};
    const CasoSaida casos[] = {
        {"the week before by default", secao, dia + QStringList{"--detalhado"}, DETALHADO_SEMANA},
        {"the mean of four weeks", secao + "Comparacao=4\r\n", dia + QStringList{"--detalhado"},
         DETALHADO_MEDIA4},
        {"no comparison", secao + "Comparacao=0\r\n", dia + QStringList{"--detalhado"},
         DETALHADO_NADA},
        {"a value that cannot be read: the week before", secao + "Comparacao=abc\r\n",
         dia + QStringList{"--detalhado"}, DETALHADO_SEMANA},
        {"--comparar over the file", secao + "Comparacao=0\r\n",
         dia + QStringList{"--detalhado", "--comparar", "media4"}, DETALHADO_MEDIA4},
        {"--comparar=nada", secao + "Comparacao=4\r\n",
         dia + QStringList{"--comparar=nada", "--detalhado"}, DETALHADO_NADA},
        {"--comparar semana", secao, dia + QStringList{"--detalhado", "--comparar", "semana"},
         DETALHADO_SEMANA},
        {"without --detalhado, as ever", secao + "Comparacao=4\r\nMetaDia=100\r\n",
         dia + QStringList{"--comparar", "media4"},
         "HORA;VALOR\n08;150,15\n09;-80,00\n10;42,00\n11;0,00\n12;7,00\n"},
    };
    const Comando comando;
    AcessoBanco acesso;
    {
        BancoVarejo banco(comando.caminho("loja.fdb"));
        OrdensDoDiaComReferencias(banco);
        acesso = banco.acesso();
    }
    for (const CasoSaida& c : casos) {
        SCOPED_TRACE(c.nome);
        ExecutarCaso(comando, acesso, c);
    }
}

// On the day itself, late in the morning: the reference is still the whole
// day, as the rows are whole hours.
TEST(VendasPorHoraCsv, DetalhadoDeHojeTemAReferenciaDoDiaInteiro)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    {
        BancoVarejo banco(dir.filePath(QStringLiteral("loja.fdb")));
        OrdensDoDiaComReferencias(banco);
        EscreverIniBanco(dir.filePath(QStringLiteral("ConfigGadGet.Ini")), banco.acesso(),
                         QStringLiteral("[GadGetVendHora]\r\nEmpresa=01\r\n"));
    }
    const IniDoProcesso ini(dir.filePath(QStringLiteral("ConfigGadGet.Ini")));
    // The command waits for its database thread in an event loop, as its own
    // main gives it one.
    int argc = 1;
    char nome[] = "vendas-por-hora-csv";
    char* argv[] = {nome, nullptr};
    const QCoreApplication aplicacao(argc, argv);
    const plataforma::TGanchosRestaurados ganchos;
    plataforma::Ganchos().hoje = [] { return DIA; };
    plataforma::Ganchos().agora = [] { return AGORA; };
    QString saida;
    QString erros;
    QTextStream fluxoSaida(&saida);
    QTextStream fluxoErros(&erros);
    EXPECT_EQ(ExecutarVendasPorHoraCsv({"--hora-fim", "12", "--detalhado"}, fluxoSaida, fluxoErros),
              0)
        << erros.toStdString();
    EXPECT_EQ(saida.toStdString(), DETALHADO_SEMANA);
}

// Another process on the same local file while the gadget holds it: both go
// through the server of this machine, which shares the file.
TEST(VendasPorHoraCsv, ArquivoLocalQueOGadgetTemAberto)
{
    const Comando comando;
    AcessoBanco acesso;
    {
        BancoVarejo banco(comando.caminho("loja.fdb"), BancoVarejo::Onde::Servidor);
        AdicionarVendas(banco);
        acesso = banco.acesso();
    }
    acesso.LocRem = QStringLiteral("L");
    acesso.Servidor.clear();
    EscreverIniBanco(comando.ini(), acesso, QStringLiteral("[GadGetVendHora]\r\nEmpresa=02\r\n"));
    const QByteArray servidorAnterior = qgetenv("VANTREL_SERVIDOR_LOCAL");
    qunsetenv("VANTREL_SERVIDOR_LOCAL"); // the server of this machine, here and in the command

    TConexao gadget;
    ConfigurarConexao(gadget, acesso);
    ASSERT_TRUE(gadget.ConectarBanco());
    TConfig config(QStringLiteral("GadGetVendHora"));
    config.setHoraIni(QStringLiteral("11"));
    config.setHoraFim(QStringLiteral("11"));
    config.setEmpresa(QStringLiteral("02"));
    config.setPedidosImportados(QStringLiteral("0"));
    TVendasHoraDados dados;
    dados.ValorDasVendas(config, gadget, QStringLiteral("13/05/2024"));

    const Resultado r =
        comando.executar({"--dia", "13/05/2024", "--hora-ini", "11", "--hora-fim", "11"});
    EXPECT_EQ(r.codigo, 0) << Str(r.erros);
    EXPECT_EQ(Str(r.saida), "HORA;VALOR\n11;50,00\n");
    dados.ValorDasVendas(config, gadget, QStringLiteral("13/05/2024"));
    ASSERT_EQ(dados.CdsTemp().Linhas().size(), 1u);
    EXPECT_EQ(dados.CdsTemp().Linhas()[0].VALOR, 50.0) << "the gadget reads on";

    if (!servidorAnterior.isNull())
        qputenv("VANTREL_SERVIDOR_LOCAL", servidorAnterior);
}

TEST(VendasPorHoraCsv, AjudaNaSaidaPadrao)
{
    const Comando comando;
    for (const QStringList& argumentos :
         {QStringList{"--help"}, QStringList{"--dia", "13/05/2024", "--help"}}) {
        const Resultado r = comando.executar(argumentos);
        EXPECT_EQ(r.codigo, 0);
        EXPECT_EQ(QString::fromUtf8(r.saida), USO_VENDAS_POR_HORA_CSV);
        EXPECT_TRUE(r.erros.isEmpty()) << Str(r.erros);
    }
}

TEST(VendasPorHoraCsv, VersaoNaSaidaPadrao)
{
    const Comando comando;
    for (const QStringList& argumentos :
         {QStringList{"--version"}, QStringList{"--dia=13/05/2024", "--version"}}) {
        const Resultado r = comando.executar(argumentos);
        EXPECT_EQ(r.codigo, 0);
        EXPECT_EQ(Str(r.saida), "vendas-por-hora-csv 21.08ru\n");
        EXPECT_TRUE(r.erros.isEmpty()) << Str(r.erros);
    }
}

struct CasoErro {
    const char* nome;
    std::optional<QByteArray> ini; // none: no file
    QStringList argumentos;
    int codigo;
    QString texto; // part of the one line on standard error
};

TEST(VendasPorHoraCsv, ErrosNumaLinhaComOCodigoCertoESemSaida)
{
    const Comando comando;
    const QString semTabelas = comando.caminho("sem-tabelas.fdb");
    QString senhaLocal; // what a local file takes: a server that answers knows its own
    {
        BancoVarejo banco(semTabelas);
        banco.executar(QStringLiteral("DROP TABLE PEDIDOC"));
        senhaLocal = banco.acesso().Senha;
    }
    const QString noServidor = comando.caminho("servidor.fdb");
    {
        BancoVarejo banco(noServidor, BancoVarejo::Onde::Servidor);
    }

    const auto comum = [&](const QString& locRem, const QString& servidor, const QString& caminho,
                           const QString& senha) {
        return (QStringLiteral("[Configuracoes]\r\nLocRem=%1\r\nServidor=%2\r\nProtocolo=0\r\n"
                               "CaminhoBanco=%3\r\nUsuario=SYSDBA\r\nSenha=%4\r\n"
                               "[GadGetVendHora]\r\nEmpresa=01\r\n")
                    .arg(locRem, servidor, caminho, senha))
            .toUtf8();
    };
    const QByteArray valido = comum("L", "", semTabelas, senhaLocal);
    const QStringList dia = {"--dia", "13/05/2024"};

    const CasoErro casos[] = {
        {"unknown option", valido, {"--dias", "13/05/2024"}, 1, "opção desconhecida: \"--dias\""},
        {"argument without option", valido, {"13/05/2024"}, 1, "argumento inesperado"},
        {"missing value", valido, {"--dia"}, 1, "falta o valor de --dia"},
        {"missing hour", valido, {"--hora-fim"}, 1, "falta o valor de --hora-fim"},
        {"unknown option with a value",
         valido,
         {"--filial=01"},
         1,
         "opção desconhecida: \"--filial\""},
        {"empty value after =", valido, {"--dia="}, 1, "data inválida em --dia: \"\""},
        {"invalid hour after =", valido, {"--hora-ini=25"}, 1, "\"25\""},
        {"invalid date", valido, {"--dia", "31/02/2024"}, 1, "\"31/02/2024\""},
        {"date in another form", valido, {"--dia", "2024-05-13"}, 1, "\"2024-05-13\""},
        {"hour above 23", valido, {"--hora-ini", "24"}, 1, "\"24\""},
        {"negative hour", valido, {"--hora-fim", "-1"}, 1, "\"-1\""},
        {"hour with a fraction", valido, {"--hora-ini", "8.5"}, 1, "\"8.5\""},
        {"hour that is no number", valido, {"--hora-fim", "oito"}, 1, "\"oito\""},
        {"unknown comparison",
         valido,
         {"--detalhado", "--comparar", "mes"},
         1,
         "comparação inválida em --comparar: \"mes\", use nada, semana ou media4"},
        {"comparison in capitals", valido, {"--comparar=Semana"}, 1, "\"Semana\""},
        {"missing comparison",
         valido,
         {"--detalhado", "--comparar"},
         1,
         "falta o valor de --comparar"},
        {"negative time limit",
         valido,
         {"--tempo-limite", "-1"},
         1,
         "tempo limite inválido em --tempo-limite: \"-1\""},
        {"time limit that is no number", valido, {"--tempo-limite=dez"}, 1, "\"dez\""},
        {"time limit with a fraction", valido, {"--tempo-limite", "1.5"}, 1, "\"1.5\""},
        {"missing time limit", valido, {"--tempo-limite"}, 1, "falta o valor de --tempo-limite"},
        {"no configuration file", std::nullopt, dia, 2, "não existe"},
        {"no password", comum("L", "", semTabelas, ""), dia, 2,
         "Configurações do banco de dados não informadas"},
        {"no database path", comum("L", "", "", SENHA_SECRETA), dia, 2,
         "Configurações do banco de dados não informadas"},
        {"no such database", comum("L", "", comando.caminho("nao-existe.fdb"), senhaLocal), dia, 2,
         "Não foi possível conectar ao banco de dados: I/O error"},
        {"wrong password", comum("R", "127.0.0.1", noServidor, SENHA_SECRETA), dia, 2,
         "Não foi possível conectar ao banco de dados: login recusado pelo servidor. Confira o "
         "usuário e a senha"},
        {"database without the orders table", valido, dia, 2,
         "Erro na consulta das vendas: Dynamic SQL Error"},
    };
    for (const CasoErro& c : casos) {
        SCOPED_TRACE(c.nome);
        QFile::remove(comando.ini());
        if (c.ini) {
            QFile arquivo(comando.ini());
            ASSERT_TRUE(arquivo.open(QIODevice::WriteOnly));
            arquivo.write(*c.ini);
        }
        const Resultado r = comando.executar(c.argumentos);
        EXPECT_EQ(r.codigo, c.codigo);
        EXPECT_TRUE(r.saida.isEmpty()) << Str(r.saida);
        const QString erros = QString::fromUtf8(r.erros);
        EXPECT_TRUE(erros.startsWith(QStringLiteral("vendas-por-hora-csv: "))) << Str(r.erros);
        EXPECT_TRUE(erros.endsWith(u'\n') && erros.count(u'\n') == 1) << Str(r.erros);
        EXPECT_TRUE(erros.contains(c.texto)) << Str(r.erros);
        EXPECT_FALSE(erros.contains(SENHA_SECRETA)) << Str(r.erros);
    }
}

// Something that is no file in the configuration file's place: the command
// must neither hang on it nor read it as a file without settings.
TEST(VendasPorHoraCsv, NadaQueNaoSejaUmArquivoNoLugarDaConfiguracao)
{
    struct Caso {
        const char* nome;
        std::function<bool(const QString&)> criar;
    };
    const Caso casos[] = {
        {"fifo",
         [](const QString& c) { return mkfifo(QFile::encodeName(c).constData(), 0600) == 0; }},
        {"folder", [](const QString& c) { return QDir().mkdir(c); }},
        {"device", [](const QString& c) { return QFile::link(QStringLiteral("/dev/zero"), c); }},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        const Comando comando;
        ASSERT_TRUE(c.criar(comando.ini()));
        const Resultado r = comando.executar({"--dia", "13/05/2024"});
        EXPECT_EQ(r.codigo, 2);
        EXPECT_TRUE(r.saida.isEmpty()) << Str(r.saida);
        EXPECT_EQ(Str(r.erros), QStringLiteral("vendas-por-hora-csv: Gadgets não configuradas: %1 "
                                               "não é um arquivo comum\n")
                                    .arg(comando.ini())
                                    .toStdString());
    }
}

// A day of many orders on a copy without indexes, read through a relay: the
// statement's join of the orders with themselves runs far longer than the
// limits here, as it did for minutes on a shop's database.
class CsvDemorado : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        pasta = new QTemporaryDir;
        banco = new BancoVarejo(pasta->filePath(QStringLiteral("sem-indices.fdb")),
                                BancoVarejo::Onde::Servidor);
        banco->executar(QStringLiteral("DROP INDEX PEDIDOC_DATA"));
        banco->executar(QStringLiteral("DROP INDEX PEDIDOC_PEDIDO"));
        banco->addOperacao(1, QStringLiteral("S"), QStringLiteral("N"));
        QList<Pedido> pedidos;
        for (int i = 0; i < 20000; ++i)
            pedidos.append({.dataPedido = Dia(), .hora = "10:00", .totalPedido = 1});
        banco->addPedidos(pedidos);
    }

    static void TearDownTestSuite()
    {
        delete banco;
        delete pasta;
    }

    // The command reads through the relay, with the time limit given.
    Resultado Executar(const QString& tempoLimite, const std::function<void()>& durante = {})
    {
        AcessoBanco acesso = banco->acesso();
        acesso.Servidor = QStringLiteral("127.0.0.1/%1").arg(retransmissor.porta());
        EscreverIniBanco(comando.ini(), acesso);
        QElapsedTimer relogio;
        relogio.start();
        const Resultado r =
            comando.executar({"--dia", "13/05/2024", "--tempo-limite", tempoLimite}, durante);
        std::printf("exit %d after %lld ms: %s", r.codigo, relogio.elapsed(), r.erros.constData());
        return r;
    }

    static void ExpectCortadoNoLimite(const Resultado& r, const char* segundos)
    {
        EXPECT_EQ(r.codigo, 2);
        EXPECT_TRUE(r.saida.isEmpty()) << Str(r.saida);
        EXPECT_EQ(Str(r.erros),
                  std::string("vendas-por-hora-csv: O banco de dados não respondeu em ") + segundos
                      + " segundos; a leitura foi interrompida. Para esperar mais, use "
                        "--tempo-limite.\n");
    }

    static inline QTemporaryDir* pasta = nullptr;
    static inline BancoVarejo* banco = nullptr;
    Retransmissor retransmissor;
    const Comando comando;
};

TEST_F(CsvDemorado, ConsultaDemoradaParaNoLimite)
{
    ExpectCortadoNoLimite(Executar(QStringLiteral("2")), "2");
}

TEST_F(CsvDemorado, RedeQueSeCalaDuranteAConsultaParaNoLimite)
{
    const Resultado r = Executar(QStringLiteral("4"), [this] {
        // Attached and reading by then.
        QDeadlineTimer prazo(10000);
        while (retransmissor.conexoes() == 0 && !prazo.hasExpired())
            QThread::msleep(20);
        QThread::msleep(1500);
        retransmissor.setMudo(true);
    });
    ExpectCortadoNoLimite(r, "4");
}

} // namespace
