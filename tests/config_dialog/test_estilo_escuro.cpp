#include "config_dialog/estilo_escuro.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QStringList ITENS = {QStringLiteral("100%"), QStringLiteral("  80%"), QStringLiteral("  60%"),
                           QStringLiteral("  40%"), QStringLiteral("  20%")};

// The leftmost column of text in linha of imagem: the first pixel lighter
// than any background of the dark look.
int InicioDoTexto(const QImage& imagem, const QRect& linha)
{
    for (int x = linha.left(); x <= linha.right(); ++x)
        for (int y = linha.top(); y <= linha.bottom(); ++y)
            if (qGray(imagem.pixel(x, y)) > 120)
                return x;
    return -1;
}

class ListaEscura : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.setStyleSheet(FolhaEstiloEscuro());
        host.resize(240, 60);
        lista = new TListaEscura(&host);
        lista->setGeometry(10, 10, 210, 21);
        QFont fonte = lista->font();
        fonte.setPixelSize(12);
        fonte.setBold(true);
        lista->setFont(fonte);
        lista->addItems(ITENS);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }

    QWidget host;
    TListaEscura* lista;
};

TEST_F(ListaEscura, TextoNoMesmoLugarEmCadaEstado)
{
    const QStyle::State estados[] = {
        QStyle::State_Enabled,
        QStyle::State_Enabled | QStyle::State_Selected,
        QStyle::State_Enabled | QStyle::State_MouseOver,
        QStyle::State_Enabled | QStyle::State_Selected | QStyle::State_MouseOver
            | QStyle::State_HasFocus,
    };
    QAbstractItemView* vista = lista->view();
    QList<int> inicios;
    for (int i = 0; i < ITENS.size(); ++i) {
        const QModelIndex indice = lista->model()->index(i, 0);
        int primeiro = -1;
        for (QStyle::State estado : estados) {
            QStyleOptionViewItem opcao;
            opcao.initFrom(vista->viewport());
            opcao.rect = QRect(0, 0, 200, 18);
            opcao.state = estado;
            opcao.font = vista->font();
            opcao.features = QStyleOptionViewItem::HasDisplay;
            opcao.text = ITENS[i];
            opcao.widget = vista;
            QImage imagem(200, 18, QImage::Format_RGB32);
            imagem.fill(QColor::fromRgba(0xFF353535));
            {
                QPainter pintor(&imagem);
                vista->itemDelegate()->paint(&pintor, opcao, indice);
            }
            const int inicio = InicioDoTexto(imagem, imagem.rect());
            ASSERT_GE(inicio, 0) << ITENS[i].toStdString() << ": some text is drawn";
            if (primeiro < 0)
                primeiro = inicio;
            EXPECT_EQ(inicio, primeiro) << ITENS[i].toStdString() << ", state " << int(estado);
        }
        inicios << primeiro;
    }
    const int brancos = QFontMetrics(lista->font()).horizontalAdvance(QStringLiteral("  1"))
                        - QFontMetrics(lista->font()).horizontalAdvance(QStringLiteral("1"));
    for (int i = 1; i < ITENS.size(); ++i)
        EXPECT_NEAR(inicios[i] - inicios[0], brancos, 2)
            << ITENS[i].toStdString() << ": the blanks show";
}

TEST_F(ListaEscura, TextoNoMesmoLugarEmCadaAbertura)
{
    QList<QList<int>> aberturas;
    for (int atual : {0, 3, 1, 0, 4}) {
        lista->setCurrentIndex(atual);
        lista->showPopup();
        QAbstractItemView* vista = lista->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(vista->window()));
        QCoreApplication::processEvents();
        const QImage imagem = vista->viewport()->grab().toImage();
        const qreal escala = imagem.devicePixelRatio();
        QList<int> inicios;
        for (int i = 0; i < ITENS.size(); ++i) {
            const QRect linha = vista->visualRect(lista->model()->index(i, 0));
            inicios << InicioDoTexto(imagem,
                                     QRect(linha.topLeft() * escala, linha.size() * escala));
        }
        lista->hidePopup();
        QCoreApplication::processEvents();
        aberturas << inicios;
    }
    for (int a = 1; a < aberturas.size(); ++a)
        EXPECT_EQ(aberturas[a], aberturas[0]) << "opening " << a;
    ASSERT_EQ(aberturas[0].size(), ITENS.size());
    for (int i = 2; i < ITENS.size(); ++i)
        EXPECT_EQ(aberturas[0][i], aberturas[0][1]) << "every \"  n%\" entry alike";
    EXPECT_GT(aberturas[0][1], aberturas[0][0]) << "the blanks show";
}

} // namespace
