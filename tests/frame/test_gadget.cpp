#include "gadget_duas_vistas.h"

#include "base/erro.h"
#include "base/versao.h"

#include <QDialog>

namespace {

struct CasoPosicao {
    const char* posX;
    const char* posY;
    bool comConfig;
    QPoint esperado;
};

// The frame is 422 x 246 on a 1920 x 1080 screen; its default place is
// (1920 - 422, 20). The summary view that shows is 287 x 210 at x 102 in the
// frame; at least 40 x 40 pixels of it must stay on the screen.
const CasoPosicao CASOS_POSICAO[] = {
    {"", "", false, {1498, 20}}, // no configuration handed over
    {"", "300", true, {1498, 20}}, // PosX empty
    {"700", "", true, {1498, 20}}, // PosY empty
    {"1530", "20", true, {1530, 20}},
    {"-40", "900", true, {-40, 900}}, // partly off the left edge: kept
    {"-349", "0", true, {-349, 0}}, // 40 columns of the view left
    {"-350", "0", true, {1498, 20}}, // 39 columns
    {"-421", "0", true, {1498, 20}}, // only the frame's empty left part on the screen
    {"1778", "20", true, {1778, 20}}, // 40 columns at the right edge
    {"1779", "20", true, {1498, 20}},
    {"1818", "20", true, {1498, 20}}, // the view starts at the right edge
    {"100", "1040", true, {100, 1040}},
    {"100", "1041", true, {1498, 20}},
    {"100", "-170", true, {100, -170}},
    {"100", "-171", true, {1498, 20}},
    {"100", "2147483647", true, {1498, 20}}, // no overflow
    {"-2147483648", "-2147483648", true, {1498, 20}},
};

} // namespace

TEST_F(FrameTeste, PosicionaGadGetUsaAPosicaoSalvaEnquantoAVistaPodeSerPega)
{
    for (const CasoPosicao& caso : CASOS_POSICAO) {
        SCOPED_TRACE(QStringLiteral("%1,%2").arg(caso.posX, caso.posY).toStdString());
        config->setPosX(caso.posX);
        config->setPosY(caso.posY);
        gadget->SetConfig(caso.comConfig ? config.get() : nullptr);
        gadget->PosicionaGadGet();
        EXPECT_EQ(gadget->PosicaoNaTela(), caso.esperado);
    }
}

TEST_F(FrameTeste, PosicaoQueNaoEhNumeroInteiroFalhaNomeandoOValor)
{
    config->setPosX(QStringLiteral("12a"));
    config->setPosY(QStringLiteral("20"));
    try {
        gadget->PosicionaGadGet();
        FAIL() << "no error";
    } catch (const TErro& erro) {
        EXPECT_TRUE(erro.Texto().contains(QStringLiteral("12a"))) << erro.Texto().toStdString();
    }
}

TEST_F(FrameTeste, ConstrucaoEAjusteMontamOQuadroEAFaixa)
{
    EXPECT_EQ(gadget->rtgGadget->size(), QSize(422, 246));
    EXPECT_EQ(gadget->rtgMenu->geometry(), QRect(394, 0, 23, 110));
    EXPECT_EQ(gadget->rtgMenu->objectName(), QStringLiteral("rtgMenu"));
    EXPECT_FALSE(gadget->rtgMenu->isVisible());
    EXPECT_EQ(gadget->rtgDetalhe->pos(), QPoint(0, 0));

    const struct {
        TRetangulo* botao;
        int y;
        bool visivel;
    } botoes[] = {
        {gadget->rtgFechar, 0, true},  {gadget->rtgMax, 21, true},   {gadget->rtgMin, 21, false},
        {gadget->rtgConfig, 42, true}, {gadget->rtgAbout, 63, true}, {gadget->rtgMover, 84, true},
    };
    for (const auto& b : botoes) {
        SCOPED_TRACE(b.botao->objectName().toStdString());
        EXPECT_EQ(b.botao->geometry(), QRect(0, b.y, 23, 23));
        EXPECT_EQ(b.botao->isVisibleTo(gadget->rtgMenu), b.visivel);
        EXPECT_FALSE(b.botao->Imagem().isNull());
    }

    EXPECT_FALSE(gadget->tmrPrincipal->Enabled());
    EXPECT_EQ(gadget->tmrPrincipal->Interval(), 1000);
}

TEST_F(FrameTeste, RetiraMaxMinSobeOsBotoesSemQuebrarAFaixa)
{
    gadget->RetiraMaxMin();
    EXPECT_EQ(gadget->rtgFechar->y(), 0);
    EXPECT_EQ(gadget->rtgConfig->y(), 21);
    EXPECT_EQ(gadget->rtgAbout->y(), 42);
    EXPECT_EQ(gadget->rtgMover->y(), 63);
    EXPECT_FALSE(gadget->rtgMax->isVisibleTo(gadget->rtgMenu));
    EXPECT_FALSE(gadget->rtgMin->isVisibleTo(gadget->rtgMenu));
    EXPECT_EQ(gadget->rtgMenu->height(), 110);
}

TEST_F(FrameTeste, AjustaGadgetComRetiraMaxMin)
{
    auto* conteudo = new TRetangulo(gadget->rtgGadget);
    conteudo->setGeometry(40, 40, 200, 100);
    gadget->AjustaGadget(conteudo, true);
    EXPECT_EQ(gadget->rtgGadget->size(), QSize(233, 110));
    EXPECT_EQ(conteudo->pos(), QPoint(0, 0));
    EXPECT_EQ(gadget->rtgMenu->pos(), QPoint(205, 0));
    EXPECT_EQ(gadget->rtgMover->y(), 63);
}

TEST_F(FrameTeste, BotaoDireitoNaoArrastaMasASoltura_LigaARenovacaoESalvaAPosicao)
{
    gadget->ColocaEm({300, 200});
    cursor = QPoint(400, 250);
    QTest::mousePress(gadget->rtgResumo, Qt::RightButton, {}, QPoint(50, 50));
    cursor = QPoint(500, 350);
    QTest::qWait(50);
    EXPECT_EQ(gadget->PosicaoNaTela(), QPoint(300, 200));
    QTest::mouseRelease(gadget->rtgResumo, Qt::RightButton, {}, QPoint(50, 50));

    EXPECT_TRUE(gadget->tmrPrincipal->Enabled());
    EXPECT_EQ(config->PosX(), QStringLiteral("300"));
    EXPECT_EQ(config->PosY(), QStringLiteral("200"));
    EXPECT_EQ(Relido()->PosX(), QStringLiteral("300"));
    EXPECT_EQ(Relido()->PosY(), QStringLiteral("200"));
}

TEST_F(FrameTeste, ArrastoSegueOCursorPausaARenovacaoESalvaNaSoltura)
{
    gadget->ColocaEm({1000, 100});
    gadget->tmrPrincipal->setEnabled(true);
    // The label inside the summary view is a handle too.
    const QPoint inicio = Pressiona(gadget->rotulo, QPoint(5, 5));
    EXPECT_FALSE(gadget->tmrPrincipal->Enabled());

    cursor = inicio + QPoint(-100, 60);
    EXPECT_TRUE(QTest::qWaitFor([&] { return gadget->PosicaoNaTela() == QPoint(900, 160); }, 2000));
    // Partly off the screen is allowed.
    cursor = inicio + QPoint(-1050, -100);
    EXPECT_TRUE(QTest::qWaitFor([&] { return gadget->PosicaoNaTela() == QPoint(-50, 0); }, 2000));

    QTest::mouseRelease(gadget->rotulo, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(gadget->tmrPrincipal->Enabled());
    const auto relido = Relido();
    EXPECT_EQ(relido->PosX(), QStringLiteral("-50"));
    EXPECT_EQ(relido->PosY(), QStringLiteral("0"));

    // After the release the cursor no longer drags the frame.
    cursor = QPoint(600, 600);
    QTest::qWait(30);
    EXPECT_EQ(gadget->PosicaoNaTela(), QPoint(-50, 0));
}

// A window busy painting handles the press after the pointer has moved on,
// and may not poll the pointer again before the release: the drag still
// follows the pointer from where the button went down to where it was let go.
TEST_F(FrameTeste, ArrastoDeUmaJanelaOcupadaTerminaOndeOBotaoFoiSolto)
{
    gadget->ColocaEm({500, 500});
    const QPoint local(5, 5);
    cursor = gadget->rtgResumo->mapToGlobal(local) + QPoint(-20, 40);
    QTest::mousePress(gadget->rtgResumo, Qt::LeftButton, {}, local);
    cursor += QPoint(-180, 110);
    QTest::mouseRelease(gadget->rtgResumo, Qt::LeftButton, {}, local);

    EXPECT_EQ(gadget->PosicaoNaTela(), QPoint(300, 650));
    EXPECT_EQ(Relido()->PosX(), QStringLiteral("300"));
    EXPECT_EQ(Relido()->PosY(), QStringLiteral("650"));
}

TEST_F(FrameTeste, ArrastoQueDeixaAVistaForaDaTelaVoltaAoLugarPadrao)
{
    gadget->ColocaEm({300, 200});
    const QPoint inicio = Pressiona(gadget->rtgResumo, QPoint(50, 50));
    // The lower left, where only the frame's empty left part would stay.
    cursor = inicio + QPoint(-700, 504);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return gadget->PosicaoNaTela() == QPoint(-400, 704); }, 2000));
    QTest::mouseRelease(gadget->rtgResumo, Qt::LeftButton, {}, QPoint(50, 50));

    EXPECT_EQ(gadget->PosicaoNaTela(), QPoint(1498, 20));
    const auto relido = Relido();
    EXPECT_EQ(relido->PosX(), QStringLiteral("1498"));
    EXPECT_EQ(relido->PosY(), QStringLiteral("20"));
}

struct CasoMonitores {
    const char* nome;
    QList<QRect> areas; // the primary's first
    const char* posX;
    const char* posY;
    QPoint esperado;
};

// Places on the desktop, with monitors at either side of the primary.
TEST_F(FrameTeste, LugarPadraoEAlcanceSeguemAsAreasDisponiveisDeCadaTela)
{
    const QRect esquerda(0, 0, 1920, 1080);
    const QRect principalADireita(1920, 0, 1920, 1080);
    const QRect comPainelNoTopo(1920, 30, 1920, 1050);
    const CasoMonitores casos[] = {
        {"default on the primary, on the right", {principalADireita, esquerda}, "", "", {3418, 20}},
        {"kept on the other monitor", {principalADireita, esquerda}, "100", "300", {100, 300}},
        {"kept on the primary", {principalADireita, esquerda}, "2000", "300", {2000, 300}},
        {"the other monitor is gone", {principalADireita}, "100", "300", {3418, 20}},
        {"below a top panel", {comPainelNoTopo, esquerda}, "", "", {3418, 50}},
        {"under a top panel but for 39 rows", {comPainelNoTopo}, "2000", "-141", {3418, 50}},
        {"straddling two monitors, 40 columns on one",
         {principalADireita, esquerda},
         "1778",
         "300",
         {1778, 300}},
    };
    for (const CasoMonitores& caso : casos) {
        SCOPED_TRACE(caso.nome);
        plataforma::Ganchos().areasDisponiveis = [&] { return caso.areas; };
        config->setPosX(caso.posX);
        config->setPosY(caso.posY);
        gadget->PosicionaGadGet();
        EXPECT_EQ(gadget->PosicaoNaTela(), caso.esperado);
    }
}

// The gadget's monitor goes away and comes back while it runs: the frame
// goes where a start would put it, from the position the user saved, which
// stays as it is; during a drag nothing moves.
TEST_F(FrameTeste, TelasQueMudamRecolocamOQuadroPelaPosicaoSalvaSemGravaLa)
{
    const QList<QRect> dois = {QRect(1920, 0, 1920, 1080), QRect(0, 0, 1920, 1080)};
    const QList<QRect> soAPrincipal = {QRect(0, 0, 1920, 1080)};
    QList<QRect> areas = dois;
    plataforma::Ganchos().areasDisponiveis = [&] { return areas; };
    config->setPosX(QStringLiteral("2000"));
    config->setPosY(QStringLiteral("300"));
    gadget->PosicionaGadGet();
    ASSERT_EQ(gadget->PosicaoNaTela(), QPoint(2000, 300));

    areas = soAPrincipal;
    gadget->TelasMudaram();
    EXPECT_EQ(gadget->PosicaoNaTela(), QPoint(1498, 20));
    EXPECT_EQ(host->geometry(), QRect(1498 + 102, 20, 315, 210));

    areas = dois;
    gadget->TelasMudaram();
    EXPECT_EQ(gadget->PosicaoNaTela(), QPoint(2000, 300));
    EXPECT_EQ(config->PosX(), QStringLiteral("2000"));
    EXPECT_EQ(Relido()->PosX(), QString()) << "the file is not written";

    Pressiona(gadget->rtgResumo, QPoint(5, 5));
    areas = soAPrincipal;
    gadget->TelasMudaram();
    EXPECT_EQ(gadget->PosicaoNaTela(), QPoint(2000, 300));
    QTest::mouseRelease(gadget->rtgResumo, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(gadget->PosicaoNaTela(), QPoint(1498, 20));
}

// The host window is as large as the view shown and the strip beside it,
// wherever the frame is, through drags and view changes.
TEST_F(FrameTeste, HostTemOTamanhoDaVistaEDaFaixaESegueOQuadro)
{
    const auto naTela = [&](QWidget* w) { return host->pos() + w->mapTo(host.get(), QPoint()); };
    gadget->ColocaEm({1000, 100});
    EXPECT_EQ(host->geometry(), QRect(1102, 100, 315, 210));
    EXPECT_EQ(naTela(gadget->rtgResumo), QPoint(1102, 100));
    EXPECT_EQ(naTela(gadget->rtgMenu), QPoint(1394, 100));

    gadget->rtgMax->show();
    gadget->RMaximizarClick(gadget->rtgMax);
    EXPECT_EQ(host->geometry(), QRect(1000, 100, 417, 236));
    EXPECT_EQ(naTela(gadget->rtgDetalhe), QPoint(1000, 100));
    EXPECT_EQ(gadget->PosicaoNaTela(), QPoint(1000, 100));

    const QPoint inicio = Pressiona(gadget->rtgDetalhe, QPoint(5, 5));
    cursor = inicio + QPoint(-50, 40);
    EXPECT_TRUE(QTest::qWaitFor([&] { return host->pos() == QPoint(950, 140); }, 2000));
    EXPECT_EQ(host->size(), QSize(417, 236));
    QTest::mouseRelease(gadget->rtgDetalhe, Qt::LeftButton, {}, QPoint(5, 5));

    gadget->RMinimizarClick(gadget->rtgMin);
    EXPECT_EQ(host->geometry(), QRect(1052, 140, 315, 210));
    EXPECT_EQ(naTela(gadget->rtgResumo), QPoint(1052, 140));
    EXPECT_EQ(Relido()->PosX(), QStringLiteral("950"));
}

TEST_F(FrameTeste, BotaoMoverArrasta)
{
    gadget->ColocaEm({500, 500});
    Entra(gadget->rtgResumo);
    const QPoint inicio = Pressiona(gadget->rtgMover, QPoint(10, 10));
    cursor = inicio + QPoint(7, -3);
    EXPECT_TRUE(QTest::qWaitFor([&] { return gadget->PosicaoNaTela() == QPoint(507, 497); }, 2000));
    QTest::mouseRelease(gadget->rtgMover, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Relido()->PosX(), QStringLiteral("507"));
}

TEST_F(FrameTeste, PassarOPonteiroMostraAFaixaEDeixaOConteudoOpaco)
{
    config->setTransparencia(QStringLiteral("40"));
    Sai(gadget->rtgResumo);
    EXPECT_DOUBLE_EQ(gadget->rtgResumo->Opacity(), 0.4);

    Entra(gadget->rtgResumo);
    EXPECT_TRUE(gadget->rtgMenu->isVisible());
    EXPECT_DOUBLE_EQ(gadget->rtgMenu->Opacity(), 1.0);
    EXPECT_DOUBLE_EQ(gadget->rtgResumo->Opacity(), 1.0);
    EXPECT_DOUBLE_EQ(gadget->rtgDetalhe->Opacity(), 1.0);

    Sai(gadget->rtgResumo);
    EXPECT_DOUBLE_EQ(gadget->rtgResumo->Opacity(), 0.4);
    EXPECT_DOUBLE_EQ(gadget->rtgDetalhe->Opacity(), 0.4);
    EXPECT_DOUBLE_EQ(gadget->rtgMenu->Opacity(), 1.0); // the strip is not content
    EXPECT_DOUBLE_EQ(gadget->rtgGadget->Opacity(), 1.0);
    EXPECT_TRUE(gadget->rtgMenu->isVisible());

    EXPECT_TRUE(QTest::qWaitFor([&] { return !gadget->rtgMenu->isVisible(); }, 3000));
    EXPECT_DOUBLE_EQ(gadget->rtgResumo->Opacity(), 0.4);
}

namespace {

class TRetanguloDerivado : public TRetangulo {
public:
    using TRetangulo::TRetangulo;
};

} // namespace

TEST_F(FrameTeste, SoRetangulosSimplesDoQuadroSeguemOPonteiro)
{
    config->setTransparencia(QStringLiteral("40"));
    auto* derivado = new TRetanguloDerivado(gadget->rtgGadget);
    derivado->setOpacity(0.7);
    auto* neto = new TRetangulo(gadget->rtgResumo);
    neto->setOpacity(0.7);

    Entra(gadget->rtgResumo);
    Sai(gadget->rtgResumo);
    EXPECT_DOUBLE_EQ(gadget->rtgResumo->Opacity(), 0.4);
    EXPECT_DOUBLE_EQ(derivado->Opacity(), 0.7);
    EXPECT_DOUBLE_EQ(neto->Opacity(), 0.7);
}

TEST_F(FrameTeste, VoltarAntesDoFimDoPrazoMantemAFaixa)
{
    Entra(gadget->rtgResumo);
    Sai(gadget->rtgResumo);
    QTest::qWait(400);
    Entra(gadget->rtgFechar);
    QTest::qWait(1500);
    EXPECT_TRUE(gadget->rtgMenu->isVisible());
    EXPECT_DOUBLE_EQ(gadget->rtgMenu->Opacity(), 1.0);
}

TEST_F(FrameTeste, SairDuranteOArrastoNaoEscondeAFaixa)
{
    Entra(gadget->rtgResumo);
    Pressiona(gadget->rtgResumo, QPoint(5, 5));
    Sai(gadget->rtgResumo);
    QTest::qWait(1500);
    EXPECT_TRUE(gadget->rtgMenu->isVisible());
    QTest::mouseRelease(gadget->rtgResumo, Qt::LeftButton, {}, QPoint(5, 5));
}

TEST_F(FrameTeste, TransparenciaQueNaoEhInteiroDeixaOConteudoOpacoAoSair)
{
    const struct {
        const char* valor;
        double opacidade;
    } casos[] = {{"60", 0.6}, {"abc", 1.0}, {"", 1.0}, {"4.5", 1.0}, {" 20 ", 0.2}};
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.valor);
        config->setTransparencia(caso.valor);
        Entra(gadget->rtgResumo);
        Sai(gadget->rtgResumo);
        EXPECT_DOUBLE_EQ(gadget->rtgResumo->Opacity(), caso.opacidade);
    }
}

TEST_F(FrameTeste, OEsmaecimentoNaoRecomecaDentroDeSiMesmo)
{
    Entra(gadget->rtgResumo);
    double antes = -1;
    double depois = -1;
    bool visivelDepois = false;
    // Runs inside the fade's first pass of the event loop.
    QTimer::singleShot(0, [&] {
        antes = gadget->rtgMenu->Opacity();
        gadget->tmrEscMenuTimer(nullptr);
        depois = gadget->rtgMenu->Opacity();
        visivelDepois = gadget->rtgMenu->isVisible();
    });
    gadget->tmrEscMenuTimer(nullptr);

    EXPECT_GT(antes, 0.0);
    EXPECT_LT(antes, 1.0);
    EXPECT_DOUBLE_EQ(depois, antes);
    EXPECT_TRUE(visivelDepois);
    EXPECT_FALSE(gadget->rtgMenu->isVisible());
    EXPECT_DOUBLE_EQ(gadget->rtgMenu->Opacity(), 0.0);
}

TEST_F(FrameTeste, PonteiroQueVoltaDuranteOEsmaecimentoOInterrompe)
{
    Entra(gadget->rtgResumo);
    QTimer::singleShot(0, [&] { Entra(gadget->rtgFechar); });
    gadget->tmrEscMenuTimer(nullptr);
    EXPECT_TRUE(gadget->rtgMenu->isVisible());
    EXPECT_DOUBLE_EQ(gadget->rtgMenu->Opacity(), 1.0);
    QTest::qWait(1300);
    EXPECT_TRUE(gadget->rtgMenu->isVisible());
}

TEST_F(FrameTeste, FecharDesligaOInicioAutomaticoTiraOIconeSalvaEFechaOHost)
{
    Entra(gadget->rtgResumo);
    QTest::mouseClick(gadget->rtgFechar, Qt::LeftButton, {}, QPoint(11, 11));

    EXPECT_EQ(chamadas, QStringList({QStringLiteral("IniciarComWindows(Teste, false)"),
                                     QStringLiteral("DestroiIcone")}));
    // The host closes once the file holds it.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !host->isVisible(); }, 5000));
    QFile arquivo(arquivoIni);
    ASSERT_TRUE(arquivo.open(QIODevice::ReadOnly));
    EXPECT_TRUE(arquivo.readAll().contains("\r\nIniWindows=0\r\n"));
}

TEST_F(FrameTeste, BotoesDeConfigurarESobreChamamASubclasse)
{
    Entra(gadget->rtgResumo);
    QTest::mouseClick(gadget->rtgConfig, Qt::LeftButton, {}, QPoint(11, 11));
    QTest::mouseClick(gadget->rtgAbout, Qt::LeftButton, {}, QPoint(11, 11));
    QTest::mouseClick(gadget->rtgAbout, Qt::RightButton, {}, QPoint(11, 11));
    EXPECT_EQ(gadget->configuracoes, 1);
    EXPECT_EQ(gadget->sobre, 1);
}

namespace {

struct CasoDialogo {
    int gx, gy; // rtgGadget
    QRect conteudo; // rtgComp inside rtgGadget
    int larguraDialogo;
    QPoint esperado;
};

const CasoDialogo CASOS_DIALOGO[] = {
    // 1500 + 102 - 93 / 2 = 1555.5, to the even 1556
    {1500, 20, {102, 0, 287, 210}, 380, {1556, 20}},
    // 1500 + 101 - 46.5 = 1554.5, to the even 1554
    {1500, 20, {101, 0, 287, 210}, 380, {1554, 20}},
    // narrower dialog: 100 + 0 + (389 - 200) / 2 = 194.5, to 194
    {100, 50, {0, 0, 389, 236}, 200, {194, 50}},
    // as wide as the content: over it, top included
    {100, 50, {102, 7, 287, 210}, 287, {202, 57}},
};

struct CasoMargens {
    QRect janela;
    QPoint esperado;
};

const CasoMargens CASOS_MARGENS[] = {
    {{100, 100, 300, 200}, {100, 100}},
    {{-30, 100, 300, 200}, {0, 100}},
    {{1800, 100, 300, 200}, {1620, 100}},
    {{100, -5, 300, 200}, {100, 0}},
    {{100, 1000, 300, 200}, {100, 880}},
    {{1700, 950, 300, 200}, {1620, 880}},
    // larger than the screen: the right and bottom edges win
    {{-10, -10, 2000, 1100}, {-80, -20}},
};

} // namespace

TEST_F(FrameTeste, VerificaPosFormCentraODialogoSobreOConteudo)
{
    for (const CasoDialogo& caso : CASOS_DIALOGO) {
        SCOPED_TRACE(caso.larguraDialogo);
        gadget->ColocaEm({caso.gx, caso.gy});
        auto* conteudo = new TRetangulo(gadget->rtgGadget);
        conteudo->setGeometry(caso.conteudo);
        QDialog dialogo;
        dialogo.resize(caso.larguraDialogo, 150);
        gadget->VerificaPosForm(&dialogo, conteudo);
        EXPECT_EQ(dialogo.pos(), caso.esperado);
        delete conteudo;
    }
}

TEST_F(FrameTeste, VerificaMargensTrazODialogoParaATela)
{
    for (const CasoMargens& caso : CASOS_MARGENS) {
        SCOPED_TRACE(caso.janela.width());
        QDialog dialogo;
        dialogo.setGeometry(caso.janela);
        gadget->VerificaMargens(&dialogo);
        EXPECT_EQ(dialogo.pos(), caso.esperado);
    }
}

// With two monitors, the primary on the right and a panel over its top, a
// dialog stays on the monitor that holds most of it, below the panel.
TEST_F(FrameTeste, VerificaMargensUsaAAreaDisponivelDaTelaDoDialogo)
{
    plataforma::Ganchos().areasDisponiveis = [] {
        return QList<QRect>{QRect(1920, 30, 1920, 1050), QRect(0, 0, 1920, 1080)};
    };
    const CasoMargens casos[] = {
        {{1600, 100, 380, 204}, {1540, 100}}, // mostly on the left monitor
        {{1800, 100, 100, 204}, {1800, 100}}, // wholly on it
        {{1800, 100, 380, 204}, {1920, 100}}, // mostly on the primary
        {{1760, 10, 380, 204}, {1920, 30}}, // and under its panel
        {{3700, 1000, 380, 204}, {3460, 876}},
    };
    for (const CasoMargens& caso : casos) {
        SCOPED_TRACE(caso.janela.x());
        QDialog dialogo;
        dialogo.setGeometry(caso.janela);
        gadget->VerificaMargens(&dialogo);
        EXPECT_EQ(dialogo.pos(), caso.esperado);
    }
}

TEST_F(FrameTeste, DialogoLargoPertoDaBordaDireita)
{
    gadget->ColocaEm({1700, 20});
    QDialog dialogo;
    dialogo.resize(380, 300);
    gadget->VerificaPosForm(&dialogo, gadget->rtgResumo);
    EXPECT_EQ(dialogo.pos(), QPoint(1756, 20));
    gadget->VerificaMargens(&dialogo);
    EXPECT_EQ(dialogo.pos(), QPoint(1540, 20));
}

namespace {

class TGadgetSemInformacoes : public TGadget {
public:
    using TGadget::SetInformacoes;
    using TGadget::TGadget;
    void RConfClick(QObject*) override {}
    void RAboutClick(QObject*) override {}
    void IniciarGadget(QObject*) override {}
};

} // namespace

TEST_F(FrameTeste, TituloEVersaoTemValoresPadraoQuandoVazios)
{
    TGadgetSemInformacoes vazio(host.get());
    EXPECT_EQ(vazio.GetTitulo(), QStringLiteral("Vantrel Gadgets"));
    EXPECT_EQ(vazio.GetVersao(), QStringLiteral("17.04bb"));
    EXPECT_EQ(vazio.GetRelCons(), QString());
    EXPECT_EQ(vazio.GetDescricao(), QString());

    vazio.SetInformacoes(NOME_GGT_VENDAS_HORA, VERSAO_GADGET, QStringLiteral("R"),
                         QStringLiteral("D"));
    EXPECT_EQ(vazio.Titulo(), QStringLiteral("Vendas por Hora"));
    EXPECT_EQ(vazio.Versao(), QStringLiteral("21.08ru"));
    EXPECT_EQ(vazio.Equivalencia(), QStringLiteral("R"));
    EXPECT_EQ(vazio.Descricao(), QStringLiteral("D"));
}
