#include "ambiente.h"
#include "base/corte_texto.h"
#include "platform/icone_programa.h"
#include "platform/rotinas_desktop.h"

#include <QSystemTrayIcon>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct CasoCorte {
    const char* nome;
    QString texto;
    QString esperado;
};

TEST(DicaIcone, CortaEm127SemPartirUmCaractere)
{
    const QString a126(126, u'a');
    const QString emoji = QStringLiteral("\U0001F600"); // two UTF-16 units
    const CasoCorte casos[] = {
        {"short", QStringLiteral("Vendas por Hora"), QStringLiteral("Vendas por Hora")},
        {"exactly 127", QString(127, u'a'), QString(127, u'a')},
        {"128", QString(128, u'a'), QString(127, u'a')},
        {"pair across the cut", a126 + emoji, a126},
        {"pair before the cut", QString(125, u'a') + emoji + u'b', QString(125, u'a') + emoji},
        {"combining mark across the cut", a126 + QStringLiteral("e\u0301"), a126},
    };
    for (const auto& caso : casos)
        EXPECT_EQ(plataforma::CortarTexto(caso.texto, 127), caso.esperado) << caso.nome;
}

TEST(IconePrograma, DesenhadoEmCadaTamanho)
{
    GarantirAplicacao();
    const QIcon icone = plataforma::IconePrograma();
    for (const int lado : {16, 32, 48, 256})
        EXPECT_TRUE(icone.availableSizes().contains(QSize(lado, lado))) << lado;

    const QImage imagem = icone.pixmap(256).toImage();
    // Rounded corner, dark face, white stem of the "d", metallic disc.
    EXPECT_EQ(qAlpha(imagem.pixel(2, 2)), 0);
    const QRgb face = imagem.pixel(40, 200);
    EXPECT_EQ(qAlpha(face), 255);
    EXPECT_LT(qGray(face), 90);
    EXPECT_GT(qGray(imagem.pixel(203, 100)), 240);
    EXPECT_GT(qGray(imagem.pixel(180, 228)), 150);
}

QList<QSystemTrayIcon*> Icones(const QWidget& janela)
{
    return janela.findChildren<QSystemTrayIcon*>();
}

TEST(IconeBandeja, UmIconeDeCadaVez)
{
    GarantirAplicacao();
    QWidget janela;

    plataforma::DestroiIcone(); // none yet: nothing happens
    plataforma::CriaIcone(&janela, QStringLiteral("Vendas por Hora"));
    ASSERT_EQ(Icones(janela).size(), 1);
    const QSystemTrayIcon* icone = Icones(janela).first();
    EXPECT_EQ(icone->toolTip(), QStringLiteral("Vendas por Hora"));
    EXPECT_FALSE(icone->icon().isNull());
    EXPECT_EQ(icone->contextMenu(), nullptr);
    EXPECT_TRUE(icone->isVisible());

    // Later starts keep the icon: a tray lists every new one as a new entry.
    plataforma::CriaIcone(&janela, QStringLiteral("Vendas por Hora"));
    EXPECT_EQ(Icones(janela), QList<QSystemTrayIcon*>{const_cast<QSystemTrayIcon*>(icone)});
    plataforma::CriaIcone(&janela, QStringLiteral("Outro Título"));
    EXPECT_EQ(Icones(janela), QList<QSystemTrayIcon*>{const_cast<QSystemTrayIcon*>(icone)});
    EXPECT_EQ(icone->toolTip(), QStringLiteral("Outro Título"));

    plataforma::DestroiIcone();
    EXPECT_TRUE(Icones(janela).isEmpty());
    plataforma::DestroiIcone();
    EXPECT_TRUE(Icones(janela).isEmpty());

    // Made anew, since a tray may have appeared meanwhile.
    plataforma::CriaIcone(&janela, QString(126, u'x') + QStringLiteral("\U0001F600"));
    ASSERT_EQ(Icones(janela).size(), 1);
    EXPECT_EQ(Icones(janela).first()->toolTip(), QString(126, u'x'));
    plataforma::DestroiIcone();
}

TEST(IconeBandeja, IconeSaiJuntoComSuaJanela)
{
    GarantirAplicacao();
    {
        QWidget primeira;
        plataforma::CriaIcone(&primeira, QStringLiteral("Vendas por Hora"));
    }
    // The icon went with the first window; nothing is deleted twice.
    QWidget segunda;
    plataforma::CriaIcone(&segunda, QStringLiteral("Vendas por Hora"));
    EXPECT_EQ(Icones(segunda).size(), 1);
    plataforma::DestroiIcone();
    EXPECT_TRUE(Icones(segunda).isEmpty());
}

} // namespace
