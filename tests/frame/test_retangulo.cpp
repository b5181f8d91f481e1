#include "gadget_duas_vistas.h"

#include "frame/eventos.h"
#include "frame/imagens_icones.h"
#include "frame/mascara.h"

#include <QGraphicsOpacityEffect>
#include <QPainter>
#include <QWindow>
#include <QtMath>

namespace {

QPoint NoHost(QWidget* w, QPoint p, QWidget* host)
{
    return w->mapTo(host, p);
}

} // namespace

TEST_F(FrameTeste, MascaraCobreSoOQueOGadgetPinta)
{
    gadget->ColocaEm({1000, 100});
    QApplication::processEvents();
    const QRegion mascara = host->mask();
    QWidget* h = host.get();

    EXPECT_TRUE(mascara.contains(NoHost(gadget->rtgResumo, {140, 100}, h)));
    EXPECT_TRUE(mascara.contains(NoHost(gadget->rtgResumo, {1, 105}, h)));
    // The rounded corner and the frame's empty parts let the pointer through.
    EXPECT_FALSE(mascara.contains(NoHost(gadget->rtgResumo, {0, 0}, h)));
    EXPECT_FALSE(mascara.contains(NoHost(gadget->rtgResumo, {-10, 100}, h)));
    EXPECT_FALSE(mascara.contains(NoHost(gadget->rtgResumo, {140, 215}, h)));
    // The hidden strip and the hidden detail view take nothing.
    EXPECT_FALSE(mascara.contains(NoHost(gadget->rtgMenu, {11, 11}, h)));
    EXPECT_FALSE(mascara.contains(NoHost(gadget->rtgDetalhe, {20, 100}, h)));
    EXPECT_FALSE(host->windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));

    Entra(gadget->rtgResumo);
    QApplication::processEvents();
    EXPECT_TRUE(host->mask().contains(NoHost(gadget->rtgFechar, {11, 1}, h)));
    EXPECT_TRUE(host->mask().contains(NoHost(gadget->rtgMover, {11, 21}, h)));
    EXPECT_FALSE(host->mask().contains(NoHost(gadget->rtgMenu, {11, 108}, h)));
}

// The host window moves with the view; the mask, in its own coordinates,
// stays on the view.
TEST_F(FrameTeste, MascaraAcompanhaOArrasto)
{
    gadget->ColocaEm({100, 100});
    QApplication::processEvents();
    const QRegion antes = host->mask();
    const QPoint inicio = Pressiona(gadget->rtgResumo, QPoint(5, 5));
    cursor = inicio + QPoint(500, 300);
    EXPECT_TRUE(QTest::qWaitFor([&] { return host->pos() == QPoint(600 + 102, 400); }, 2000));
    QTest::mouseRelease(gadget->rtgResumo, Qt::LeftButton, {}, QPoint(5, 5));
    QApplication::processEvents();
    EXPECT_EQ(host->mask(), antes);
    EXPECT_TRUE(host->mask().contains(NoHost(gadget->rtgResumo, {140, 100}, host.get())));
}

TEST_F(FrameTeste, SemNadaVisivelOHostDeixaPassarOPonteiro)
{
    gadget->rtgGadget->hide();
    QApplication::processEvents();
    EXPECT_TRUE(host->windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_TRUE(host->isVisible());

    gadget->rtgGadget->show();
    QApplication::processEvents();
    EXPECT_FALSE(host->windowHandle()->flags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_FALSE(host->mask().isEmpty());
}

TEST_F(FrameTeste, OpacidadeValeParaOsFilhos)
{
    gadget->rtgResumo->setOpacity(0.4);
    auto* efeito = qobject_cast<QGraphicsOpacityEffect*>(gadget->rtgResumo->graphicsEffect());
    ASSERT_NE(efeito, nullptr);
    EXPECT_TRUE(efeito->isEnabled());
    EXPECT_DOUBLE_EQ(efeito->opacity(), 0.4);

    // Drawn through the effect, the label inside is faded too: render the view
    // over white and compare a text pixel at full and at low opacity.
    gadget->rotulo->setStyleSheet(QStringLiteral("color: black"));
    const auto pixelDoTexto = [&] {
        QImage imagem(gadget->rtgGadget->size(), QImage::Format_ARGB32);
        imagem.fill(Qt::white);
        gadget->rtgGadget->render(&imagem);
        int maisEscuro = 255;
        for (int x = 0; x < 200; ++x)
            for (int y = 0; y < 15; ++y)
                maisEscuro = std::min(maisEscuro, qGray(imagem.pixel(102 + 10 + x, 150 + y)));
        return maisEscuro;
    };
    const int esmaecido = pixelDoTexto();
    gadget->rtgResumo->setOpacity(1);
    EXPECT_FALSE(efeito->isEnabled());
    const int opaco = pixelDoTexto();
    EXPECT_LT(opaco, 40);
    EXPECT_GT(esmaecido, 100);
    gadget->rtgResumo->setOpacity(-1);
    EXPECT_DOUBLE_EQ(gadget->rtgResumo->Opacity(), 0.0);
}

TEST(Eventos, PressaoFicaNoControleLigadoESobeDoQueNaoTemLigacao)
{
    QWidget janela;
    auto* pai = new QWidget(&janela);
    pai->setGeometry(0, 0, 200, 200);
    auto* ligado = new QLabel(pai);
    ligado->setGeometry(10, 10, 50, 20);
    auto* solto = new QLabel(pai);
    solto->setGeometry(10, 50, 50, 20);
    janela.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&janela));

    QStringList registro;
    const auto anota = [&](const QString& nome) {
        return [&registro, nome](QObject*, Qt::MouseButton, Qt::MouseButtons s, qreal x, qreal y) {
            registro << QStringLiteral("%1 %2 %3,%4").arg(nome).arg(s.toInt()).arg(x).arg(y);
        };
    };
    TEventos::De(pai).OnMouseDown = anota(QStringLiteral("pai"));
    TEventos::De(ligado).OnMouseDown = anota(QStringLiteral("ligado"));
    TEventos::De(ligado).OnMouseDown = anota(QStringLiteral("ligado2")); // replaces

    QTest::mousePress(ligado, Qt::LeftButton, {}, QPoint(3, 4));
    QTest::mouseRelease(ligado, Qt::LeftButton, {}, QPoint(3, 4));
    QTest::mousePress(solto, Qt::RightButton, {}, QPoint(3, 4));
    QTest::mouseRelease(solto, Qt::RightButton, {}, QPoint(3, 4));
    EXPECT_EQ(registro,
              QStringList({QStringLiteral("ligado2 1 3,4"), QStringLiteral("pai 2 13,54")}));
}

TEST(Eventos, CliqueSoComBotaoEsquerdoSoltoDentro)
{
    QWidget janela;
    auto* botao = new QWidget(&janela);
    botao->setGeometry(0, 0, 23, 23);
    janela.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&janela));
    int cliques = 0;
    TEventos::De(botao).OnClick = [&](QObject* s) {
        EXPECT_EQ(s, botao);
        ++cliques;
    };
    QTest::mouseClick(botao, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(botao, Qt::RightButton, {}, QPoint(5, 5));
    QTest::mousePress(botao, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(botao, Qt::LeftButton, {}, QPoint(40, 5));
    EXPECT_EQ(cliques, 1);
}

TEST_F(FrameTeste, VoltarDoRotuloParaAVistaContaComoEntrada)
{
    config->setTransparencia(QStringLiteral("40"));
    Entra(gadget->rtgResumo);
    Entra(gadget->rotulo);
    // Qt tells the label it was left and says nothing to the view beneath.
    Sai(gadget->rotulo);
    EXPECT_DOUBLE_EQ(gadget->rtgResumo->Opacity(), 1.0);
    QTest::qWait(1500);
    EXPECT_TRUE(gadget->rtgMenu->isVisible());

    Sai(gadget->rtgResumo);
    EXPECT_DOUBLE_EQ(gadget->rtgResumo->Opacity(), 0.4);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !gadget->rtgMenu->isVisible(); }, 3000));
}

TEST(ImagensIcones, LadrilhosFormamUmaBarraContinua)
{
    const TImagensIcones& icones = ImagensIcones();
    const QImage ladrilhos[] = {icones.imgIcoFechar, icones.imgIcoMax,   icones.imgIcoMin,
                                icones.imgIcoConfig, icones.imgIcoAbout, icones.imgIcoMover};
    const auto pixel = [](const QImage& imagem, int x, int y) {
        const qreal e = imagem.devicePixelRatio();
        return imagem.pixelColor(int(x * e), int(y * e)).rgba();
    };
    for (const QImage& ladrilho : ladrilhos) {
        EXPECT_EQ(ladrilho.deviceIndependentSize(), QSizeF(23, 23));
        EXPECT_EQ(pixel(ladrilho, 1, 12), 0xFF808080u); // grey tile
        EXPECT_EQ(pixel(ladrilho, 0, 12), 0xD05D5D5Du); // translucent edge
        EXPECT_EQ(pixel(ladrilho, 22, 12), 0xD05D5D5Du);
    }
    // Top corners of the close tile and bottom ones of the move tile are
    // rounded; the others have no top edge, and their side edges run the
    // whole height.
    EXPECT_EQ(qAlpha(pixel(icones.imgIcoFechar, 0, 0)), 0);
    EXPECT_EQ(pixel(icones.imgIcoFechar, 0, 22), 0xD05D5D5Du);
    EXPECT_EQ(qAlpha(pixel(icones.imgIcoMover, 0, 22)), 0);
    EXPECT_EQ(pixel(icones.imgIcoMax, 0, 0), 0xD05D5D5Du);
    EXPECT_EQ(pixel(icones.imgIcoMax, 1, 0), 0xFF808080u);
    EXPECT_EQ(pixel(icones.imgIcoMax, 0, 2), 0xD05D5D5Du);
    // White symbols: the X's crossing, the grip's dots.
    EXPECT_EQ(pixel(icones.imgIcoFechar, 11, 11), 0xFFFFFFFFu);
    EXPECT_EQ(pixel(icones.imgIcoMover, 8, 7), 0xFFFFFFFFu);

    EXPECT_EQ(icones.imgLogoVUX.deviceIndependentSize(), QSizeF(53, 17));
}

// The strip's tiles overlap by 2 pixels; at a scale that puts their edges
// between device pixels (1.5: the second tile starts at 31.5) the bar must
// still show no seam: along its straight part every column is the same from
// top to bottom, painted (no light or dark row where two tiles meet) and in
// the window's shape, also with the strip itself half a device pixel off.
TEST_F(FrameTeste, FaixaSemEmendasEmQualquerEscala)
{
    gadget->RFecharMouseEnter(gadget);
    QApplication::processEvents();
    ASSERT_TRUE(gadget->rtgMenu->isVisible());
    TRetangulo* const ladrilhos[] = {gadget->rtgFechar, gadget->rtgMax, gadget->rtgConfig,
                                     gadget->rtgAbout, gadget->rtgMover};
    // The bar's straight part, between its rounded ends, in logical pixels.
    const int topo = 6;
    const int base = gadget->rtgMover->geometry().bottom() - 5;
    for (qreal escala : {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0}) {
        const TImagensIcones icones(escala);
        const QImage imagens[] = {icones.imgIcoFechar, icones.imgIcoMax, icones.imgIcoConfig,
                                  icones.imgIcoAbout, icones.imgIcoMover};
        for (int i = 0; i < 5; ++i)
            ladrilhos[i]->SetImagem(imagens[i]);
        for (qreal deslocamento : {0.0, 0.5}) {
            SCOPED_TRACE("scale " + std::to_string(escala) + ", offset "
                         + std::to_string(deslocamento));
            QImage imagem((gadget->rtgMenu->size() + QSize(1, 1)) * escala,
                          QImage::Format_ARGB32_Premultiplied);
            imagem.setDevicePixelRatio(escala);
            imagem.fill(Qt::transparent);
            {
                QPainter pintor(&imagem);
                pintor.translate(deslocamento / escala, deslocamento / escala);
                gadget->rtgMenu->render(&pintor, QPoint(), QRegion(), QWidget::DrawChildren);
            }
            const int de = qCeil(topo * escala) + 1;
            const int ate = qFloor(base * escala) - 1;
            int emendas = 0;
            for (int x = 0; x < imagem.width(); ++x)
                for (int y = de + 1; y <= ate; ++y)
                    emendas +=
                        std::abs(qAlpha(imagem.pixel(x, y)) - qAlpha(imagem.pixel(x, de))) > 8;
            EXPECT_EQ(emendas, 0) << "pixels whose see-through differs from the bar's top";
        }
        const QRegion forma = RegiaoVisivel(host.get(), escala);
        const QPoint canto = gadget->rtgMenu->mapTo(host.get(), QPoint(0, 0));
        const int esquerda = qRound(canto.x() * escala);
        const int largura = qRound(gadget->rtgMenu->width() * escala);
        int fora = 0;
        for (int y = qCeil((canto.y() + topo) * escala); y <= qFloor((canto.y() + base) * escala);
             ++y)
            for (int x = esquerda + 1; x < esquerda + largura - 1; ++x)
                fora += !forma.contains(QPoint(x, y));
        EXPECT_EQ(fora, 0) << "scale " << escala << ": pixels of the bar outside the shape";
    }
}

// Without a compositor the window shows exactly its shape: a pixel of the
// shape that the gadget paints (nearly) transparent comes out black, and one
// it paints opaque but outside the shape is lost. At 2 device pixels per
// logical one the shape follows the rounded corners pixel by pixel.
TEST_F(FrameTeste, FormaSegueOQueOGadgetPintaOpacoEmPixelsDoDispositivo)
{
    gadget->ColocaEm({200, 100});
    Entra(gadget->rtgResumo);
    QApplication::processEvents();
    ASSERT_TRUE(gadget->rtgMenu->isVisible());
    const QRect area = gadget->rtgGadget->geometry();
    for (qreal escala : {1.0, 2.0}) {
        QImage imagem(area.size() * escala, QImage::Format_ARGB32_Premultiplied);
        imagem.setDevicePixelRatio(escala);
        imagem.fill(Qt::transparent);
        gadget->rtgGadget->render(&imagem, QPoint(), QRegion(), QWidget::DrawChildren);
        const QRegion forma =
            RegiaoVisivel(host.get(), escala).translated(-area.topLeft() * escala);
        if (escala == 1) {
            EXPECT_EQ(forma, host->mask().translated(-area.topLeft()));
        }
        int escuros = 0;
        int perdidos = 0;
        for (int y = 0; y < imagem.height(); ++y)
            for (int x = 0; x < imagem.width(); ++x) {
                const int alfa = qAlpha(imagem.pixel(x, y));
                const bool naForma = forma.contains(QPoint(x, y));
                escuros += naForma && alfa < 192;
                perdidos += !naForma && alfa == 255;
            }
        EXPECT_EQ(escuros, 0) << "scale " << escala << ": shape pixels painted see-through";
        EXPECT_EQ(perdidos, 0) << "scale " << escala << ": opaque pixels outside the shape";
    }

    // The summary view's top-left corner, radius 10, at scale 2: where the
    // shape's left edge steps, it steps on odd rows too.
    const QRegion forma = RegiaoVisivel(host.get(), 2);
    const QPoint canto = gadget->rtgResumo->mapTo(host.get(), QPoint(0, 0)) * 2;
    QList<int> bordas;
    for (int y = 0; y < 20; ++y) {
        int x = 0;
        while (x < 20 && !forma.contains(canto + QPoint(x, y)))
            ++x;
        bordas << x;
    }
    bool degrauEmLinhaImpar = false;
    for (int y = 1; y < 20; y += 2)
        degrauEmLinhaImpar |= bordas[y] != bordas[y - 1];
    EXPECT_TRUE(degrauEmLinhaImpar) << "left edges per row: "
                                    << QStringList([&] {
                                           QStringList t;
                                           for (int b : bordas)
                                               t << QString::number(b);
                                           return t;
                                       }())
                                           .join(u' ')
                                           .toStdString();
    EXPECT_TRUE(std::is_sorted(bordas.rbegin(), bordas.rend())) << "the curve only narrows";
}
