#include "gadget_duas_vistas.h"

#include "base/erro.h"

#include <QWindow>

namespace {

// The two-view base as it leaves its views, before any layout.
class TGadgetResDetNovo : public TGadgetResDet {
public:
    using TGadget::rtgGadget;
    using TGadgetResDet::rtgDetalhe;
    using TGadgetResDet::rtgResumo;
    using TGadgetResDet::TGadgetResDet;
    void RConfClick(QObject*) override {}
    void RAboutClick(QObject*) override {}
};

} // namespace

TEST_F(FrameTeste, VistasNovasSemContornoEVisiveis)
{
    TGadgetResDetNovo novo(host.get());
    for (TRetangulo* vista : {novo.rtgDetalhe, novo.rtgResumo}) {
        EXPECT_EQ(vista->parent(), novo.rtgGadget);
        EXPECT_EQ(vista->LarguraContorno(), 0);
        EXPECT_TRUE(vista->isVisible());
    }
    // rtgDetalhe was made before rtgResumo.
    const QObjectList filhos = novo.rtgGadget->children();
    EXPECT_LT(filhos.indexOf(novo.rtgDetalhe), filhos.indexOf(novo.rtgResumo));
}

TEST_F(FrameTeste, MaximizarEMinimizarTrocamAsVistasEOsBotoes)
{
    Entra(gadget->rtgResumo);
    QTest::mouseClick(gadget->rtgMax, Qt::LeftButton, {}, QPoint(11, 11));
    EXPECT_TRUE(gadget->rtgDetalhe->isVisible());
    EXPECT_FALSE(gadget->rtgResumo->isVisible());
    EXPECT_TRUE(gadget->rtgMin->isVisible());
    EXPECT_FALSE(gadget->rtgMax->isVisible());
    // The frame keeps its size and the strip its place.
    EXPECT_EQ(gadget->rtgGadget->size(), QSize(422, 246));
    EXPECT_EQ(gadget->rtgMenu->pos(), QPoint(394, 0));

    QTest::mouseClick(gadget->rtgMin, Qt::LeftButton, {}, QPoint(11, 11));
    EXPECT_FALSE(gadget->rtgDetalhe->isVisible());
    EXPECT_TRUE(gadget->rtgResumo->isVisible());
    EXPECT_FALSE(gadget->rtgMin->isVisible());
    EXPECT_TRUE(gadget->rtgMax->isVisible());
}

TEST_F(FrameTeste, IniciarGadgetAplicaOsPassosComunsNaOrdem)
{
    config->setAtualizaDados(QStringLiteral("5"));
    config->setTransparencia(QStringLiteral("60"));
    gadget->IniciarGadget(gadget);

    EXPECT_EQ(gadget->tmrPrincipal->Interval(), 300000);
    EXPECT_FALSE(gadget->tmrPrincipal->Enabled()); // only a release enables it
    EXPECT_DOUBLE_EQ(gadget->rtgResumo->Opacity(), 0.6);
    EXPECT_DOUBLE_EQ(gadget->rtgDetalhe->Opacity(), 0.6);
    EXPECT_EQ(chamadas, QStringList({QStringLiteral("CriaIcone(Teste)"),
                                     QStringLiteral("EscondeBarraTarefa")}));
    EXPECT_EQ(janelaDoIcone, host.get());
}

TEST_F(FrameTeste, MesmoPeriodoNaoReiniciaAContagemEOutroReinicia)
{
    config->setAtualizaDados(QStringLiteral("5"));
    gadget->IniciarGadget(gadget);
    QTest::mouseRelease(gadget->rtgResumo, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(gadget->tmrPrincipal->Ativo());
    QTest::qWait(200);
    const int antes = gadget->tmrPrincipal->remainingTime();
    ASSERT_LT(antes, 300000);

    gadget->IniciarGadget(gadget);
    EXPECT_LE(gadget->tmrPrincipal->remainingTime(), antes);

    config->setAtualizaDados(QStringLiteral("6"));
    gadget->IniciarGadget(gadget);
    EXPECT_EQ(gadget->tmrPrincipal->Interval(), 360000);
    EXPECT_GT(gadget->tmrPrincipal->remainingTime(), 300000);
}

TEST_F(FrameTeste, PeriodoZeroOuNegativoDeixaARenovacaoSemTiques)
{
    for (const char* minutos : {"0", "-3"}) {
        SCOPED_TRACE(minutos);
        config->setAtualizaDados(minutos);
        gadget->IniciarGadget(gadget);
        QTest::mouseRelease(gadget->rtgResumo, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_TRUE(gadget->tmrPrincipal->Enabled());
        EXPECT_FALSE(gadget->tmrPrincipal->Ativo());
    }
    config->setAtualizaDados(QStringLiteral("1"));
    gadget->IniciarGadget(gadget);
    EXPECT_TRUE(gadget->tmrPrincipal->Ativo());
}

TEST_F(FrameTeste, PeriodoEnormeNaoEstoura)
{
    config->setAtualizaDados(QStringLiteral("40000"));
    gadget->IniciarGadget(gadget);
    EXPECT_GT(gadget->tmrPrincipal->Interval(), 0);
}

TEST_F(FrameTeste, ValoresQueNaoSaoInteirosInterrompemIniciarGadget)
{
    config->setAtualizaDados(QStringLiteral("cinco"));
    try {
        gadget->IniciarGadget(gadget);
        FAIL() << "no error";
    } catch (const TErro& erro) {
        EXPECT_TRUE(erro.Texto().contains(QStringLiteral("cinco")));
    }
    EXPECT_EQ(gadget->tmrPrincipal->Interval(), 1000);
    EXPECT_TRUE(chamadas.isEmpty());

    config->setAtualizaDados(QStringLiteral("2"));
    config->setTransparencia(QStringLiteral("meio"));
    EXPECT_THROW(gadget->IniciarGadget(gadget), TErro);
    EXPECT_EQ(gadget->tmrPrincipal->Interval(), 120000);
    EXPECT_DOUBLE_EQ(gadget->rtgResumo->Opacity(), 1.0);
    EXPECT_TRUE(chamadas.isEmpty());
}

TEST_F(FrameTeste, SempreVisivelSoComUmExato)
{
    const struct {
        const char* valor;
        bool noTopo;
    } casos[] = {{"1", true},   {"0", false}, {"", false},  {"sim", false},
                 {" 1", false}, {"1", true},  {"11", false}};
    const WId nativa = host->windowHandle()->winId();
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.valor);
        config->setSempreVisivel(caso.valor);
        chamadas.clear();
        gadget->IniciarGadget(gadget);
        // Otherwise it stays with the desktop widgets, below ordinary windows.
        for (QFlags flags : {host->windowFlags(), host->windowHandle()->flags()}) {
            EXPECT_EQ(flags.testFlag(Qt::WindowStaysOnTopHint), caso.noTopo);
            EXPECT_EQ(flags.testFlag(Qt::WindowStaysOnBottomHint), !caso.noTopo);
        }
        // The live window takes the change: no new one, nothing hidden.
        EXPECT_EQ(host->windowHandle()->winId(), nativa);
        EXPECT_TRUE(host->isVisible());
        EXPECT_EQ(chamadas.count(QStringLiteral("EscondeBarraTarefa")), 1);
    }
}

TEST_F(FrameTeste, ConfigLabelMantemAAlturaSemTamanhoAutomatico)
{
    auto* rotulo = new TRotulo(gadget->rtgDetalhe);
    gadget->ConfigLabel(
        rotulo, QStringLiteral("Tahoma"),
        QStringLiteral("Um nome de filial bem mais comprido do que a largura que lhe cabe"), 12,
        TEstiloFonte::Negrito, 0, 194, 389, Qt::AlignHCenter, false, false);
    EXPECT_EQ(rotulo->geometry(), QRect(0, 194, 389, 15));
    EXPECT_EQ(rotulo->font().family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(rotulo->font().pixelSize(), 12);
    EXPECT_TRUE(rotulo->font().bold());
    EXPECT_FALSE(rotulo->font().italic());
    EXPECT_EQ(rotulo->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_FALSE(rotulo->wordWrap());

    gadget->ConfigLabel(rotulo, QStringLiteral("Tahoma"), QStringLiteral("SEGUNDA-FEIRA"), 10,
                        TEstiloFonte::Italico | TEstiloFonte::Sublinhado, 132.4, 213.6, 197.5,
                        Qt::AlignTrailing, false, false);
    EXPECT_EQ(rotulo->geometry(), QRect(132, 214, 198, 15));
    EXPECT_FALSE(rotulo->font().bold());
    EXPECT_TRUE(rotulo->font().italic());
    EXPECT_TRUE(rotulo->font().underline());
    EXPECT_EQ(rotulo->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignTrailing);
}

TEST_F(FrameTeste, ConfigLabelComTamanhoAutomaticoEQuebra)
{
    auto* rotulo = new TRotulo(gadget->rtgDetalhe);
    gadget->ConfigLabel(rotulo, QStringLiteral("Tahoma"),
                        QStringLiteral("um texto longo que precisa de varias linhas para caber"),
                        12, {}, 10, 20, 100, Qt::AlignLeading, true, true);
    EXPECT_EQ(rotulo->pos(), QPoint(10, 20));
    EXPECT_EQ(rotulo->width(), 100);
    EXPECT_GT(rotulo->height(), 30);
}
