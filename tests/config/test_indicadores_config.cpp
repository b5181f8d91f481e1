#include "base/dinheiro.h"
#include "config/config.h"
#include "config/indicadores.h"
#include "impressao_qt.h"
#include "tests/support/arquivo_teste.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

const QString SECAO = QStringLiteral("GadGetVendHora");

TEST(Dinheiro, FormaBrasileiraEPontoDecimalDoArquivo)
{
    const struct {
        const char* texto;
        std::optional<double> brasileira; // as the dialog takes it
        std::optional<double> arquivo; // as the file may hold it
    } casos[] = {
        {"1500", 1500, 1500},
        {" 1500 ", 1500, 1500},
        {"1.500", 1500, 1500},
        {"1.500,5", 1500.5, 1500.5},
        {"1.234.567,89", 1234567.89, 1234567.89},
        {"1500,50", 1500.5, 1500.5},
        {"0,05", 0.05, 0.05},
        {"1500.50", {}, 1500.5},
        {"1500.5", {}, 1500.5},
        {"1.50", {}, 1.5},
        {"1,500", {}, {}}, // three decimals
        {"1.5000", {}, {}},
        {"15.00.000", {}, {}},
        {"1.500.50", {}, {}},
        {"1,500.50", {}, {}},
        {"-10", {}, {}},
        {"R$ 10", {}, {}},
        {"10,", {}, {}},
        {",5", {}, {}},
        {"", {}, {}},
        {"abc", {}, {}},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(LerDinheiro(QString::fromLatin1(c.texto), false), c.brasileira) << c.texto;
        EXPECT_EQ(LerDinheiro(QString::fromLatin1(c.texto), true), c.arquivo) << c.texto;
    }
    EXPECT_EQ(TextoDinheiro(1234567.5, true), "1.234.567,50");
    EXPECT_EQ(TextoDinheiro(1234567.5, false), "1234567,50");
    EXPECT_EQ(TextoDinheiro(-0.0, false), "0,00");
    EXPECT_EQ(TextoReais(-80), "-R$ 80,00");
    EXPECT_EQ(TextoReais(12345.678), "R$ 12.345,68");
}

TEST(Indicadores, ComparacaoEMetaComPadroesSeguros)
{
    const struct {
        const char* valor;
        TComparacao comparacao;
    } comparacoes[] = {
        {"0", TComparacao::Nada},
        {"1", TComparacao::SemanaPassada},
        {"4", TComparacao::Media4Semanas},
        {"", TComparacao::SemanaPassada},
        {"2", TComparacao::SemanaPassada},
        {"04", TComparacao::SemanaPassada},
        {"nada", TComparacao::SemanaPassada},
    };
    for (const auto& c : comparacoes) {
        EXPECT_EQ(LerComparacao(QString::fromLatin1(c.valor)), c.comparacao) << c.valor;
        EXPECT_EQ(LerComparacao(ValorComparacao(c.comparacao)), c.comparacao) << c.valor;
    }

    const struct {
        const char* valor;
        std::optional<double> meta;
        const char* gravado; // what the dialog would store for it
    } metas[] = {
        {"", {}, ""},
        {"1500", 1500, "1500"},
        {"1.500,50", 1500.5, "1500,50"},
        {"1500.5", 1500.5, "1500,50"},
        {"0", {}, ""},
        {"0,00", {}, ""},
        {"abc", {}, ""},
        {"0,01", 0.01, "0,01"},
    };
    for (const auto& m : metas) {
        EXPECT_EQ(LerMetaDia(QString::fromLatin1(m.valor)), m.meta) << m.valor;
        EXPECT_EQ(ValorMetaDia(m.meta), QString::fromLatin1(m.gravado)) << m.valor;
    }
}

// The rest of the file, and the two keys as a user wrote them by hand.
const QByteArray ANTES = "; configurado pelo painel\r\n"
                         "[Configuracoes]\r\nCaminhoBanco=/dados/loja.fdb\r\n"
                         "[GadGetMetaVendas]\r\nMeta=150000\r\nComparacao=9\r\n"
                         "[GadGetVendHora]\r\nChaveDeOutroPrograma = x\r\n"
                         " Comparacao = abc \r\nMetaDia = 1.500,00\r\n";

TEST(Indicadores, SoSaoGravadasQuandoMudam)
{
    ArquivoTeste arquivo;
    arquivo.Gravar(ANTES);
    TConfig config(SECAO);
    config.CarregarIni();
    EXPECT_EQ(config.Comparacao(), "abc");
    EXPECT_EQ(config.MetaDia(), "1.500,00");
    EXPECT_EQ(LerComparacao(config.Comparacao()), TComparacao::SemanaPassada);
    EXPECT_EQ(LerMetaDia(config.MetaDia()), 1500);

    // A start-up, then the end of a drag: both keep the two lines as they
    // stand.
    config.InstanciaVariaveis(QStringLiteral("GVH"));
    config.SalvarIni();
    config.setPosX(QStringLiteral("10"));
    config.SalvarIni();
    const QByteArray salvo = arquivo.Ler();
    EXPECT_TRUE(salvo.startsWith(ANTES)) << salvo.toStdString();

    // Another program changes the goal meanwhile; ours, unchanged, leaves it.
    arquivo.Gravar(QByteArray(salvo).replace("MetaDia = 1.500,00", "MetaDia=1800"));
    config.SalvarIni();
    EXPECT_TRUE(arquivo.Ler().contains("\r\nMetaDia=1800\r\n"));

    config.setComparacao(QStringLiteral("4"));
    config.setMetaDia(QString());
    config.SalvarIni();
    const QByteArray mudado = arquivo.Ler();
    EXPECT_TRUE(mudado.startsWith("; configurado pelo painel\r\n"
                                  "[Configuracoes]\r\nCaminhoBanco=/dados/loja.fdb\r\n"
                                  "[GadGetMetaVendas]\r\nMeta=150000\r\nComparacao=9\r\n"
                                  "[GadGetVendHora]\r\nChaveDeOutroPrograma = x\r\n"
                                  "Comparacao=4\r\nMetaDia=\r\n"))
        << mudado.toStdString();
    TConfig relido(SECAO);
    relido.CarregarIni();
    EXPECT_EQ(relido.Comparacao(), "4");
    EXPECT_EQ(relido.MetaDia(), "");

    // Written once: the next save finds the file as it left it.
    arquivo.Gravar(QByteArray(mudado).replace("Comparacao=4", "Comparacao=0"));
    config.SalvarIni();
    EXPECT_TRUE(arquivo.Ler().contains("\r\nComparacao=0\r\n"));
}

TEST(Indicadores, ChavesNovasEntramNoFimDaSecao)
{
    ArquivoTeste arquivo;
    arquivo.Gravar("[GadGetVendHora]\nPosX=1\n\n[Outra]\nA=1\n");
    TConfig config(SECAO);
    config.CarregarIni();
    config.setMetaDia(QStringLiteral("2500,50"));
    config.SalvarIni();
    EXPECT_EQ(arquivo.Ler(), "[GadGetVendHora]\nPosX=1\nSempreVisivel=\nTransparencia=\nEmpresa=\n"
                             "AtualizaDados=\nPosY=\nIniWindows=\nModo=\nGadGet=\nMetaDia=2500,50\n"
                             "\n[Outra]\nA=1\n");
}

} // namespace
