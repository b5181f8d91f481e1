#include "tests/support/atualizacao.h"
#include "tests/support/gadget_vendas_hora.h"

#include "frame/imagens_icones.h"
#include "frame/retangulo.h"
#include "frame/rotulo.h"

#include <QCalendarWidget>
#include <QChart>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGraphicsScene>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTableView>
#include <QToolTip>
#include <QValueAxis>
#include <QWheelEvent>
#include <functional>
#include <vector>

namespace {

QString Nome(int dia)
{
    switch (dia) {
    case -2:
        return QStringLiteral("QUARTA-FEIRA");
    case -1:
        return QStringLiteral("QUINTA-FEIRA");
    case 0:
        return QStringLiteral("SEXTA-FEIRA");
    case 1:
        return QStringLiteral("SÁBADO");
    }
    return QString();
}

QStringList Horas(int ini, int fim)
{
    QStringList horas;
    for (int h = ini; h <= fim; ++h)
        horas << QStringLiteral("%1h").arg(h, 2, 10, QLatin1Char('0'));
    return horas;
}

// Lets queued handlers run.
TEST_F(VendasHoraTeste, ConstrucaoMostraOsTextosIniciaisSemConsultar)
{
    EXPECT_EQ(Resumo()->Titulo(), QStringLiteral("Gráfico Minimizado"));
    EXPECT_EQ(Detalhe()->Titulo(), QStringLiteral("Gráfico Maximizado"));
    for (const char* rotulo : {"lblNomeFilialMin", "lblNomeFilialMax"})
        EXPECT_EQ(Texto(rotulo), QStringLiteral("Todas as Filiais")) << rotulo;
    for (const char* rotulo : {"lblPeriodoMin", "lblPeriodoMax"})
        EXPECT_EQ(Texto(rotulo), QStringLiteral("22/04/2013")) << rotulo;
    for (const char* edicao : {"cleGrafMin", "cleGrafMax"}) {
        EXPECT_EQ(Controle<TDataEdit>(edicao)->date(), HOJE) << edicao;
        EXPECT_EQ(Controle<TDataEdit>(edicao)->text(), QStringLiteral("15/03/2024")) << edicao;
    }
    EXPECT_EQ(Resumo()->Serie(), nullptr);
    EXPECT_EQ(Detalhe()->Serie(), nullptr);
    EXPECT_TRUE(Controle<TRetangulo>("rtgResumo")->isVisible());
    EXPECT_FALSE(Controle<TRetangulo>("rtgDetalhe")->isVisible());
    EXPECT_EQ(gadget->GetTitulo(), QStringLiteral("Vendas por Hora"));
    EXPECT_EQ(gadget->GetVersao(), QStringLiteral("21.08ru"));
    EXPECT_EQ(gadget->GetRelCons(), QStringLiteral("Lotrapex - Relatório Totalização de Vendas"));
    EXPECT_EQ(gadget->GetDescricao(),
              QStringLiteral("Esta gadget funciona como um termômetro que apresenta as vendas da "
                             "sua empresa por unidade por hora."));
    EsperaLeitura();
    EXPECT_EQ(Resumo()->Serie(), nullptr) << "setting today's date ran no refresh";
    EXPECT_TRUE(mensagens.isEmpty()) << mensagens.join(u'|').toStdString();
}

TEST_F(VendasHoraTeste, ControlesNasVistas)
{
    struct Caso {
        const char* nome;
        const char* vista;
        QRect geometria;
        QString texto;
    };
    const Caso casos[] = {
        // The line of totals under the detail chart moves the rows below it
        // down by its height.
        {"rtgDetalhe", "rtgGadget", {0, 0, 389, 252}, {}},
        {"rtgResumo", "rtgGadget", {102, 0, 287, 210}, {}},
        {"btnVoltMax", "rtgDetalhe", {17, 227, 15, 20}, "<"},
        {"btnAvanMax", "rtgDetalhe", {117, 227, 15, 20}, ">"},
        {"cleGrafMax", "rtgDetalhe", {31, 227, 87, 20}, {}},
        {"lblTotaisMax", "rtgDetalhe", {0, 194, 389, 15}, ""},
        {"lblNomeFilialMax", "rtgDetalhe", {0, 210, 389, 15}, "Todas as Filiais"},
        {"lblPeriodoMax", "rtgDetalhe", {132, 230, 197, 15}, "22/04/2013"},
        {"ChGraficoMax", "rtgDetalhe", {0, 0, 389, 214}, {}},
        {"btnVoltMin", "rtgResumo", {14, 188, 15, 20}, "<"},
        {"btnAvanMin", "rtgResumo", {114, 188, 15, 20}, ">"},
        {"cleGrafMin", "rtgResumo", {28, 188, 87, 20}, {}},
        {"lblNomeFilialMin", "rtgResumo", {0, 171, 287, 15}, "Todas as Filiais"},
        {"lblPeriodoMin", "rtgResumo", {129, 191, 97, 15}, "22/04/2013"},
        {"ChGraficoMin", "rtgResumo", {0, 0, 286, 186}, {}},
    };
    for (const Caso& c : casos) {
        const QWidget* controle = Controle<QWidget>(c.nome);
        ASSERT_NE(controle, nullptr) << c.nome;
        EXPECT_EQ(controle->geometry(), c.geometria) << c.nome;
        EXPECT_EQ(controle->parentWidget()->objectName(), QLatin1String(c.vista)) << c.nome;
        if (const auto* botao = qobject_cast<const QPushButton*>(controle)) {
            EXPECT_EQ(botao->text(), c.texto) << c.nome;
        }
        if (const auto* rotulo = qobject_cast<const QLabel*>(controle)) {
            EXPECT_EQ(rotulo->text(), c.texto) << c.nome;
        }
    }
    EXPECT_EQ(Controle<TRetangulo>("rtgGadget")->size(), QSize(422, 262));

    struct Fonte {
        const char* rotulo;
        int tamanho;
        bool negrito;
    };
    for (const Fonte& f : {Fonte{"lblNomeFilialMax", 12, true}, Fonte{"lblNomeFilialMin", 12, true},
                           Fonte{"lblPeriodoMax", 10, false}, Fonte{"lblPeriodoMin", 10, false},
                           Fonte{"lblTotaisMax", 10, false}}) {
        const QFont fonte = Controle<QLabel>(f.rotulo)->font();
        EXPECT_EQ(fonte.family(), QStringLiteral("Tahoma")) << f.rotulo;
        EXPECT_EQ(fonte.pixelSize(), f.tamanho) << f.rotulo;
        EXPECT_EQ(fonte.bold(), f.negrito) << f.rotulo;
        EXPECT_TRUE(Controle<QLabel>(f.rotulo)->alignment().testFlag(Qt::AlignHCenter)) << f.rotulo;
    }
}

TEST_F(VendasHoraTeste, InicioMostraHojeComOAvancoDesabilitado)
{
    Inicia();
    for (const char* botao : {"btnAvanMin", "btnAvanMax"})
        EXPECT_FALSE(Controle<TBotao>(botao)->isEnabled()) << botao;
    for (const char* botao : {"btnVoltMin", "btnVoltMax"})
        EXPECT_TRUE(Controle<TBotao>(botao)->isEnabled()) << botao;
    for (const char* rotulo : {"lblPeriodoMin", "lblPeriodoMax"})
        EXPECT_EQ(Texto(rotulo), QStringLiteral("SEXTA-FEIRA")) << rotulo;
    for (const char* rotulo : {"lblNomeFilialMin", "lblNomeFilialMax"})
        EXPECT_EQ(Texto(rotulo), QStringLiteral("Todas as Filiais")) << rotulo;
    for (TGraficoVendas* grafico : {Resumo(), Detalhe()}) {
        const std::string nome = grafico->objectName().toStdString();
        EXPECT_EQ(grafico->Titulo(), QStringLiteral("Vendas por Hora")) << nome;
        ExpectValores(grafico, Esperado(0, 8, 18), nome);
        EXPECT_EQ(grafico->Rotulos(), Horas(8, 18)) << nome;
        // The day a week earlier, behind the day's line.
        ASSERT_NE(grafico->Referencia(), nullptr) << nome;
        EXPECT_EQ(grafico->chart()->series(),
                  (QList<QAbstractSeries*>{grafico->Referencia(), grafico->Serie()}))
            << nome;
        EXPECT_FALSE(grafico->chart()->legend()->isVisible()) << nome;
        EXPECT_FALSE(grafico->MarcasVisiveis()) << nome;
        EXPECT_EQ(grafico->Serie()->color(), QColor::fromRgba(0xFF0000FF)) << nome;
        EXPECT_TRUE(grafico->Serie()->pointsVisible()) << nome;
    }
    EXPECT_EQ(Resumo()->Serie()->objectName(), QStringLiteral("LineGraf"));
    EXPECT_EQ(Detalhe()->Serie()->objectName(), QStringLiteral("LineGrafMax"));
    // A hidden chart has no size of its own to lay its labels out in; the
    // detail view is looked at once it shows.
    gadget->RMaximizarClick(gadget);
    EsperaLeitura();
    EXPECT_EQ(Detalhe()->RotulosVisiveis(), Horas(8, 18)) << "every hour fits the detail chart";
}

enum class Passo {
    VoltarResumo,
    AvancarResumo,
    VoltarDetalhe,
    AvancarDetalhe,
    EditaResumo,
    EditaDetalhe
};

struct Acao {
    Passo passo;
    int dia = 0; // for the edits: the day chosen, from HOJE
};

TEST_F(VendasHoraTeste, NavegacaoEntreDias)
{
    struct Caso {
        const char* nome;
        std::vector<Acao> acoes;
        int dia;
        bool avanco;
    };
    const Caso casos[] = {
        {"<", {{Passo::VoltarResumo}}, -1, true},
        {"< >", {{Passo::VoltarResumo}, {Passo::AvancarResumo}}, 0, false},
        {"< < >", {{Passo::VoltarResumo}, {Passo::VoltarResumo}, {Passo::AvancarResumo}}, -1, true},
        {"detail < < >",
         {{Passo::VoltarDetalhe}, {Passo::VoltarDetalhe}, {Passo::AvancarDetalhe}},
         -1,
         true},
        {"detail < then summary >", {{Passo::VoltarDetalhe}, {Passo::AvancarResumo}}, 0, false},
        {"summary edit: yesterday", {{Passo::EditaResumo, -1}}, -1, true},
        {"detail edit: yesterday", {{Passo::EditaDetalhe, -1}}, -1, true},
        {"summary edit: tomorrow", {{Passo::EditaResumo, 1}}, 1, false},
        {"detail edit: tomorrow, then <",
         {{Passo::EditaDetalhe, 1}, {Passo::VoltarDetalhe}},
         0,
         false},
        {"edit two days back, then >",
         {{Passo::EditaResumo, -2}, {Passo::AvancarResumo}},
         -1,
         true},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        Constroi();
        Inicia();
        for (const Acao& acao : c.acoes) {
            const bool detalhe = acao.passo == Passo::VoltarDetalhe
                                 || acao.passo == Passo::AvancarDetalhe
                                 || acao.passo == Passo::EditaDetalhe;
            if (detalhe)
                gadget->RMaximizarClick(gadget);
            else
                gadget->RMinimizarClick(gadget);
            const QPointer<QLineSeries> antes = Resumo()->Serie();
            switch (acao.passo) {
            case Passo::VoltarResumo:
                QTest::mouseClick(Controle<TBotao>("btnVoltMin"), Qt::LeftButton);
                break;
            case Passo::AvancarResumo:
                QTest::mouseClick(Controle<TBotao>("btnAvanMin"), Qt::LeftButton);
                break;
            case Passo::VoltarDetalhe:
                QTest::mouseClick(Controle<TBotao>("btnVoltMax"), Qt::LeftButton);
                break;
            case Passo::AvancarDetalhe:
                QTest::mouseClick(Controle<TBotao>("btnAvanMax"), Qt::LeftButton);
                break;
            case Passo::EditaResumo:
                Controle<TDataEdit>("cleGrafMin")->setDate(HOJE.addDays(acao.dia));
                break;
            case Passo::EditaDetalhe:
                Controle<TDataEdit>("cleGrafMax")->setDate(HOJE.addDays(acao.dia));
                break;
            }
            EsperaLeitura();
            EXPECT_TRUE(antes.isNull()) << "each step refreshed";
            const QPointer<QLineSeries> depois = Resumo()->Serie();
            EsperaLeitura();
            EXPECT_EQ(Resumo()->Serie(), depois.data()) << "and only once";
        }
        const QDate dia = HOJE.addDays(c.dia);
        for (const char* edicao : {"cleGrafMin", "cleGrafMax"})
            EXPECT_EQ(Controle<TDataEdit>(edicao)->date(), dia) << edicao;
        for (const char* rotulo : {"lblPeriodoMin", "lblPeriodoMax"})
            EXPECT_EQ(Texto(rotulo), Nome(c.dia)) << rotulo;
        ExpectValores(Resumo(), Esperado(c.dia, 8, 18), "summary");
        ExpectValores(Detalhe(), Esperado(c.dia, 8, 18), "detail");
        EsperaLeitura();
        for (TGraficoVendas* grafico : {Resumo(), Detalhe()})
            EXPECT_FALSE(grafico->chart()->axes(Qt::Horizontal).first()->labelsTruncated())
                << grafico->objectName().toStdString() << ": hour labels cut short";
        for (const char* botao : {"btnAvanMin", "btnAvanMax"})
            EXPECT_EQ(Controle<TBotao>(botao)->isEnabled(), c.avanco) << botao;
        for (const char* botao : {"btnVoltMin", "btnVoltMax"})
            EXPECT_TRUE(Controle<TBotao>(botao)->isEnabled()) << botao;
        EXPECT_TRUE(mensagens.isEmpty()) << mensagens.join(u'|').toStdString();
    }
}

TEST_F(VendasHoraTeste, CalendarioDaEdicaoMudaODia)
{
    Inicia();
    TDataEdit* edicao = Controle<TDataEdit>("cleGrafMin");
    QTest::mouseClick(edicao, Qt::LeftButton, {},
                      QPoint(edicao->width() - 7, edicao->height() / 2));
    QCalendarWidget* calendario = edicao->calendarWidget();
    ASSERT_TRUE(calendario->isVisible()) << "the drop-down area opens the calendar";
    QTableView* dias = calendario->findChild<QTableView*>();
    ASSERT_NE(dias, nullptr);
    QTest::keyClick(dias, Qt::Key_Left);
    QTest::keyClick(dias, Qt::Key_Return);
    EsperaLeitura();
    EXPECT_FALSE(calendario->isVisible());
    for (const char* nome : {"cleGrafMin", "cleGrafMax"})
        EXPECT_EQ(Controle<TDataEdit>(nome)->date(), HOJE.addDays(-1)) << nome;
    EXPECT_EQ(Texto("lblPeriodoMax"), Nome(-1));
    ExpectValores(Detalhe(), Esperado(-1, 8, 18), "detail");
    EXPECT_TRUE(Controle<TBotao>("btnAvanMin")->isEnabled());
}

TEST_F(VendasHoraTeste, DigitarNaEdicaoNaoMudaNada)
{
    Inicia();
    QGuiApplication::clipboard()->setText(QStringLiteral("01/01/2020"));
    struct Caso {
        const char* nome;
        std::function<void(QWidget*)> digita;
    };
    const Caso casos[] = {
        {"digits", [](QWidget* w) { QTest::keyClicks(w, QStringLiteral("01012020")); }},
        {"up", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Up); }},
        {"down", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Down); }},
        {"page up", [](QWidget* w) { QTest::keyClick(w, Qt::Key_PageUp); }},
        {"backspace",
         [](QWidget* w) {
             QTest::keyClick(w, Qt::Key_End);
             QTest::keyClick(w, Qt::Key_Backspace);
         }},
        {"delete", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Delete); }},
        {"paste",
         [](QWidget* w) {
             QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
             QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
         }},
        {"wheel",
         [](QWidget* w) {
             QWheelEvent roda(QPointF(20, 10), w->mapToGlobal(QPointF(20, 10)), QPoint(),
                              QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                              false);
             QCoreApplication::sendEvent(w, &roda);
         }},
    };
    for (const char* nome : {"cleGrafMin", "cleGrafMax"}) {
        if (QLatin1String(nome) == QLatin1String("cleGrafMax"))
            gadget->RMaximizarClick(gadget);
        TDataEdit* edicao = Controle<TDataEdit>(nome);
        edicao->setFocus();
        for (const Caso& c : casos) {
            const QLineSeries* serie = Resumo()->Serie();
            c.digita(edicao);
            EsperaLeitura();
            EXPECT_EQ(edicao->date(), HOJE) << nome << ": " << c.nome;
            EXPECT_EQ(edicao->text(), QStringLiteral("15/03/2024")) << nome << ": " << c.nome;
            EXPECT_EQ(Resumo()->Serie(), serie) << nome << ": " << c.nome << " refreshed";
        }
    }
}

TEST_F(VendasHoraTeste, FaixaDeHorasDaConfiguracao)
{
    struct Caso {
        const char* ini;
        const char* fim;
        int de;
        int ate;
    };
    const Caso casos[] = {
        {"8", "18", 8, 18}, {"0", "23", 0, 23}, {"12", "12", 12, 12}, {"18", "8", 18, 8}, // no rows
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::string(c.ini) + ".." + c.fim);
        config.setHoraIni(QString::fromLatin1(c.ini));
        config.setHoraFim(QString::fromLatin1(c.fim));
        Inicia();
        for (TGraficoVendas* grafico : {Resumo(), Detalhe()}) {
            const std::string nome = grafico->objectName().toStdString();
            EXPECT_EQ(grafico->Titulo(), QStringLiteral("Vendas por Hora")) << nome;
            EXPECT_EQ(grafico->Rotulos(), Horas(c.de, c.ate)) << nome;
            ExpectValores(grafico, Esperado(0, c.de, c.ate), nome);
            // Labels that do not fit are left out at a steady step.
            const QStringList visiveis = grafico->RotulosVisiveis();
            const QStringList todos = grafico->Rotulos();
            if (todos.isEmpty()) {
                EXPECT_TRUE(visiveis.isEmpty()) << nome;
                continue;
            }
            ASSERT_FALSE(visiveis.isEmpty()) << nome;
            EXPECT_EQ(visiveis.first(), todos.first()) << nome;
            const qsizetype passo = visiveis.size() > 1 ? todos.indexOf(visiveis[1]) : 1;
            for (qsizetype i = 0; i < visiveis.size(); ++i)
                EXPECT_EQ(visiveis[i], todos.value(i * passo)) << nome;
        }
    }
    EXPECT_LT(Resumo()->RotulosVisiveis().size(), 24) << "24 hours do not all fit the summary";
}

TEST_F(VendasHoraTeste, FaixaDeHorasComTodasAsHorasNoResumoNaoSobrepoeRotulos)
{
    config.setHoraIni(QStringLiteral("0"));
    config.setHoraFim(QStringLiteral("23"));
    Inicia();
    for (TGraficoVendas* grafico : {Resumo(), Detalhe()}) {
        if (grafico == Detalhe())
            gadget->RMaximizarClick(gadget);
        EsperaLeitura();
        const QStringList visiveis = grafico->RotulosVisiveis();
        ASSERT_GT(visiveis.size(), 1);
        const qsizetype passo = grafico->Rotulos().indexOf(visiveis[1]);
        const double distancia = grafico->chart()->plotArea().width() / 24 * passo;
        const QFontMetricsF medidas(grafico->chart()->axes(Qt::Horizontal).first()->labelsFont());
        EXPECT_GT(distancia, medidas.horizontalAdvance(QStringLiteral("00h")))
            << grafico->objectName().toStdString();
    }
}

TEST_F(VendasHoraTeste, NomeDaFilial)
{
    struct Caso {
        const char* empresa;
        const char* nome;
    };
    banco->addFilial(QStringLiteral("03"), QString());
    const Caso casos[] = {
        {"", "Todas as Filiais"},
        {"02", "Loja Dois"},
        {"01", "Loja Centro"},
        // No such branch: the label says so, over a chart of zeros.
        {"99", "Filial 99 não encontrada"},
        {"03", ""}, // a branch without a name
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.empresa);
        config.setEmpresa(QString::fromLatin1(c.empresa));
        Inicia();
        for (const char* rotulo : {"lblNomeFilialMin", "lblNomeFilialMax"})
            EXPECT_EQ(Texto(rotulo), QString::fromUtf8(c.nome)) << rotulo;
        ExpectValores(Resumo(), Esperado(0, 8, 18, QString::fromLatin1(c.empresa)), "summary");
    }
}

TEST_F(VendasHoraTeste, MarcasSoComOPonteiroSobreUmGrafico)
{
    Inicia();
    const auto marcas = [this] {
        return std::make_pair(Resumo()->MarcasVisiveis(), Detalhe()->MarcasVisiveis());
    };
    const auto ambas = [](bool v) { return std::make_pair(v, v); };
    QWidget* areaResumo = Resumo()->viewport();
    const QPoint meio = areaResumo->rect().center();

    QTest::mouseMove(areaResumo, meio);
    EXPECT_EQ(marcas(), ambas(true)) << "over the summary chart";
    EXPECT_TRUE(Controle<TRetangulo>("rtgMenu")->isVisible()) << "and the strip shows";

    QTest::mouseMove(&host, QPoint(10, 700));
    EXPECT_EQ(marcas(), ambas(false)) << "off the gadget";

    QTest::mouseMove(areaResumo, meio);
    QTest::mouseMove(Controle<TRetangulo>("rtgResumo"), QPoint(200, 200));
    EXPECT_EQ(marcas(), ambas(false)) << "from the chart onto its view";

    QTest::mouseMove(areaResumo, meio);
    ASSERT_EQ(marcas(), ambas(true));
    Inicia();
    EXPECT_EQ(marcas(), ambas(false)) << "a refresh under the pointer brings hidden marks";
    QTest::mouseMove(areaResumo, meio + QPoint(5, 5));
    EXPECT_EQ(marcas(), ambas(false)) << "moving on the chart does not show them";
    QTest::mouseMove(&host, QPoint(10, 700));
    QTest::mouseMove(areaResumo, meio);
    EXPECT_EQ(marcas(), ambas(true)) << "leaving and entering again does";

    QTest::mouseMove(&host, QPoint(10, 700));
    gadget->RMaximizarClick(gadget);
    QTest::mouseMove(Detalhe()->viewport(), Detalhe()->viewport()->rect().center());
    EXPECT_EQ(marcas(), ambas(true)) << "over the detail chart";
}

TEST_F(VendasHoraTeste, NumerosComVirgulaDecimal)
{
    EXPECT_EQ(TGraficoVendas::TextoMarca(1234.5), QStringLiteral("1.234,50"));
    EXPECT_EQ(TGraficoVendas::TextoMarca(-0.25), QStringLiteral("-0,25"));
    EXPECT_EQ(TGraficoVendas::TextoMarca(1000000), QStringLiteral("1.000.000,00"));

    struct Caso {
        const char* ini;
        const char* fim;
        double topo;
        double passo;
    };
    const Caso casos[] = {
        {"8", "18", 300, 100}, // up to 300
        {"20", "22", 1000, 500}, // all zero: still whole, round steps
    };
    for (const Caso& c : casos) {
        config.setHoraIni(QString::fromLatin1(c.ini));
        config.setHoraFim(QString::fromLatin1(c.fim));
        Inicia();
        for (TGraficoVendas* grafico : {Resumo(), Detalhe()}) {
            const QValueAxis* eixo = grafico->EixoValores();
            EXPECT_EQ(eixo->min(), 0) << c.ini;
            EXPECT_EQ(eixo->max(), c.topo) << c.ini;
            EXPECT_EQ(eixo->tickInterval(), c.passo) << c.ini;
            EXPECT_EQ(eixo->labelFormat(), QStringLiteral("%.0f")) << c.ini;
            EXPECT_TRUE(grafico->chart()->localizeNumbers());
            EXPECT_EQ(grafico->chart()->locale().decimalPoint(), QStringLiteral(","));
            EXPECT_EQ(grafico->chart()->locale().groupSeparator(), QStringLiteral("."));
        }
    }
}

// A name wider than the view ends in "…" and shows whole as the tooltip; a
// short one shows whole, with no tooltip.
TEST_F(VendasHoraTeste, NomeDaFilialLongoTerminaEmReticencias)
{
    const QString longo =
        QStringLiteral("Supermercado Família Unida Comércio de Alimentos Ltda 60");
    const QString nome = longo + QString(60 - longo.size(), u'x');
    ASSERT_EQ(nome.size(), 60);
    Inicia();
    for (const char* rotulo : {"lblNomeFilialMin", "lblNomeFilialMax"}) {
        auto* r = Controle<TRotuloCortado>(rotulo);
        ASSERT_TRUE(r) << rotulo;
        const QRect antes = r->geometry();
        for (const QString& texto : {QStringLiteral("Loja Dois"), nome}) {
            QToolTip::hideText();
            ASSERT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
            r->setText(texto);
            const bool cabe = texto.size() < 20;
            const QString visivel = r->TextoVisivel();
            EXPECT_EQ(r->text(), texto) << rotulo;
            if (cabe) {
                EXPECT_EQ(visivel, texto) << rotulo;
            } else {
                EXPECT_TRUE(visivel.endsWith(QChar(0x2026)))
                    << rotulo << ": " << visivel.toStdString();
                EXPECT_TRUE(texto.startsWith(visivel.chopped(1))) << rotulo << ": cut at the end";
                EXPECT_LE(r->fontMetrics().horizontalAdvance(visivel), r->contentsRect().width());
            }
            QHelpEvent dica(QEvent::ToolTip, QPoint(5, 5), r->mapToGlobal(QPoint(5, 5)));
            QCoreApplication::sendEvent(r, &dica);
            EXPECT_EQ(QToolTip::isVisible(), !cabe) << rotulo;
            if (!cabe) {
                EXPECT_EQ(QToolTip::text(), texto) << rotulo;
            }
            EXPECT_EQ(r->geometry(), antes) << rotulo << ": place and size stay";
        }
    }
    QToolTip::hideText();
}

// Drawn at the size shown, at the screen's pixel ratio: not scaled down from
// a larger picture.
TEST_F(VendasHoraTeste, LogoNoTamanhoEmQueAparece)
{
    int vistos = 0;
    for (QWidget* vista : {Controle<QWidget>("rtgResumo"), Controle<QWidget>("rtgDetalhe")})
        for (const QLabel* rotulo : vista->findChildren<QLabel*>()) {
            const QPixmap imagem = rotulo->pixmap();
            if (imagem.isNull())
                continue;
            ++vistos;
            EXPECT_EQ(rotulo->size(), QSize(50, 50));
            EXPECT_EQ(imagem.devicePixelRatio(), vista->devicePixelRatioF());
            EXPECT_EQ(imagem.toImage(),
                      LogoVUX(QSizeF(50, 50.0 * 17 / 53), imagem.devicePixelRatio())
                          .convertToFormat(imagem.toImage().format()));
        }
    EXPECT_EQ(vistos, 2);
}

TEST_F(VendasHoraTeste, AtualizacaoQueFalhaMantemOQueMostrava)
{
    const QString arquivo = banco->arquivo();
    const auto MudaCaminho = [this](const QString& caminho) {
        AcessoBanco a = banco->acesso();
        a.CaminhoBanco = caminho;
        ConfigurarConexao(conexao, a);
    };
    struct Caso {
        const char* nome;
        std::function<void()> quebra;
        std::function<void()> conserta;
    };
    const Caso casos[] = {
        {"refresh period not a number",
         [this] { config.setAtualizaDados(QStringLiteral("cinco")); },
         [this] { config.setAtualizaDados(QStringLiteral("5")); }},
        {"first hour not a number", [this] { config.setHoraIni(QStringLiteral("oito")); },
         [this] { config.setHoraIni(QStringLiteral("8")); }},
        {"database missing", [&] { MudaCaminho(arquivo + QStringLiteral(".fora")); },
         [&] { MudaCaminho(arquivo); }},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        Constroi();
        Inicia();
        const QPointer<QLineSeries> serie = Resumo()->Serie();
        c.quebra();
        bool consertado = false;
        const auto conserto = qScopeGuard([&] {
            if (!consertado)
                c.conserta();
        });
        mensagens.clear();
        QTest::mouseClick(Controle<TBotao>("btnVoltMin"), Qt::LeftButton);
        EsperaLeitura();
        ASSERT_EQ(mensagens.size(), 1) << "one report of the error";
        EXPECT_FALSE(mensagens.first().isEmpty());
        EXPECT_EQ(Resumo()->Serie(), serie.data()) << "the chart stays";
        ExpectValores(Resumo(), Esperado(0, 8, 18), "summary");
        ExpectValores(Detalhe(), Esperado(0, 8, 18), "detail");
        for (const char* rotulo : {"lblPeriodoMin", "lblPeriodoMax"})
            EXPECT_EQ(Texto(rotulo), Nome(0)) << rotulo;
        for (const char* edicao : {"cleGrafMin", "cleGrafMax"})
            EXPECT_EQ(Controle<TDataEdit>(edicao)->date(), HOJE)
                << "the day shown stays: " << edicao;
        EXPECT_FALSE(Controle<TBotao>("btnAvanMin")->isEnabled());

        c.conserta();
        consertado = true;
        QTest::mouseClick(Controle<TBotao>("btnVoltMin"), Qt::LeftButton);
        EsperaLeitura();
        EXPECT_EQ(mensagens.size(), 1) << "the next refresh works";
        ExpectValores(Resumo(), Esperado(-1, 8, 18), "summary after the repair");
        EXPECT_EQ(Texto("lblPeriodoMin"), Nome(-1));
        EXPECT_TRUE(Controle<TBotao>("btnAvanMin")->isEnabled());
    }
}

TEST_F(VendasHoraTeste, AtualizacaoSoltaOMotorEmbutidoAoTerminar)
{
    // The embedded engine keeps the file from a server started later for as
    // long as it stays attached.
    struct Caso {
        const char* nome;
        QString horaIni;
        bool falha;
    };
    for (const Caso& c : {Caso{"a refresh that works", QStringLiteral("8"), false},
                          Caso{"one that fails after the query", QStringLiteral("oito"), true}}) {
        SCOPED_TRACE(c.nome);
        config.setHoraIni(c.horaIni);
        mensagens.clear();
        AtualizarPeloLaco(*gadget);
        EXPECT_EQ(mensagens.size(), c.falha ? 1 : 0);
        EXPECT_FALSE(conexao.Conectado());
    }
}

TEST_F(VendasHoraTeste, CadaAtualizacaoTrocaAsSeriesSemAcumular)
{
    // Old drawings go to the event loop to be deleted, the layout waits for it.
    const auto AteOFimDoLaco = [this] {
        EsperaLeitura();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    Inicia();
    AteOFimDoLaco();
    const QPointer<QLineSeries> primeira = Resumo()->Serie();
    const QPointer<QLineSeries> primeiraMax = Detalhe()->Serie();
    const qsizetype objetos = Controle<TRetangulo>("rtgGadget")->findChildren<QObject*>().size();
    const qsizetype itens = Resumo()->scene()->items().size();
    for (int i = 0; i < 20; ++i)
        Inicia();
    AteOFimDoLaco();
    EXPECT_TRUE(primeira.isNull());
    EXPECT_TRUE(primeiraMax.isNull());
    for (TGraficoVendas* grafico : {Resumo(), Detalhe()})
        EXPECT_EQ(grafico->chart()->series().size(), 2) << "the day and its reference";
    EXPECT_EQ(Controle<TRetangulo>("rtgGadget")->findChildren<QObject*>().size(), objetos);
    EXPECT_EQ(Resumo()->scene()->items().size(), itens);
}

TEST_F(VendasHoraTeste, InicioAutomaticoQueFalhaNaoImpedeOGadget)
{
    // Folders under a plain file can be made by nobody, not even root.
    QTemporaryDir outra;
    QFile arquivo(outra.filePath(QStringLiteral("arquivo")));
    ASSERT_TRUE(arquivo.open(QIODevice::WriteOnly));
    arquivo.close();
    const QByteArray home = qgetenv("XDG_CONFIG_HOME");
    const QByteArray dirs = qgetenv("XDG_CONFIG_DIRS");
    qputenv("XDG_CONFIG_HOME", (arquivo.fileName() + QStringLiteral("/home")).toLocal8Bit());
    qputenv("XDG_CONFIG_DIRS", (arquivo.fileName() + QStringLiteral("/dirs")).toLocal8Bit());
    const auto volta = qScopeGuard([&] {
        qputenv("XDG_CONFIG_HOME", home);
        qputenv("XDG_CONFIG_DIRS", dirs);
    });
    mensagens.clear();
    Constroi();
    ASSERT_EQ(mensagens.size(), 1) << "the failure is shown once";
    EXPECT_FALSE(mensagens.first().isEmpty());
    ASSERT_NE(Controle<TDataEdit>("cleGrafMax"), nullptr) << "construction went on";
    Inicia();
    ExpectValores(Resumo(), Esperado(0, 8, 18), "summary");
    QTest::mouseClick(Controle<TBotao>("btnVoltMin"), Qt::LeftButton);
    EsperaLeitura();
    EXPECT_EQ(Texto("lblPeriodoMin"), Nome(-1));
}

} // namespace

namespace {

// Today at 10:30: the hour 10 runs; its reference counts up to then.
class IndicadoresNaVista : public VendasHoraTeste {
protected:
    void SetUp() override
    {
        VendasHoraTeste::SetUp();
        plataforma::Ganchos().agora = [] { return QDateTime(HOJE, QTime(10, 30)); };
    }

    static QList<double> Pontos(const QLineSeries* serie)
    {
        QList<double> valores;
        for (const QPointF& ponto : serie->points())
            valores << ponto.y();
        return valores;
    }
};

TEST_F(IndicadoresNaVista, ReferenciaTotaisEMetaConformeAConfiguracao)
{
    const QList<double> semana = {100, 0, 40, 0, 200, 0, 0, 0, 0, 0, 0};
    const QList<double> media4 = {40, 5, 10, 0, 50, 0, 0, 0, 0, 0, 0};
    const QString totais = QStringLiteral("Total R$ 485,66 · 5 vendas · ticket R$ 97,13");
    struct Caso {
        const char* nome;
        const char* comparacao;
        const char* meta;
        std::optional<QList<double>> referencia;
        QString totais;
        QString meta_;
        std::optional<double> fracao;
    };
    const Caso casos[] = {
        // So far: 100 a week before, (100 + 60 + 20) / 4 = 45 in the mean.
        {"default", "", "", semana, totais + QStringLiteral(" · +386% sem. passada"), {}, {}},
        {"week", "1", "500", semana, totais + QStringLiteral(" · +386% sem. passada"),
         QStringLiteral("97% da meta"), 485.66 / 500},
        {"mean", "4", "1.000,00", media4, totais + QStringLiteral(" · +979% média 4 sem."),
         QStringLiteral("48% da meta"), 485.66 / 1000},
        {"none", "0", "300", std::nullopt, totais, QStringLiteral("161% da meta"), 485.66 / 300},
        {"unreadable values",
         "semana",
         "muito",
         semana,
         totais + QStringLiteral(" · +386% sem. passada"),
         {},
         {}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        config.setComparacao(QString::fromLatin1(c.comparacao));
        config.setMetaDia(QString::fromUtf8(c.meta));
        Inicia();
        for (TGraficoVendas* grafico : {Resumo(), Detalhe()}) {
            const std::string nome = grafico->objectName().toStdString();
            ExpectValores(grafico, Esperado(0, 8, 18), nome);
            if (c.referencia) {
                ASSERT_NE(grafico->Referencia(), nullptr) << nome;
                EXPECT_EQ(Pontos(grafico->Referencia()), *c.referencia) << nome;
                EXPECT_EQ(grafico->Referencia()->pen().style(), Qt::DashLine) << nome;
            } else {
                EXPECT_EQ(grafico->Referencia(), nullptr) << nome;
            }
            EXPECT_EQ(grafico->PontoAberto(), 2) << nome << ": 10h still runs";
            EXPECT_EQ(grafico->Dicas().size(), 11) << nome;
        }
        EXPECT_EQ(Texto("lblTotaisMax").toStdString(), c.totais.toStdString());
        EXPECT_EQ(Resumo()->Destaque(), QStringLiteral("R$ 485,66"));
        EXPECT_EQ(Resumo()->FracaoDestaque(), std::nullopt);
        EXPECT_EQ(Detalhe()->Destaque(), c.meta_);
        EXPECT_EQ(Detalhe()->FracaoDestaque(), c.fracao);
    }

    // Yesterday is over: every point solid, the reference whole.
    config.setComparacao(QString());
    QTest::mouseClick(Controle<TBotao>("btnVoltMin"), Qt::LeftButton);
    EsperaLeitura();
    for (TGraficoVendas* grafico : {Resumo(), Detalhe()})
        EXPECT_EQ(grafico->PontoAberto(), std::nullopt) << grafico->objectName().toStdString();
    EXPECT_EQ(Texto("lblTotaisMax").toStdString(),
              "Total R$ 113,42 · 3 vendas · ticket R$ 37,81 · sem. passada R$ 0,00");
    EXPECT_TRUE(mensagens.isEmpty()) << mensagens.join(u'|').toStdString();
}

TEST_F(IndicadoresNaVista, TotaisDeUmaGrandeLojaCabemNaLinha)
{
    Inicia();
    auto* totais = Controle<TRotuloCortado>("lblTotaisMax");
    ASSERT_NE(totais, nullptr);
    EXPECT_EQ(totais->font().pixelSize(), 10);
    Controle<TDataEdit>("cleGrafMax")->setDate(HOJE.addDays(3));
    EsperaLeitura();
    EXPECT_EQ(totais->text().toStdString(),
              "Total R$ 98.765.432.109,87 · 1 venda · ticket R$ 98.765.432.109,87 · sem. "
              "passada R$ 0,00");
    EXPECT_LT(totais->font().pixelSize(), 10);
    EXPECT_GE(totais->font().pixelSize(), 8);
    EXPECT_EQ(totais->TextoVisivel(), totais->text()) << "smaller, not cut";
    QTest::mouseClick(Controle<TBotao>("btnVoltMax"), Qt::LeftButton);
    EsperaLeitura();
    EXPECT_EQ(totais->font().pixelSize(), 10) << "a shorter line, the usual size";
}

TEST_F(IndicadoresNaVista, DicaDaHoraSobreOPontoEmAmbasAsVistas)
{
    Inicia();
    const struct {
        int ponto;
        const char* dica;
    } casos[] = {
        {0, "08h\nValor: R$ 120,10\nVendas: 2 · ticket R$ 60,05\nSemana passada: R$ 100,00 "
            "(+20%)"},
        {2, "10h (em andamento)\nValor: R$ 0,00\nVendas: 0\nSemana passada até 10:30: R$ 0,00"},
        {4, "12h (ainda não começou)\nValor: R$ 300,00\nVendas: 1 · ticket R$ 300,00\n"
            "Semana passada: R$ 200,00"},
    };
    // A tooltip hidden goes away later; gone, it takes the next one along.
    const auto semDica = [] {
        QToolTip::hideText();
        EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    for (TGraficoVendas* grafico : {Resumo(), Detalhe()}) {
        if (grafico == Detalhe())
            gadget->RMaximizarClick(gadget);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(grafico->window()));
        for (const auto& c : casos) {
            // Halfway up the plot, in the point's hour column.
            const QRectF area = grafico->chart()->plotArea();
            const double largura = area.width() / grafico->Serie()->count();
            const QPoint onde = grafico->mapFromScene(grafico->chart()->mapToScene(
                QPointF(area.left() + (c.ponto + 0.3) * largura, area.center().y())));
            semDica();
            QHelpEvent dica(QEvent::ToolTip, onde, grafico->viewport()->mapToGlobal(onde));
            QCoreApplication::sendEvent(grafico->viewport(), &dica);
            EXPECT_TRUE(QToolTip::isVisible()) << grafico->objectName().toStdString();
            EXPECT_EQ(QToolTip::text().toStdString(), c.dica)
                << grafico->objectName().toStdString();
        }
        // Off the plot, none.
        semDica();
        QHelpEvent fora(QEvent::ToolTip, QPoint(2, 2),
                        grafico->viewport()->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(grafico->viewport(), &fora);
        EXPECT_FALSE(QToolTip::isVisible()) << grafico->objectName().toStdString();
    }
    EXPECT_TRUE(host.window()->testAttribute(Qt::WA_AlwaysShowToolTips))
        << "tooltips on a window the user never clicked";
}

} // namespace
