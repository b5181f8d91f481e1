// The gadget's right-click menu, its tray menu and the branch list of its
// branch label, on the real gadget over a retail database.

#include "config/fila_gravacao.h"
#include "config_dialog/frm_configuracao.h"
#include "data/fila_banco.h"
#include "frame/about.h"
#include "frame/menu_escuro.h"
#include "platform/rotinas_desktop.h"
#include "sales_per_hour/exportar_csv.h"
#include "tests/support/filial_latina.h"
#include "tests/support/gadget_vendas_hora.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTimer>

namespace {

// The day before HOJE: sales at 10h (branch 01), 13h (02) and 18h (01).
const QDate ONTEM = HOJE.addDays(-1);

const QString TABELA_ONTEM = QStringLiteral("Hora\tValor\tVendas\tTicket\n"
                                            "08h\t0,00\t0\t\n"
                                            "09h\t0,00\t0\t\n"
                                            "10h\t70,00\t1\t70,00\n"
                                            "11h\t0,00\t0\t\n"
                                            "12h\t0,00\t0\t\n"
                                            "13h\t42,42\t1\t42,42\n"
                                            "14h\t0,00\t0\t\n"
                                            "15h\t0,00\t0\t\n"
                                            "16h\t0,00\t0\t\n"
                                            "17h\t0,00\t0\t\n"
                                            "18h\t1,00\t1\t1,00\n"
                                            "Total\t113,42\t3\t37,81\n");

QStringList Textos(const QMenu* menu)
{
    QStringList textos;
    for (const QAction* acao : menu->actions())
        textos << QString(acao->text()).remove(u'&');
    return textos;
}

QAction* Acao(const QMenu* menu, const QString& texto)
{
    for (QAction* acao : menu->actions())
        if (QString(acao->text()).remove(u'&') == texto)
            return acao;
    return nullptr;
}

// The cells of each row of an HTML table, tags dropped, entities decoded.
QList<QStringList> CelulasHtml(const QString& html)
{
    QList<QStringList> linhas;
    static const QRegularExpression linha(QStringLiteral("<tr>(.*?)</tr>"),
                                          QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression celula(QStringLiteral("<t[hd][^>]*>(.*?)</t[hd]>"));
    for (const auto& l : linha.globalMatch(html)) {
        QStringList celulas;
        for (const auto& c : celula.globalMatch(l.captured(1)))
            celulas << c.captured(1);
        linhas << celulas;
    }
    return linhas;
}

QList<QStringList> CelulasTexto(const QString& texto)
{
    QList<QStringList> linhas;
    for (const QString& linha : texto.split(u'\n', Qt::SkipEmptyParts))
        linhas << linha.split(u'\t');
    return linhas;
}

// What the save dialog was asked, and the answer it gives.
struct DialogoFalso {
    QString resposta;
    QStringList titulos;
    QStringList sugeridos;
    QStringList filtros;

    void Instalar()
    {
        plataforma::Ganchos().arquivoParaSalvar =
            [this](const QString& titulo, const QString& sugerido, const QString& filtro) {
                titulos << titulo;
                sugeridos << sugerido;
                filtros << filtro;
                return resposta;
            };
    }
};

class MenuVendasHora : public VendasHoraTeste {
protected:
    void SetUp() override
    {
        VendasHoraTeste::SetUp();
        dialogo.Instalar();
        QGuiApplication::clipboard()->clear();
    }

    void TearDown() override
    {
        if (QWidget* aberto = QApplication::activePopupWidget())
            aberto->close();
        VendasHoraTeste::TearDown();
    }

    void MostraOntem()
    {
        Inicia();
        QTest::mouseClick(Controle<QPushButton>("btnVoltMin"), Qt::LeftButton);
        EsperaLeitura();
        ASSERT_EQ(Controle<TDataEdit>("cleGrafMin")->date(), ONTEM);
    }

    // A right click on the control, as the window system reports it.
    QMenu* AbreMenu(QWidget* controle)
    {
        const QPoint local(controle->width() / 2, controle->height() / 2);
        QContextMenuEvent evento(QContextMenuEvent::Mouse, local, controle->mapToGlobal(local));
        QApplication::sendEvent(controle, &evento);
        return qobject_cast<QMenu*>(QApplication::activePopupWidget());
    }

    QWidget* ViewportResumo() const { return Resumo()->viewport(); }

    // Triggers the entry, as a click on it does, and lets its queued work run.
    void Escolhe(QMenu* menu, const QString& texto)
    {
        QAction* acao = Acao(menu, texto);
        ASSERT_NE(acao, nullptr) << texto.toStdString();
        menu->hide();
        acao->trigger();
        QCoreApplication::processEvents();
    }

    DialogoFalso dialogo;
    QTemporaryDir saida;
};

TEST_F(MenuVendasHora, AbreEmCadaVistaComOsItensEFechaComEscape)
{
    MostraOntem();
    const QStringList itens = {
        "Copiar tabela", "Salvar imagem…", "Exportar CSV…", "", "Configurar", "Sobre", "",
        "Fechar"};
    struct Caso {
        const char* nome;
        bool detalhe;
        const char* controle;
    };
    const Caso casos[] = {
        {"summary chart", false, "ChGraficoMin"}, {"summary weekday", false, "lblPeriodoMin"},
        {"summary view", false, "rtgResumo"},     {"detail chart", true, "ChGraficoMax"},
        {"detail totals", true, "lblTotaisMax"},  {"detail view", true, "rtgDetalhe"},
    };
    for (const Caso& c : casos) {
        if (c.detalhe)
            QTest::mouseClick(Controle<QWidget>("rtgMax"), Qt::LeftButton);
        QWidget* controle = Controle<QWidget>(c.controle);
        if (auto* grafico = qobject_cast<QGraphicsView*>(controle))
            controle = grafico->viewport();
        QMenu* menu = AbreMenu(controle);
        ASSERT_NE(menu, nullptr) << c.nome;
        EXPECT_NE(qobject_cast<TMenuEscuro*>(menu), nullptr) << c.nome;
        EXPECT_EQ(Textos(menu), itens) << c.nome;
        for (const QAction* acao : menu->actions())
            EXPECT_TRUE(acao->isEnabled()) << c.nome << " " << acao->text().toStdString();
        QTest::keyClick(menu, Qt::Key_Escape);
        EXPECT_FALSE(menu->isVisible()) << c.nome;
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << c.nome;
    }
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
    EXPECT_TRUE(dialogo.titulos.isEmpty());
    EXPECT_TRUE(mensagens.isEmpty()) << mensagens.join(u'|').toStdString();
}

// Before any day was read, nothing can be copied or exported; the picture
// of what shows can be saved.
TEST_F(MenuVendasHora, SemDiaLidoSoAImagem)
{
    QMenu* menu = AbreMenu(ViewportResumo());
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(Acao(menu, "Copiar tabela")->isEnabled());
    EXPECT_TRUE(Acao(menu, "Salvar imagem…")->isEnabled());
    EXPECT_FALSE(Acao(menu, "Exportar CSV…")->isEnabled());
    EXPECT_TRUE(Acao(menu, "Configurar")->isEnabled());
    menu->close();
}

// Arrows and Enter, as a user without a mouse would: the first entry copies.
TEST_F(MenuVendasHora, CopiarTabelaPeloTecladoPoeTextoEHtml)
{
    MostraOntem();
    QMenu* menu = AbreMenu(ViewportResumo());
    ASSERT_NE(menu, nullptr);
    QTest::keyClick(menu, Qt::Key_Down);
    EXPECT_EQ(QString(menu->activeAction()->text()).remove(u'&'), QStringLiteral("Copiar tabela"));
    QTest::keyClick(menu, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_FALSE(menu->isVisible());

    const QMimeData* copiado = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(copiado, nullptr);
    ASSERT_TRUE(copiado->hasText());
    ASSERT_TRUE(copiado->hasHtml());
    EXPECT_EQ(copiado->text(), TABELA_ONTEM);
    EXPECT_TRUE(copiado->html().startsWith(QStringLiteral("<table")))
        << copiado->html().toStdString();
    EXPECT_EQ(CelulasHtml(copiado->html()), CelulasTexto(TABELA_ONTEM));
    EXPECT_TRUE(mensagens.isEmpty()) << mensagens.join(u'|').toStdString();
}

// The picture of the view clicked, in device pixels: the view's size times
// the scale the run asks of Qt (QT_SCALE_FACTOR, which the suite sets to 2
// in a second run).
TEST_F(MenuVendasHora, SalvarImagemDaVistaNaEscalaDaTela)
{
    const double escala = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                              ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                              : 1.0;
    MostraOntem();
    struct Caso {
        const char* nome;
        bool detalhe;
        const char* vista;
        const char* grafico;
    };
    const Caso casos[] = {
        {"summary", false, "rtgResumo", "ChGraficoMin"},
        {"detail", true, "rtgDetalhe", "ChGraficoMax"},
    };
    for (const Caso& c : casos) {
        if (c.detalhe)
            QTest::mouseClick(Controle<QWidget>("rtgMax"), Qt::LeftButton);
        const QString arquivo = saida.filePath(QLatin1String(c.nome) + QStringLiteral(".png"));
        dialogo.resposta = arquivo;
        QMenu* menu = AbreMenu(Controle<QGraphicsView>(c.grafico)->viewport());
        ASSERT_NE(menu, nullptr) << c.nome;
        Escolhe(menu, QStringLiteral("Salvar imagem…"));

        QImage imagem;
        ASSERT_TRUE(imagem.load(arquivo, "PNG")) << c.nome;
        const QSize vista = Controle<QWidget>(c.vista)->size();
        EXPECT_EQ(imagem.size(), (QSizeF(vista) * escala).toSize()) << c.nome;
        // Rounded corners see-through, the panel itself opaque, and a chart
        // drawn on it (more than the background's few shades).
        EXPECT_EQ(qAlpha(imagem.pixel(0, 0)), 0) << c.nome;
        EXPECT_EQ(qAlpha(imagem.pixel(imagem.width() / 2, imagem.height() / 2)), 255) << c.nome;
        QSet<QRgb> cores;
        for (int y = 0; y < imagem.height(); y += 2)
            for (int x = 0; x < imagem.width(); x += 2)
                cores.insert(imagem.pixel(x, y));
        EXPECT_GT(cores.size(), 50) << c.nome;
    }
    EXPECT_EQ(dialogo.titulos, QStringList({"Salvar imagem", "Salvar imagem"}));
    EXPECT_EQ(dialogo.filtros.value(0), QStringLiteral("Imagem PNG (*.png)"));
    EXPECT_TRUE(mensagens.isEmpty()) << mensagens.join(u'|').toStdString();
}

TEST_F(MenuVendasHora, ArquivosSugeridosNasPastasDoUsuarioComODiaEAFilial)
{
    const auto pasta = [](QStandardPaths::StandardLocation tipo) {
        const QString local = QStandardPaths::writableLocation(tipo);
        return QDir(local).exists() ? local : QDir::homePath();
    };
    struct Caso {
        const char* empresa;
        const char* item;
        QStandardPaths::StandardLocation pasta;
        const char* nome;
    };
    const Caso casos[] = {
        {"", "Salvar imagem…", QStandardPaths::PicturesLocation, "vendas-por-hora-2024-03-14.png"},
        {"", "Exportar CSV…", QStandardPaths::DocumentsLocation, "vendas-por-hora-2024-03-14.csv"},
        {"02", "Salvar imagem…", QStandardPaths::PicturesLocation,
         "vendas-por-hora-2024-03-14-filial-02.png"},
        {"02", "Exportar CSV…", QStandardPaths::DocumentsLocation,
         "vendas-por-hora-2024-03-14-filial-02.csv"},
    };
    for (const Caso& c : casos) {
        config.setEmpresa(QLatin1String(c.empresa));
        MostraOntem();
        dialogo.sugeridos.clear();
        dialogo.resposta.clear(); // cancelled: nothing is written
        QMenu* menu = AbreMenu(ViewportResumo());
        ASSERT_NE(menu, nullptr) << c.nome;
        Escolhe(menu, QString::fromUtf8(c.item));
        EXPECT_EQ(dialogo.sugeridos, QStringList{QDir(pasta(c.pasta)).filePath(c.nome)});
        Constroi();
    }
    EXPECT_TRUE(QDir(saida.path()).isEmpty());
    EXPECT_TRUE(mensagens.isEmpty()) << mensagens.join(u'|').toStdString();
}

// The file holds what vendas-por-hora-csv --detalhado prints for the day on
// view, byte for byte: today's figures with their comparison, and a day
// before.
TEST_F(MenuVendasHora, ExportarCsvTemOsBytesDoComando)
{
    for (const QDate& dia : {HOJE, ONTEM}) {
        Constroi();
        Inicia();
        if (dia == ONTEM)
            MostraOntem();
        const QString arquivo = saida.filePath(dia.toString(Qt::ISODate) + QStringLiteral(".csv"));
        dialogo.resposta = arquivo;
        QMenu* menu = AbreMenu(ViewportResumo());
        ASSERT_NE(menu, nullptr);
        Escolhe(menu, QStringLiteral("Exportar CSV…"));

        QByteArray impresso;
        QBuffer buffer(&impresso);
        buffer.open(QIODevice::WriteOnly);
        QTextStream saidaComando(&buffer);
        QString erros;
        QTextStream errosComando(&erros);
        ASSERT_EQ(ExecutarVendasPorHoraCsv({"--dia", dia.toString("dd/MM/yyyy"), "--detalhado"},
                                           saidaComando, errosComando),
                  0)
            << erros.toStdString();
        QFile exportado(arquivo);
        ASSERT_TRUE(exportado.open(QIODevice::ReadOnly)) << arquivo.toStdString();
        EXPECT_EQ(exportado.readAll(), impresso) << dia.toString().toStdString();
        EXPECT_TRUE(impresso.contains("\nTOTAL;")) << impresso.toStdString();
    }
    EXPECT_EQ(dialogo.titulos.value(0), QStringLiteral("Exportar CSV"));
    EXPECT_EQ(dialogo.filtros.value(0), QStringLiteral("Planilha CSV (*.csv)"));
    EXPECT_TRUE(mensagens.isEmpty()) << mensagens.join(u'|').toStdString();
}

// A name typed without its extension gets it; a folder that cannot be
// written says why and leaves nothing behind.
TEST_F(MenuVendasHora, ArquivoSemExtensaoOuQueNaoPodeSerGravado)
{
    MostraOntem();
    dialogo.resposta = saida.filePath(QStringLiteral("vendas"));
    Escolhe(AbreMenu(ViewportResumo()), QStringLiteral("Exportar CSV…"));
    EXPECT_TRUE(QFile::exists(saida.filePath(QStringLiteral("vendas.csv"))));
    EXPECT_FALSE(QFile::exists(saida.filePath(QStringLiteral("vendas"))));
    EXPECT_TRUE(mensagens.isEmpty()) << mensagens.join(u'|').toStdString();

    for (const char* item : {"Exportar CSV…", "Salvar imagem…"}) {
        mensagens.clear();
        dialogo.resposta = saida.filePath(QStringLiteral("nao-existe/dia.png"));
        Escolhe(AbreMenu(ViewportResumo()), QString::fromUtf8(item));
        ASSERT_EQ(mensagens.size(), 1) << item;
        EXPECT_TRUE(mensagens.first().contains(QStringLiteral("Não foi possível salvar o arquivo")))
            << mensagens.first().toStdString();
        EXPECT_FALSE(QDir(saida.filePath(QStringLiteral("nao-existe"))).exists());
    }
}

// "Fechar" of either menu does what the strip's close button does.
TEST_F(MenuVendasHora, FecharComoOBotaoDeFechar)
{
    struct Caso {
        const char* nome;
        std::function<void()> fechar;
    };
    const Caso casos[] = {
        {"close button",
         [this] { QTest::mouseClick(Controle<QWidget>("rtgFechar"), Qt::LeftButton); }},
        {"right-click menu", [this] { Escolhe(AbreMenu(ViewportResumo()), "Fechar"); }},
        {"tray menu",
         [this] {
             const auto* icone = host.findChild<QSystemTrayIcon*>();
             ASSERT_NE(icone, nullptr);
             Escolhe(icone->contextMenu(), "Fechar");
         }},
    };
    for (const Caso& c : casos) {
        QStringList desktop;
        plataforma::Ganchos().iniciarComWindows = [&](const QString& nome, bool adicionar) {
            desktop << QStringLiteral("%1 %2").arg(nome).arg(adicionar);
        };
        Constroi();
        config.setIniWindows(QStringLiteral("1"));
        gadget->IniciarGadget(gadget);
        EsperaLeitura();
        ASSERT_NE(host.findChild<QSystemTrayIcon*>(), nullptr) << c.nome;
        host.show();
        desktop.clear();
        c.fechar();
        TFilaGravacao::Programa().Aguardar();
        QCoreApplication::processEvents();
        EXPECT_EQ(desktop, QStringList{"Vendas por Hora 0"}) << c.nome;
        EXPECT_EQ(host.findChild<QSystemTrayIcon*>(), nullptr) << c.nome;
        EXPECT_EQ(config.IniWindows(), QStringLiteral("0")) << c.nome;
        EXPECT_FALSE(host.isVisible()) << c.nome;
    }
    EXPECT_TRUE(mensagens.isEmpty()) << mensagens.join(u'|').toStdString();
}

TEST_F(MenuVendasHora, MenuDaBandejaMostraEAbreOsDialogos)
{
    Inicia();
    const auto* icone = host.findChild<QSystemTrayIcon*>();
    ASSERT_NE(icone, nullptr);
    QMenu* menu = icone->contextMenu();
    ASSERT_NE(qobject_cast<TMenuEscuro*>(menu), nullptr);
    EXPECT_EQ(Textos(menu), QStringList({"Mostrar", "Configurar", "Sobre", "", "Fechar"}));

    host.showMinimized();
    QCoreApplication::processEvents();
    Escolhe(menu, QStringLiteral("Mostrar"));
    EXPECT_TRUE(host.isVisible());
    EXPECT_FALSE(host.isMinimized());

    // The about box is modal: closed from inside its loop once it shows.
    bool aberta = false;
    QTimer vigia;
    QObject::connect(&vigia, &QTimer::timeout, [&] {
        if (frmAbout && frmAbout->isVisible()) {
            aberta = true;
            frmAbout->close();
        }
    });
    vigia.start(20);
    Escolhe(menu, QStringLiteral("Sobre"));
    EXPECT_TRUE(aberta);
    EXPECT_TRUE(mensagens.isEmpty()) << mensagens.join(u'|').toStdString();
}

// The branch list of the branch label, with a branch whose code the shop's
// system stored in Windows-1252.
class ListaFiliais : public MenuVendasHora {
protected:
    static void SetUpTestSuite()
    {
        VendasHoraTeste::SetUpTestSuite();
        AdicionarFilialLatina(*banco, HOJE);
        banco->addFilial(QStringLiteral("09"), QStringLiteral("Loja Fechada"), QStringLiteral("N"));
    }

    // A file as the family leaves it: sibling sections around the gadget's,
    // a comment, a byte of Windows-1252 in a sibling's value, CRLF lines.
    void SetUp() override
    {
        MenuVendasHora::SetUp();
        arquivo = saida.filePath(QStringLiteral("ConfigGadGet.Ini"));
        qputenv("VANTREL_GADGETS_INI", arquivo.toLocal8Bit());
        // The offscreen platform has no pointer: it stands where the clicks are.
        plataforma::Ganchos().posicaoCursor = [this] { return ponteiro; };
    }

    void EscreveIni(const QByteArray& empresa)
    {
        EscreverIniBanco(arquivo, banco->acesso());
        QFile f(arquivo);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("; Vozirav\r\n[GadGetOutro]\r\nNome=Caf\xE9\r\nEmpresa=01\r\n\r\n"
                "[GadGetVendHora]\r\nTransparencia=100\r\nSempreVisivel=0\r\nAtualizaDados=5\r\n"
                "HoraIni=8\r\nHoraFim=18\r\nPedidosImportados=0\r\nPosX=300\r\nPosY=200\r\nEmpresa="
                + empresa + "\r\nChaveDeOutraVersao=x\r\n\r\n[Ultima]\r\nA=1\r\n");
        f.close();
        config.CarregarIni();
        config.InstanciaVariaveis(SIGLA_VENDAS_HORA);
        // As the program's start-up does: the gadget's section written back.
        ASSERT_TRUE(TFilaGravacao::Programa().SalvarEsperando(config));
        // Placed where the file says: the click's release, which saves the
        // position as every release on the gadget does, writes it unchanged.
        Constroi();
    }

    QByteArray Ini() const
    {
        QFile f(arquivo);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Clicks the label's text, through the window as the pointer does (the
    // chart's box reaches over the label), and waits for the branches.
    QMenu* AbreLista(const char* rotulo)
    {
        const QLabel* r = Controle<QLabel>(rotulo);
        QCoreApplication::processEvents(); // the window's shape follows the view
        const QPoint centro = r->mapTo(&host, r->rect().center());
        ponteiro = host.mapToGlobal(centro);
        QTest::mouseClick(host.windowHandle(), Qt::LeftButton, {}, centro);
        auto* lista = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!lista)
            return nullptr;
        EXPECT_TRUE(QTest::qWaitFor([&] { return Acao(lista, TODAS_AS_FILIAIS); }, 60000));
        return lista;
    }

    QString arquivo;
    QPoint ponteiro;
};

TEST_F(ListaFiliais, EscolherSalvaAEmpresaComoODialogoEMantemOResto)
{
    struct Caso {
        const char* nome;
        QByteArray antes;
        const char* rotulo;
        QString marcada; // the entry of the branch before
        QString entrada;
        QByteArray gravada;
        QString nomeFilial;
        int hora; // an hour whose value tells the branches apart
        double valor;
    };
    const Caso casos[] = {
        {"another branch", "01", "lblNomeFilialMin", "01 - Loja Centro", "02 - Loja Dois", "02",
         "Loja Dois", 9, 55.55},
        {"a code in Windows-1252", "", "lblNomeFilialMax", "Todas as Filiais", "É1 - Loja Estação",
         CODIGO_FILIAL_LATINA, "Loja Estação", 12, 40},
        {"all of them", "02", "lblNomeFilialMin", "02 - Loja Dois", "Todas as Filiais", "",
         "Todas as Filiais", 12, 340},
    };
    for (const Caso& c : casos) {
        EscreveIni(c.antes);
        const QByteArray antes = Ini();
        Inicia();
        ASSERT_TRUE(TFilaBanco::Programa().Executar([this] { conexao.ConectarBanco(); }));
        FrmConfiguracao = new TFrmConfiguracao(&host, config, conexao);
        if (QByteArrayView(c.rotulo).endsWith("Max"))
            QTest::mouseClick(Controle<QWidget>("rtgMax"), Qt::LeftButton);

        QMenu* lista = AbreLista(c.rotulo);
        ASSERT_NE(lista, nullptr) << c.nome;
        EXPECT_NE(qobject_cast<TMenuEscuro*>(lista), nullptr);
        EXPECT_EQ(Textos(lista), QStringList({"Todas as Filiais", "01 - Loja Centro",
                                              "02 - Loja Dois", "É1 - Loja Estação"}))
            << c.nome;
        QStringList marcadas;
        for (const QAction* acao : lista->actions())
            if (acao->isChecked())
                marcadas << acao->text();
        EXPECT_EQ(marcadas, QStringList{c.marcada}) << c.nome;
        Escolhe(lista, c.entrada);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return Controle<QLabel>(c.rotulo)->text() == c.nomeFilial; }, 60000))
            << c.nome << ": " << Controle<QLabel>(c.rotulo)->text().toStdString();
        EsperaLeitura();

        QByteArray esperado = antes;
        esperado.replace("\r\nEmpresa=" + c.antes + "\r\nChave",
                         "\r\nEmpresa=" + c.gravada + "\r\nChave");
        EXPECT_EQ(Ini(), esperado) << c.nome;
        const QList<double> valores = Valores(Resumo());
        ASSERT_EQ(valores.size(), 11) << c.nome;
        EXPECT_NEAR(valores[c.hora - 8], c.valor, 1e-9) << c.nome;
        // The dialog, made before, shows it: its next "Salvar" keeps it.
        EXPECT_EQ(FrmConfiguracao->ppbEmpresas->currentText(), c.entrada) << c.nome;
        delete FrmConfiguracao.data();
    }
    EXPECT_TRUE(mensagens.isEmpty()) << mensagens.join(u'|').toStdString();
}

// Escape, or a click elsewhere, closes the list and changes nothing.
TEST_F(ListaFiliais, FecharSemEscolherNaoMudaNada)
{
    EscreveIni("01");
    const QByteArray antes = Ini();
    Inicia();
    const QLineSeries* serie = Resumo()->Serie();
    ASSERT_NE(serie, nullptr);

    QMenu* lista = AbreLista("lblNomeFilialMin");
    ASSERT_NE(lista, nullptr);
    QTest::keyClick(lista, Qt::Key_Escape);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    lista = AbreLista("lblNomeFilialMin");
    ASSERT_NE(lista, nullptr);
    ponteiro = lista->geometry().bottomRight() + QPoint(20, 20);
    const QPoint fora = host.mapFromGlobal(ponteiro);
    QTest::mouseClick(host.windowHandle(), Qt::LeftButton, {}, fora);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QApplication::activePopupWidget(); }, 5000));

    QCoreApplication::processEvents();
    TFilaGravacao::Programa().Aguardar();
    QCoreApplication::processEvents();
    EXPECT_FALSE(gadget->Lendo());
    EXPECT_EQ(Resumo()->Serie(), serie) << "no reading ran";
    EXPECT_EQ(config.Empresa(), QStringLiteral("01"));
    EXPECT_EQ(Texto("lblNomeFilialMin"), QStringLiteral("Loja Centro"));
    EXPECT_EQ(Ini(), antes);
    EXPECT_TRUE(mensagens.isEmpty()) << mensagens.join(u'|').toStdString();
}

} // namespace
