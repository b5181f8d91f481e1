#include "dialogo_teste.h"

#include <QLabel>
#include <QPushButton>

namespace {

const QString DESCRICAO = QStringLiteral("Esta gadget funciona como um termômetro que apresenta "
                                         "as vendas da sua empresa por unidade por hora.");

struct Textos {
    QString titulo;
    QString versao;
    QString relCons;
    QString descricao;
};

Textos Mostrados(const TfrmAbout& d)
{
    return {d.lblTitulo->text(), d.lblVersao->text(), d.lblRelCons->text(), d.txtDescricao->text()};
}

void ExpectTextos(const Textos& obtidos, const Textos& esperados)
{
    EXPECT_EQ(obtidos.titulo, esperados.titulo);
    EXPECT_EQ(obtidos.versao, esperados.versao);
    EXPECT_EQ(obtidos.relCons, esperados.relCons);
    EXPECT_EQ(obtidos.descricao, esperados.descricao);
}

} // namespace

using CaixaSobre = DialogoTeste;

TEST_F(CaixaSobre, MostraOsDadosDoGadgetOuOsPadroesDaFamilia)
{
    struct Caso {
        const char* nome;
        Textos dados;
        Textos esperados;
    };
    const Caso casos[] = {
        {"sales gadget",
         {"Vendas por Hora", "21.08ru", "Lotrapex - Relatório Totalização de Vendas", DESCRICAO},
         {"Vendas por Hora", "21.08ru", "Lotrapex - Relatório Totalização de Vendas", DESCRICAO}},
        {"nothing given", {}, {"Vantrel Gadgets", "17.04bb", "", ""}},
    };
    for (const Caso& caso : casos) {
        gadget->SetInformacoes(caso.dados.titulo, caso.dados.versao, caso.dados.relCons,
                               caso.dados.descricao);
        EXPECT_TRUE(AbreSobre([&](TfrmAbout& d) {
            SCOPED_TRACE(caso.nome);
            ExpectTextos(Mostrados(d), caso.esperados);
            EXPECT_EQ(d.lblVer->text(), QStringLiteral("Versão:"));
            EXPECT_EQ(d.lblRC->text(), QStringLiteral("Equivalência:"));
            EXPECT_EQ(d.lblDesc->text(), QStringLiteral("Descrição:"));
        })) << caso.nome;
    }
    EXPECT_EQ(host.findChildren<TfrmAbout*>().size(), 1);
}

TEST_F(CaixaSobre, SemGadgetDeixaOsTextosComoEstavam)
{
    TfrmAbout sobre(&host);
    gadget->SetInformacoes("Vendas por Hora", "21.08ru", "Lotrapex", DESCRICAO);
    sobre.CarregaInformacoes(gadget);
    sobre.CarregaInformacoes(nullptr);
    ExpectTextos(Mostrados(sobre), {"Vendas por Hora", "21.08ru", "Lotrapex", DESCRICAO});
}

TEST_F(CaixaSobre, AbreNaAlturaDoTopoDoGadgetCentradaSobreAVistaENaTela)
{
    struct Caso {
        const char* nome;
        QPoint gadgetEm;
        bool detalhe;
        QPoint esperado;
    };
    // Summary: 500 + 102 - (380 - 287) / 2 = 555.5, even 556. Detail:
    // 500 + (389 - 380) / 2 = 504.5, even 504. Off the right edge the box
    // comes back to 1200 - 380; off the bottom to 800 - 204.
    const Caso casos[] = {{"summary", {500, 100}, false, {556, 100}},
                          {"detail", {500, 100}, true, {504, 100}},
                          {"right edge", {1000, 100}, false, {820, 100}},
                          {"bottom edge", {500, 700}, false, {556, 596}},
                          {"above the screen", {500, -30}, false, {556, 0}}};
    for (const Caso& caso : casos) {
        Posiciona(caso.gadgetEm.x(), caso.gadgetEm.y());
        if (caso.detalhe)
            gadget->RMaximizarClick(gadget);
        else
            gadget->RMinimizarClick(gadget);
        EXPECT_TRUE(AbreSobre([&](TfrmAbout& d) {
            EXPECT_EQ(d.pos(), caso.esperado) << caso.nome;
            EXPECT_EQ(d.focusWidget(), d.btnOk) << caso.nome;
        })) << caso.nome;
    }
}

TEST_F(CaixaSobre, OkEnterOuEspacoFechaEAProximaAberturaRecarregaAMesmaCaixa)
{
    const std::function<void(QPushButton*)> fechamentos[] = {
        [](QPushButton* ok) { QTest::mouseClick(ok, Qt::LeftButton); },
        [](QPushButton* ok) { QTest::keyClick(ok, Qt::Key_Return); },
        [](QPushButton* ok) { QTest::keyClick(ok, Qt::Key_Space); },
    };
    TfrmAbout* primeiro = nullptr;
    int vez = 0;
    for (const auto& fecha : fechamentos) {
        const QString titulo = QStringLiteral("Gadget %1").arg(++vez);
        gadget->SetInformacoes(titulo, "1", "", "");
        EXPECT_TRUE(AbreSobre([&](TfrmAbout& d) {
            if (!primeiro)
                primeiro = &d;
            EXPECT_EQ(&d, primeiro);
            EXPECT_EQ(d.lblTitulo->text(), titulo);
            fecha(d.btnOk);
            EXPECT_FALSE(d.isVisible()) << vez;
        }));
    }
    EXPECT_EQ(host.findChildren<TfrmAbout*>().size(), 1);
    EXPECT_EQ(frmAbout.data(), primeiro);
}

TEST_F(CaixaSobre, SeMantemNaTela)
{
    struct Caso {
        QPoint antes;
        QPoint depois;
    };
    const Caso casos[] = {{{10, 10}, {10, 10}},
                          {{-5, -7}, {0, 0}},
                          {{900, 700}, {820, 596}},
                          {{820, 596}, {820, 596}}};
    TfrmAbout sobre(&host);
    for (const Caso& caso : casos) {
        sobre.move(caso.antes);
        sobre.VerificaMargens();
        EXPECT_EQ(sobre.pos(), caso.depois);
    }
}
