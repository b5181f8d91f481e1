#include "config/config.h"
#include "impressao_qt.h"
#include "tests/support/arquivo_teste.h"
#include "utf16_teste.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

const QString SECAO = QStringLiteral("GadGetVendHora");

const QByteArray COMUM = "[Configuracoes]\r\nLocRem=L\r\nServidor=srv\r\nProtocolo=0\r\n"
                         "CaminhoBanco=/dados/loja.fdb\r\nUsuario=SYSDBA\r\nSenha=segredo\r\n";

const QByteArray COMUM_LF = QByteArray(COMUM).replace("\r\n", "\n");

// What the start-up does with the record.
void Iniciar(TConfig& c)
{
    c.CarregarIni();
    c.InstanciaVariaveis(QStringLiteral("GVH"));
    c.SalvarIni();
}

using Leitor = const QString& (TConfig::*)() const;
using Escritor = void (TConfig::*)(const QString&);

struct Campo {
    const char* chave;
    Leitor ler;
    Escritor escrever;
};

#define VPH_CAMPO(Nome)                                                                            \
    Campo                                                                                          \
    {                                                                                              \
#Nome, &TConfig::Nome, &TConfig::set##Nome                                                 \
    }

// The gadget section's keys that a load reads, each with its field.
const std::vector<Campo> CAMPOS_SECAO = {
    VPH_CAMPO(SempreVisivel),
    VPH_CAMPO(Transparencia),
    VPH_CAMPO(Empresa),
    VPH_CAMPO(AtualizaDados),
    VPH_CAMPO(PosX),
    VPH_CAMPO(PosY),
    VPH_CAMPO(TipoDeLucro),
    VPH_CAMPO(Listar),
    VPH_CAMPO(Faturados),
    VPH_CAMPO(Margem),
    VPH_CAMPO(Meta),
    VPH_CAMPO(HoraIniExp),
    VPH_CAMPO(HoraFimExp),
    VPH_CAMPO(Devolucoes),
    VPH_CAMPO(Trocas),
    VPH_CAMPO(Pedidos),
    VPH_CAMPO(TiposPedido),
    VPH_CAMPO(Modo),
    VPH_CAMPO(FiltroData),
    VPH_CAMPO(TipoVenda),
    VPH_CAMPO(DataInicial),
    VPH_CAMPO(DataFinal),
    VPH_CAMPO(Periodo),
    VPH_CAMPO(MostraPedidos),
    VPH_CAMPO(PedidosImportados),
};

const std::vector<Campo> CAMPOS_COMUNS = {
    VPH_CAMPO(LocRem),       VPH_CAMPO(Servidor), VPH_CAMPO(Protocolo),
    VPH_CAMPO(CaminhoBanco), VPH_CAMPO(Usuario),  VPH_CAMPO(Senha),
};

#undef VPH_CAMPO

// The key names of the lines after the section's header, up to the next one.
QStringList ChavesDaSecao(const QByteArray& arquivo, const QByteArray& cabecalho)
{
    QStringList chaves;
    bool dentro = false;
    for (QByteArray linha : arquivo.split('\n')) {
        linha = linha.trimmed();
        if (linha.startsWith('[')) {
            dentro = linha == cabecalho;
            continue;
        }
        if (dentro && !linha.isEmpty())
            chaves << QString::fromLatin1(linha.left(linha.indexOf('=')));
    }
    return chaves;
}

struct CasoInicio {
    const char* nome;
    bool existe;
    QByteArray antes;
    QByteArray depois;
};

void PrintTo(const CasoInicio& c, std::ostream* os)
{
    *os << c.nome;
}

class PrimeiroInicio : public testing::TestWithParam<CasoInicio> {};

TEST_P(PrimeiroInicio, GravaExatamenteAsOnzeChaves)
{
    const CasoInicio& c = GetParam();
    ArquivoTeste arquivo;
    if (c.existe)
        arquivo.Gravar(c.antes);
    TConfig config(SECAO);
    Iniciar(config);
    EXPECT_EQ(arquivo.Ler(), c.depois);
}

const QByteArray ONZE_CHAVES =
    "SempreVisivel=0\r\nTransparencia=100\r\nEmpresa=\r\nAtualizaDados=1\r\n"
    "PosX=\r\nPosY=\r\nIniWindows=1\r\nMostraPedidos=0\r\n"
    "PedidosImportados=0\r\nModo=\r\nGadGet=\r\n";

INSTANTIATE_TEST_SUITE_P(
    Config, PrimeiroInicio,
    testing::Values(
        CasoInicio{"sem_secao", true, COMUM, COMUM + "[GadGetVendHora]\r\n" + ONZE_CHAVES},
        CasoInicio{"secao_vazia_antes_de_outra", true,
                   COMUM + "[GadGetVendHora]\r\n\r\n[GadGetMeta]\r\nMeta=5\r\n",
                   COMUM + "[GadGetVendHora]\r\n" + ONZE_CHAVES + "\r\n[GadGetMeta]\r\nMeta=5\r\n"},
        CasoInicio{"sem_arquivo",
                   false,
                   {},
                   "[GadGetVendHora]\n" + QByteArray(ONZE_CHAVES).replace("\r\n", "\n")}),
    [](const testing::TestParamInfo<CasoInicio>& i) { return std::string(i.param.nome); });

TEST(Config, ChavesDeOutrosGadgetsECamposNaoGuardadosSobrevivemAoInicio)
{
    ArquivoTeste arquivo;
    const QByteArray secao = "[GadGetVendHora]\nPeriodo=2\nMeta=\nModo=\nGadGet=Outro\nPosX=10\n"
                             "HoraIni=9\nHoraFim=20\nContasCaixa=7\n";
    arquivo.Gravar(COMUM_LF + secao);
    TConfig config(SECAO);
    Iniciar(config);

    EXPECT_EQ(arquivo.Ler(),
              COMUM_LF
                  + "[GadGetVendHora]\nPeriodo=2\nMeta=\nModo=\nGadGet=\nPosX=10\nHoraIni=9\n"
                    "HoraFim=20\nContasCaixa=7\nSempreVisivel=0\nTransparencia=100\nEmpresa=\n"
                    "AtualizaDados=1\nPosY=\nIniWindows=1\nMostraPedidos=0\nPedidosImportados=0\n");
    // Business hours are never read: each start begins again at 8 to 18.
    EXPECT_EQ(config.HoraIni(), "8");
    EXPECT_EQ(config.HoraFim(), "18");
    EXPECT_EQ(config.Contas(), "");
}

TEST(Config, NomesEmOutraCaixaDeLetraSaoLidosETrocadosNoLugar)
{
    ArquivoTeste arquivo;
    arquivo.Gravar("[gadgetvendhora]\nposx=10\nTRANSPARENCIA=55\n");
    TConfig config(SECAO);
    config.CarregarIni();
    EXPECT_EQ(config.PosX(), "10");
    EXPECT_EQ(config.Transparencia(), "55");

    config.InstanciaVariaveis(QStringLiteral("GVH"));
    EXPECT_EQ(config.Transparencia(), "55");
    config.setPosX(QStringLiteral("30"));
    config.SalvarIni();
    EXPECT_EQ(arquivo.Ler(), "[gadgetvendhora]\nposx=30\nTRANSPARENCIA=55\nSempreVisivel=0\n"
                             "Empresa=\nAtualizaDados=1\nPosY=\nIniWindows=1\nMostraPedidos=0\n"
                             "PedidosImportados=0\nModo=\nGadGet=\n");
}

TEST(Config, CarregarLeCadaChaveNoSeuCampo)
{
    ArquivoTeste arquivo;
    QByteArray bytes = "[Configuracoes]\n";
    for (const Campo& c : CAMPOS_COMUNS)
        bytes += QByteArray(c.chave) + "=c_" + c.chave + "\n";
    bytes += "[GadGetVendHora]\nIniWindows=0\nHoraIni=9\nHoraFim=20\nContasCaixa=1\n";
    for (const Campo& c : CAMPOS_SECAO)
        bytes += QByteArray(c.chave) + " = 's_" + c.chave + "'\n";
    arquivo.Gravar(bytes);

    TConfig config(SECAO);
    config.CarregarIni();
    for (const Campo& c : CAMPOS_COMUNS)
        EXPECT_EQ((config.*c.ler)(), QStringLiteral("c_") + c.chave) << c.chave;
    for (const Campo& c : CAMPOS_SECAO)
        EXPECT_EQ((config.*c.ler)(), QStringLiteral("s_") + c.chave) << c.chave;
    EXPECT_EQ(config.IniWindows(), "");
    EXPECT_EQ(config.HoraIni(), "");
    EXPECT_EQ(config.HoraFim(), "");
    EXPECT_EQ(config.Contas(), "");
}

TEST(Config, CarregarEsvaziaOsCamposCujasChavesFaltam)
{
    ArquivoTeste arquivo;
    arquivo.Gravar("[GadGetVendHora]\nPosX=1\n");
    TConfig config(SECAO);
    for (const Campo& c : CAMPOS_SECAO)
        (config.*c.escrever)(QStringLiteral("antes"));
    config.CarregarIni();
    for (const Campo& c : CAMPOS_SECAO)
        EXPECT_EQ((config.*c.ler)(), QLatin1String(c.chave) == "PosX" ? "1" : "") << c.chave;
}

TEST(Config, SalvarGravaAsChavesEmOrdemERecarregaOsMesmosValores)
{
    ArquivoTeste arquivo;
    arquivo.Gravar(COMUM_LF);
    TConfig config(SECAO);
    config.CarregarIni();
    for (const Campo& c : CAMPOS_SECAO)
        (config.*c.escrever)(QStringLiteral("v_") + c.chave);
    // Values that only survive when the file quotes them.
    config.setEmpresa(QStringLiteral(" 12 "));
    config.setMeta(QStringLiteral("'q'"));
    config.setIniWindows(QStringLiteral("0"));
    config.setContas(QStringLiteral("1;2"));
    for (const Campo& c : CAMPOS_COMUNS)
        (config.*c.escrever)(QStringLiteral("mudado"));
    config.SalvarIni();

    const QByteArray bytes = arquivo.Ler();
    EXPECT_TRUE(bytes.startsWith(COMUM_LF)) << "the shared section is never written";
    EXPECT_EQ(ChavesDaSecao(bytes, "[GadGetVendHora]"),
              QStringList({"SempreVisivel", "Transparencia",
                           "Empresa",       "AtualizaDados",
                           "PosX",          "PosY",
                           "IniWindows",    "TipoDeLucro",
                           "Listar",        "Faturados",
                           "ContasCaixa",   "Margem",
                           "Meta",          "HoraIniExp",
                           "HoraFimExp",    "Devolucoes",
                           "Trocas",        "Pedidos",
                           "TiposPedido",   "TipoVenda",
                           "FiltroData",    "DataInicial",
                           "DataFinal",     "Periodo",
                           "MostraPedidos", "PedidosImportados",
                           "Modo",          "GadGet"}));
    EXPECT_TRUE(bytes.contains("\nIniWindows=0\n"));
    EXPECT_TRUE(bytes.contains("\nContasCaixa=1;2\n"));

    TConfig relido(SECAO);
    relido.CarregarIni();
    for (const Campo& c : CAMPOS_SECAO)
        EXPECT_EQ((relido.*c.ler)(), (config.*c.ler)()) << c.chave;
}

TEST(Config, CamposOpcionaisVaziosNaoSaoGravados)
{
    ArquivoTeste arquivo;
    TConfig config(SECAO);
    config.SalvarIni();
    EXPECT_EQ(arquivo.Ler(), "[GadGetVendHora]\nSempreVisivel=\nTransparencia=\nEmpresa=\n"
                             "AtualizaDados=\nPosX=\nPosY=\nIniWindows=\nModo=\nGadGet=\n");
}

TEST(Config, RegistroSemSecaoLeSoAsConfiguracoesDoBanco)
{
    ArquivoTeste arquivo;
    arquivo.Gravar(COMUM + "[GadGetVendHora]\nPosX=1\nModo=2\nContasCaixa=3\n[]\nPosY=4\n");
    TConfig config(QString{});
    config.CarregarIni();
    EXPECT_EQ(config.LocRem(), "L");
    EXPECT_EQ(config.Servidor(), "srv");
    EXPECT_EQ(config.Protocolo(), "0");
    EXPECT_EQ(config.CaminhoBanco(), "/dados/loja.fdb");
    EXPECT_EQ(config.Usuario(), "SYSDBA");
    EXPECT_EQ(config.Senha(), "segredo");
    for (const Campo& c : CAMPOS_SECAO)
        EXPECT_EQ((config.*c.ler)(), "") << c.chave;
    EXPECT_EQ(config.Contas(), "");
}

TEST(Config, ArquivoInexistenteCarregaVazioENaoECriado)
{
    ArquivoTeste arquivo;
    TConfig config(SECAO);
    config.CarregarIni();
    for (const Campo& c : CAMPOS_COMUNS)
        EXPECT_EQ((config.*c.ler)(), "") << c.chave;
    EXPECT_FALSE(QFileInfo::exists(arquivo.caminho()));
}

struct CasoContas {
    const char* nome;
    const char* secao;
    QByteArray arquivo;
    QString contas;
};

void PrintTo(const CasoContas& c, std::ostream* os)
{
    *os << c.nome;
}

class Contas : public testing::TestWithParam<CasoContas> {};

TEST_P(Contas, VemDaPrimeiraLinhaQueAsNomeiaSoParaOutroGadget)
{
    const CasoContas& c = GetParam();
    ArquivoTeste arquivo;
    arquivo.Gravar(c.arquivo);
    TConfig config(QString::fromUtf8(c.secao));
    config.CarregarIni();
    EXPECT_EQ(config.Contas(), c.contas);
}

INSTANTIATE_TEST_SUITE_P(
    Config, Contas,
    testing::Values(
        CasoContas{"entre_secoes_sem_aparar", "GadGetCaixa",
                   "[Outro]\r\n  xContasCaixa= 1;2 \r\n[GadGetCaixa]\r\nContasCaixa=9\r\n",
                   " 1;2 "},
        CasoContas{"apos_primeira_marca", "GadGetCaixa",
                   "[GadGetCaixa]\nContasCaixa=ContasCaixa=3\n", "ContasCaixa=3"},
        CasoContas{"caixa_de_letra_importa", "GadGetCaixa", "[GadGetCaixa]\ncontascaixa=5\n", ""},
        CasoContas{"nenhuma", "GadGetCaixa", "[GadGetCaixa]\nMeta=5\n", ""},
        CasoContas{"nunca_para_este_gadget", "GadGetVendHora", "[GadGetVendHora]\nContasCaixa=9\n",
                   ""},
        CasoContas{"nunca_para_este_gadget_em_qualquer_caixa", "gadgetvendhora",
                   "[GadGetVendHora]\nContasCaixa=9\n", ""}),
    [](const testing::TestParamInfo<CasoContas>& i) { return std::string(i.param.nome); });

TEST(Config, SalvarDeOutroGadgetGravaSuasContas)
{
    ArquivoTeste arquivo;
    arquivo.Gravar("[Outro]\nContasCaixa=1;2\n[GadGetCaixa]\n");
    TConfig config(QStringLiteral("GadGetCaixa"));
    config.CarregarIni();
    config.SalvarIni();
    EXPECT_EQ(ChavesDaSecao(arquivo.Ler(), "[GadGetCaixa]"),
              QStringList({"SempreVisivel", "Transparencia", "Empresa", "AtualizaDados", "PosX",
                           "PosY", "IniWindows", "ContasCaixa", "Modo", "GadGet"}));
    EXPECT_TRUE(arquivo.Ler().endsWith("\nContasCaixa=1;2\nModo=\nGadGet=\n"));
}

struct CasoPadroes {
    const char* nome;
    const char* sigla;
    std::vector<std::pair<Escritor, QString>> antes;
    std::vector<std::pair<Leitor, QString>> depois;
};

void PrintTo(const CasoPadroes& c, std::ostream* os)
{
    *os << c.nome;
}

class Padroes : public testing::TestWithParam<CasoPadroes> {};

TEST_P(Padroes, PreenchemSoCamposVazios)
{
    const CasoPadroes& c = GetParam();
    TConfig config(SECAO);
    for (const auto& [escrever, valor] : c.antes)
        (config.*escrever)(valor);
    config.InstanciaVariaveis(QString::fromUtf8(c.sigla));
    for (const auto& [ler, valor] : c.depois)
        EXPECT_EQ((config.*ler)(), valor);
}

INSTANTIATE_TEST_SUITE_P(Config, Padroes,
                         testing::Values(CasoPadroes{"todos_vazios",
                                                     "GVH",
                                                     {},
                                                     {{&TConfig::IniWindows, "1"},
                                                      {&TConfig::Transparencia, "100"},
                                                      {&TConfig::AtualizaDados, "1"},
                                                      {&TConfig::SempreVisivel, "0"},
                                                      {&TConfig::MostraPedidos, "0"},
                                                      {&TConfig::PedidosImportados, "0"},
                                                      {&TConfig::HoraIni, "8"},
                                                      {&TConfig::HoraFim, "18"},
                                                      {&TConfig::Empresa, ""},
                                                      {&TConfig::PosX, ""},
                                                      {&TConfig::PosY, ""},
                                                      {&TConfig::Modo, ""}}},
                                         CasoPadroes{"valores_presentes_mantidos_sem_verificar",
                                                     "GVH",
                                                     {{&TConfig::setIniWindows, "0"},
                                                      {&TConfig::setTransparencia, "55"},
                                                      {&TConfig::setAtualizaDados, "x"},
                                                      {&TConfig::setSempreVisivel, "1"},
                                                      {&TConfig::setMostraPedidos, " 1 "},
                                                      {&TConfig::setPedidosImportados, "1"},
                                                      {&TConfig::setHoraIni, "9"},
                                                      {&TConfig::setHoraFim, "20"}},
                                                     {{&TConfig::IniWindows, "1"},
                                                      {&TConfig::Transparencia, "55"},
                                                      {&TConfig::AtualizaDados, "x"},
                                                      {&TConfig::SempreVisivel, "1"},
                                                      {&TConfig::MostraPedidos, " 1 "},
                                                      {&TConfig::PedidosImportados, "1"},
                                                      {&TConfig::HoraIni, "9"},
                                                      {&TConfig::HoraFim, "20"}}},
                                         CasoPadroes{"branco_conta_como_vazio_so_em_mostra_pedidos",
                                                     "GVH",
                                                     {{&TConfig::setMostraPedidos, " \t"},
                                                      {&TConfig::setPedidosImportados, " "}},
                                                     {{&TConfig::MostraPedidos, "0"},
                                                      {&TConfig::PedidosImportados, " "}}},
                                         CasoPadroes{"horas_so_para_gvh",
                                                     "GMT",
                                                     {},
                                                     {{&TConfig::HoraIni, ""},
                                                      {&TConfig::HoraFim, ""},
                                                      {&TConfig::IniWindows, "1"},
                                                      {&TConfig::Transparencia, "100"}}}),
                         [](const testing::TestParamInfo<CasoPadroes>& i) {
                             return std::string(i.param.nome);
                         });

TEST(Config, BytesWindows1252SobrevivemAoSalvar)
{
    ArquivoTeste arquivo;
    const QByteArray comum = "[Configuracoes]\r\nUsuario=Jo\xE3o\r\nSenha=\x80\xE7\r\n";
    arquivo.Gravar(comum
                   + "[GadGetVendHora]\r\nEmpresa=Lo\xE7"
                     "a\r\nModo=\x93x\x94\r\n");
    TConfig config(SECAO);
    Iniciar(config);
    EXPECT_EQ(config.Usuario(), "João");
    EXPECT_EQ(config.Empresa(), "Loça");
    EXPECT_EQ(arquivo.Ler(), comum
                                 + "[GadGetVendHora]\r\nEmpresa=Lo\xE7"
                                   "a\r\nModo=\x93x\x94\r\n"
                                   "SempreVisivel=0\r\nTransparencia=100\r\nAtualizaDados=1\r\n"
                                   "PosX=\r\nPosY=\r\nIniWindows=1\r\nMostraPedidos=0\r\n"
                                   "PedidosImportados=0\r\nGadGet=\r\n");
}

// The branch code as the database holds it ("É1" in Windows-1252) goes into
// the file byte for byte, and reads back as the text that gives those bytes
// again; where other UTF-8 text of the file would then read otherwise, the
// text goes in UTF-8 and that text reads as before.
TEST(Config, EmpresaDoBancoGravadaComOsBytesDoBanco)
{
    const QByteArray codigo("\xC9"
                            "1");
    struct Caso {
        const char* nome;
        QByteArray comum;
        QByteArray gravado; // the Empresa line
        bool bytesDoBanco;
    };
    const Caso casos[] = {
        {"file of plain ASCII", "[Configuracoes]\nUsuario=Joao\n", "Empresa=" + codigo, true},
        {"file already Windows-1252", "[Configuracoes]\nUsuario=Jo\xE3o\n", "Empresa=" + codigo,
         true},
        {"other UTF-8 text", "[Configuracoes]\nUsuario=Jo\xC3\xA3o\n",
         "Empresa=\xC3\x89"
         "1",
         false},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        ArquivoTeste arquivo;
        arquivo.Gravar(c.comum + "[GadGetVendHora]\nEmpresa=01\n");
        TConfig config(SECAO);
        config.CarregarIni();
        const QString usuario = config.Usuario();
        config.SetEmpresaDoBanco(codigo);
        EXPECT_EQ(config.Empresa(), QStringLiteral("É1"));
        config.SalvarIni();
        EXPECT_TRUE(arquivo.Ler().contains("\n" + c.gravado + "\n")) << arquivo.Ler().toStdString();
        EXPECT_EQ(config.BytesNoArquivo(config.Empresa()) == codigo, c.bytesDoBanco);

        TConfig relido(SECAO);
        relido.CarregarIni();
        EXPECT_EQ(relido.Empresa(), config.Empresa());
        EXPECT_EQ(relido.BytesNoArquivo(relido.Empresa()), config.BytesNoArquivo(config.Empresa()));
        EXPECT_EQ(relido.Usuario(), usuario);
    }
}

TEST(Config, ArquivoUtf16ContinuaUtf16)
{
    ArquivoTeste arquivo;
    const QString comum = QStringLiteral("[Configuracoes]\r\nUsuario=Jo\u00E3o\r\nSenha=x\r\n");
    arquivo.Gravar(Utf16(comum));
    TConfig config(SECAO);
    Iniciar(config);
    EXPECT_EQ(config.Usuario(), QStringLiteral("Jo\u00E3o"));
    EXPECT_EQ(arquivo.Ler(), Utf16(comum + QStringLiteral("[GadGetVendHora]\r\n")
                                   + QString::fromLatin1(ONZE_CHAVES)));
}

TEST(Config, LinkSimbolicoContinuaLink)
{
    ArquivoTeste arquivo;
    const QString alvo = arquivo.pasta() + QStringLiteral("/real.ini");
    {
        QFile f(alvo);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(COMUM);
    }
    ASSERT_TRUE(QFile::link(alvo, arquivo.caminho()));
    TConfig config(SECAO);
    Iniciar(config);
    EXPECT_TRUE(QFileInfo(arquivo.caminho()).isSymLink());
    EXPECT_EQ(arquivo.Ler(), COMUM + "[GadGetVendHora]\r\n" + ONZE_CHAVES);
}

} // namespace
