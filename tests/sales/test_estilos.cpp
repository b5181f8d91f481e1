#include "sales_per_hour/estilos.h"

#include "frame/rotulo.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QTest>
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

} // namespace
