// Every text of a fixed size (the about box, the configuration dialog, the
// views) fits its place in the fonts the program uses, at the pixel ratio
// the test runs at (CTest runs it at 1 and, with QT_SCALE_FACTOR, at 2).
#include "dialogo_teste.h"

#include "base/brasil.h"
#include "config_dialog/estilo_escuro.h"
#include "frame/fonte_rotulos.h"

#include <QDateEdit>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

namespace {

struct Lugar {
    QString nome;
    QFont fonte;
    QString texto;
    QRectF area; // where the text is drawn
    bool quebra = false; // wraps onto further lines
};

Lugar DoRotulo(const QLabel* rotulo, const QString& texto = {})
{
    return {rotulo->objectName(), rotulo->font(), texto.isEmpty() ? rotulo->text() : texto,
            rotulo->contentsRect(), rotulo->wordWrap()};
}

// The text's ink, drawn at escala device pixels per logical pixel, in
// logical pixels.
QRectF Tinta(const QFont& fonte, const QString& texto, qreal escala)
{
    const QSizeF folga(QFontMetricsF(fonte).horizontalAdvance(texto) + 40, 100);
    QImage imagem((folga * escala).toSize(), QImage::Format_ARGB32_Premultiplied);
    imagem.setDevicePixelRatio(escala);
    imagem.fill(Qt::transparent);
    {
        QPainter pintor(&imagem);
        pintor.setFont(fonte);
        pintor.setPen(Qt::black);
        pintor.drawText(QPointF(20, 50), texto);
    }
    QRect pixels;
    for (int y = 0; y < imagem.height(); ++y)
        for (int x = 0; x < imagem.width(); ++x)
            if (qAlpha(imagem.pixel(x, y)) > 0)
                pixels |= QRect(x, y, 1, 1);
    return QRectF(pixels.topLeft() / escala, pixels.size() / escala);
}

void ExpectCabe(const Lugar& l)
{
    SCOPED_TRACE(l.nome.toStdString() + " \"" + l.texto.toStdString() + "\" in "
                 + QFontInfo(l.fonte).family().toStdString());
    const QFontMetricsF medidas(l.fonte);
    if (l.quebra) {
        const QRectF ocupado = medidas.boundingRect(QRectF(QPointF(), QSizeF(l.area.width(), 1e4)),
                                                    Qt::TextWordWrap, l.texto);
        EXPECT_LE(ocupado.height(), l.area.height());
        return;
    }
    EXPECT_LE(medidas.horizontalAdvance(l.texto), l.area.width());
    EXPECT_LE(medidas.height(), l.area.height());
    EXPECT_LE(Tinta(l.fonte, l.texto, qApp->devicePixelRatio()).width(), l.area.width())
        << "as drawn at " << qApp->devicePixelRatio() << "x";
}

} // namespace

using TextosCabem = DialogoTeste;

TEST_F(TextosCabem, CaixaSobre)
{
    EXPECT_TRUE(AbreSobre([](TfrmAbout& d) {
        for (const QLabel* rotulo : {d.lblTitulo, d.lblVersao, d.lblVer, d.lblRC, d.lblRelCons,
                                     d.lblDesc, d.txtDescricao}) {
            EXPECT_EQ(QFontInfo(rotulo->font()).family(), FONTE_ROTULOS)
                << rotulo->objectName().toStdString();
            ExpectCabe(DoRotulo(rotulo));
        }
        ExpectCabe({QStringLiteral("btnOk"), d.btnOk->font(), d.btnOk->text(), d.btnOk->rect()});
    }));
}

TEST_F(TextosCabem, DialogoDeConfiguracao)
{
    EXPECT_TRUE(Configura([](TFrmConfiguracao& d) {
        for (const QLabel* rotulo : {d.Label1, d.lblFilial, d.Label4, d.Label3, d.Label8,
                                     d.lblOpacidade, d.lblComparacao, d.lblMetaDia}) {
            // Segoe UI where the system has it, else the family chosen for it.
            EXPECT_EQ(QFontInfo(rotulo->font()).family(), FONTE_ROTULOS)
                << rotulo->objectName().toStdString();
            ExpectCabe(DoRotulo(rotulo));
        }
        for (QCheckBox* caixa : {d.chkConsideraPedidosImportados, d.ckbSempreVisivel})
            ExpectCabe({caixa->objectName(), caixa->font(), caixa->text(),
                        static_cast<TCaixaMarcacao*>(caixa)->AreaTexto()});
        // Inside the one-pixel border.
        for (QPushButton* botao : {d.btnSalvarConf, d.BtnCancelarConf})
            ExpectCabe({botao->objectName(), botao->font(), botao->text(),
                        QRectF(botao->rect()).adjusted(1, 1, -1, -1)});
        const QTabBar* abas = d.TabControl1->tabBar();
        for (int aba = 0; aba < abas->count(); ++aba)
            ExpectCabe({abas->tabText(aba), abas->font(), abas->tabText(aba),
                        QRectF(abas->tabRect(aba)).adjusted(1, 1, -1, 0)});
        // Left of the strip with the two triangles.
        for (int i = 0; i < d.ppbComparacao->count(); ++i)
            ExpectCabe({d.ppbComparacao->objectName(), d.ppbComparacao->font(),
                        d.ppbComparacao->itemText(i),
                        QRectF(d.ppbComparacao->rect()).adjusted(4, 1, -16, -1)});
        ExpectCabe({d.edtMetaDia->objectName(), d.edtMetaDia->font(),
                    QStringLiteral("9.999.999,99"),
                    QRectF(d.edtMetaDia->rect()).adjusted(4, 1, -4, -1)});
    }));
}

TEST_F(TextosCabem, Vistas)
{
    for (const char* vista : {"Min", "Max"}) {
        SCOPED_TRACE(vista);
        const auto controle = [&](const char* nome) {
            QWidget* w = host.findChild<QWidget*>(QLatin1String(nome) + QLatin1String(vista));
            EXPECT_NE(w, nullptr) << nome;
            return w;
        };
        const auto* filial = static_cast<QLabel*>(controle("lblNomeFilial"));
        EXPECT_EQ(QFontInfo(filial->font()).family(), FONTE_ROTULOS);
        ExpectCabe(DoRotulo(filial, TODAS_AS_FILIAIS));
        const auto* periodo = static_cast<QLabel*>(controle("lblPeriodo"));
        for (int dia = 1; dia <= 7; ++dia)
            ExpectCabe(DoRotulo(periodo, LOCALE_BRASIL.dayName(dia).toUpper()));
        for (const char* nome : {"btnVolt", "btnAvan"}) {
            const auto* botao = static_cast<QPushButton*>(controle(nome));
            ExpectCabe({botao->objectName(), botao->font(), botao->text(), botao->rect()});
        }
        if (QLatin1String(vista) == QLatin1String("Max")) {
            // A busy day of a good-sized shop, in the line's own size.
            const auto* totais = static_cast<QLabel*>(controle("lblTotais"));
            for (const char* texto :
                 {"Total R$ 99.999,99 · 1.234 vendas · ticket R$ 81,04 · +108% sem. passada",
                  "Total R$ 99.999,99 · 1.234 vendas · ticket R$ 81,04 · -100% média 4 sem."})
                ExpectCabe(DoRotulo(totais, QString::fromUtf8(texto)));
        }
        // The line edit keeps 2 pixels free on each side.
        const auto* data = static_cast<QDateEdit*>(controle("cleGraf"));
        const QLineEdit* linha = data->findChild<QLineEdit*>();
        ExpectCabe({data->objectName(), linha->font(), data->text(),
                    QRectF(linha->contentsRect()).adjusted(2, 0, -2, 0)});
    }
}
