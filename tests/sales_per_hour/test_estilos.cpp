#include "frame/data_edit.h"
#include "shell/estilos_host.h"

#include "frame/rotulo.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QtMath>
#include <gtest/gtest.h>

namespace {

// A host with the looks, shown, holding one control of each kind.
class EstilosTeste : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.resize(300, 100);
        AplicaEstilosHost(&host);
        rotulo = new TRotulo(&host);
        botao = new TBotao(QStringLiteral("<"), &host);
        botao->setGeometry(10, 10, 15, 20);
        edicao = new TDataEdit(&host);
        edicao->setGeometry(40, 10, 87, 20);
        QFont fonte = edicao->font();
        fonte.setPixelSize(10);
        edicao->setFont(fonte);
        edicao->setDate(QDate(2024, 12, 28));
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }

    QWidget host;
    TRotulo* rotulo;
    TBotao* botao;
    TDataEdit* edicao;
};

TEST_F(EstilosTeste, RotuloAzul)
{
    rotulo->ensurePolished();
    EXPECT_EQ(rotulo->palette().color(rotulo->foregroundRole()), QColor::fromRgba(0xFF0000FF));
}

TEST_F(EstilosTeste, BotaoClareiaSobOPonteiroEVolta)
{
    EXPECT_EQ(botao->CorFundo(), QColor::fromRgba(0xFFEFEFEF));
    QTest::mouseMove(botao, QPoint(7, 10));
    QTest::qWait(80);
    const QColor meio = botao->CorFundo();
    EXPECT_NE(meio, QColor::fromRgba(0xFFEFEFEF)) << "under way";
    EXPECT_NE(meio, QColor::fromRgba(0xFFA5D9FF)) << "not there at once";
    QTest::qWait(250);
    EXPECT_EQ(botao->CorFundo(), QColor::fromRgba(0xFFA5D9FF));
    QTest::mouseMove(&host, QPoint(250, 80));
    QTest::qWait(300);
    EXPECT_EQ(botao->CorFundo(), QColor::fromRgba(0xFFEFEFEF));
}

// A disabled widget gets no leave: the face must come back to rest itself,
// and light up again when enabled under the pointer.
TEST_F(EstilosTeste, BotaoDesabilitadoSobOPonteiroFicaEmRepouso)
{
    QTest::mouseMove(botao, QPoint(7, 10));
    QTest::qWait(300);
    ASSERT_EQ(botao->CorFundo(), QColor::fromRgba(0xFFA5D9FF));
    botao->setEnabled(false);
    EXPECT_EQ(botao->CorFundo(), QColor::fromRgba(0xFFEFEFEF));
    QTest::qWait(300);
    EXPECT_EQ(botao->CorFundo(), QColor::fromRgba(0xFFEFEFEF));
    botao->setEnabled(true);
    QTest::qWait(300);
    EXPECT_EQ(botao->CorFundo(), QColor::fromRgba(0xFFA5D9FF));
}

TEST_F(EstilosTeste, EdicaoMostraADataInteira)
{
    const QLineEdit* texto = edicao->findChild<QLineEdit*>();
    ASSERT_NE(texto, nullptr);
    const QRect area = texto->geometry();
    EXPECT_EQ(area.left(), 2) << "text 4 pixels in, with the line edit's own 2";
    EXPECT_LE(area.right() + 1, edicao->width() - 15) << "clear of the drop-down area";
    EXPECT_GE(area.width() - 4, texto->fontMetrics().horizontalAdvance(edicao->text()));
}

TEST_F(EstilosTeste, CalendarioAbrePelaAreaDaSeta)
{
    QTest::mouseClick(edicao, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_FALSE(edicao->calendarWidget()->isVisible()) << "the text area opens nothing";
    QTest::mouseClick(edicao, Qt::LeftButton, {}, QPoint(edicao->width() - 14, 10));
    EXPECT_TRUE(edicao->calendarWidget()->isVisible());
    EXPECT_EQ(edicao->calendarWidget()->locale().language(), QLocale::Portuguese);
    EXPECT_EQ(edicao->calendarWidget()->firstDayOfWeek(), Qt::Sunday) << "as in Brazil";
}

TEST_F(EstilosTeste, SetaPretaNaAreaDaSeta)
{
    const QImage imagem = edicao->grab().toImage();
    const QPoint centro(edicao->width() - 8, edicao->height() / 2);
    EXPECT_LT(qGray(imagem.pixel(imagem.devicePixelRatio() * centro)), 40);
    EXPECT_GT(qGray(imagem.pixel(imagem.devicePixelRatio() * (centro + QPoint(0, 5)))), 150)
        << "a small triangle, not a block";
}

// The calendar matches the gadget: the edit's font, blue header and arrows,
// no red weekends, Portuguese names, and a drawn arrow beside the month.
TEST_F(EstilosTeste, CalendarioComOAspectoDoGadget)
{
    QTest::mouseClick(edicao, Qt::LeftButton, {}, QPoint(edicao->width() - 7, 10));
    QCalendarWidget* calendario = edicao->calendarWidget();
    ASSERT_TRUE(calendario->isVisible());
    QCoreApplication::processEvents();

    EXPECT_EQ(calendario->font().family(), edicao->font().family());
    EXPECT_EQ(calendario->font().pixelSize(), 10);
    EXPECT_EQ(calendario->verticalHeaderFormat(), QCalendarWidget::NoVerticalHeader);
    EXPECT_EQ(calendario->headerTextFormat().foreground().color(), QColor::fromRgba(0xFF0000FF));
    for (Qt::DayOfWeek dia : {Qt::Saturday, Qt::Sunday})
        EXPECT_EQ(calendario->weekdayTextFormat(dia), calendario->weekdayTextFormat(Qt::Monday))
            << "weekday " << dia;
    // The days in black on the grey panel, the weekend's too.
    const QImage dias = calendario->findChild<QTableView*>()->viewport()->grab().toImage();
    int vermelhos = 0;
    for (int y = 0; y < dias.height(); ++y)
        for (int x = 0; x < dias.width(); ++x) {
            const QColor cor = dias.pixelColor(x, y);
            vermelhos += cor.red() > 150 && cor.green() < 100 && cor.blue() < 100;
        }
    EXPECT_EQ(vermelhos, 0) << "no red weekends";

    const QLocale brasil(QLocale::Portuguese, QLocale::Brazil);
    auto* mes = calendario->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
    ASSERT_NE(mes, nullptr);
    EXPECT_EQ(mes->text(), QStringLiteral("dezembro"));
    ASSERT_NE(mes->menu(), nullptr);
    QStringList meses;
    for (const QAction* acao : mes->menu()->actions())
        meses << acao->text();
    ASSERT_EQ(meses.size(), 12);
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(meses[m - 1], brasil.standaloneMonthName(m)) << m;

    // Blue pixels right of the month's name, in the button's last 12 pixels:
    // a triangle pointing down, narrower row by row, not a line.
    const QImage imagem = mes->grab().toImage();
    const int texto = imagem.width() - qCeil(12 * imagem.devicePixelRatio());
    QList<int> larguras;
    for (int y = 0; y < imagem.height(); ++y) {
        int azuis = 0;
        for (int x = texto; x < imagem.width(); ++x) {
            const QColor cor = imagem.pixelColor(x, y);
            azuis += cor.blue() > 150 && cor.red() < 120 && cor.green() < 120;
        }
        if (azuis > 0)
            larguras << azuis;
    }
    ASSERT_GE(larguras.size(), 3) << "an arrow some rows tall";
    EXPECT_GT(larguras.first(), larguras.last() + 2) << "wide at the top, narrow at the bottom";

    for (const char* nome : {"qt_calendar_prevmonth", "qt_calendar_nextmonth"}) {
        auto* seta = calendario->findChild<QToolButton*>(QLatin1String(nome));
        ASSERT_NE(seta, nullptr) << nome;
        const QImage icone = seta->icon().pixmap(QSize(12, 12)).toImage();
        const QColor centro = icone.pixelColor(icone.width() / 2, icone.height() / 2);
        EXPECT_GT(centro.blue(), 200) << nome;
        EXPECT_LT(centro.green(), 60) << nome << ": blue, not green";
    }
    calendario->window()->hide();
}

} // namespace
