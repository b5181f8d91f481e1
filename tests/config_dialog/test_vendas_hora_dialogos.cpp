// The sales gadget's configure and about buttons, over a retail database with
// an imported order.

#include "config/arquivo_ini.h"
#include "config/config.h"
#include "config_dialog/frm_configuracao.h"
#include "data/conexao.h"
#include "frame/about.h"
#include "platform/seams.h"
#include "sales_per_hour/grafico_vendas.h"
#include "sales_per_hour/vendas_hora.h"
#include "shell/estilos_host.h"
#include "tests/config_dialog/dialogo_teste.h"
#include "tests/fixtures/banco_varejo.h"
#include "tests/support/filial_latina.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QDate HOJE(2024, 3, 15);

class DialogosVendasHora : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        pasta = new QTemporaryDir;
        banco = new BancoVarejo(pasta->filePath(QStringLiteral("loja.fdb")));
        banco->addFilial(QStringLiteral("01"), QStringLiteral("Loja Centro"));
        banco->addFilial(QStringLiteral("02"), QStringLiteral("Loja Dois"));
        banco->addOperacao(1, QStringLiteral("S"), QStringLiteral("N"));
        Pedido normal;
        normal.dataPedido = HOJE;
        normal.hora = QStringLiteral("10:00");
        normal.totalPedido = 100;
        Pedido importado = normal;
        importado.hora = QStringLiteral("10:30");
        importado.totalPedido = 50;
        importado.codPedidoImportado = QStringLiteral("77");
        Pedido outraFilial = normal;
        outraFilial.codEmpresa = QStringLiteral("02");
        outraFilial.hora = QStringLiteral("11:00");
        outraFilial.totalPedido = 30;
        banco->addPedidos({normal, importado, outraFilial});
        AdicionarFilialLatina(*banco, HOJE);
    }

    static void TearDownTestSuite()
    {
        delete banco;
        delete pasta;
    }

    void SetUp() override
    {
        ini = arquivos.filePath(QStringLiteral("ConfigGadGet.Ini"));
        qputenv("VANTREL_GADGETS_INI", QFile::encodeName(ini));
        plataforma::Ganchos().hoje = [] { return HOJE; };
        plataforma::Ganchos().tamanhoTela = [] { return QSize(1200, 800); };
        plataforma::Ganchos().mensagem = [this](plataforma::TCaixa, const QString& texto) {
            mensagens << texto;
        };
        EscreverIniBanco(ini, banco->acesso(),
                         QStringLiteral("[GadGetVendHora]\r\nTransparencia=100\r\n"
                                        "SempreVisivel=0\r\nAtualizaDados=5\r\n"
                                        "PedidosImportados=0\r\nPosX=600\r\nPosY=50\r\n"));
        config.CarregarIni();
        config.InstanciaVariaveis(QStringLiteral("GVH"));
        const AcessoBanco& a = banco->acesso();
        ConfigurarConexao(conexao, a);

        host.setGeometry(0, 0, 1200, 800);
        AplicaEstilosHost(&host);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
        gadget = new TVendasHora(&host);
        gadget->SetConfig(&config);
        gadget->SetConexao(&conexao);
        gadget->PosicionaGadGet();
        gadget->IniciarGadget(gadget);
        EsperaLeitura();
    }

    // Lets the gadget's database reading end, with its result applied.
    void EsperaLeitura()
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !gadget->Lendo(); }, 60000))
            << "the reading never ended";
    }

    void TearDown() override { qunsetenv("VANTREL_GADGETS_INI"); }

    bool Configura(const std::function<void(TFrmConfiguracao&)>& acao)
    {
        return Enquanto<TFrmConfiguracao>(
            host, [this] { gadget->RConfClick(gadget); }, acao);
    }

    bool Sobre(const std::function<void(TfrmAbout&)>& acao)
    {
        return Enquanto<TfrmAbout>(
            host, [this] { gadget->RAboutClick(gadget); }, acao);
    }

    // The summary chart's value at the hour, the business hours being 8 to 18.
    double ValorAs(int hora) const
    {
        const auto* grafico = host.findChild<TGraficoVendas*>(QStringLiteral("ChGraficoMin"));
        return grafico->Serie()->at(hora - 8).y();
    }

    QString NoArquivo(const char* chave) const
    {
        return LerArquivoIni(ini).texto.Ler(QStringLiteral("GadGetVendHora"), QLatin1String(chave));
    }

    static inline QTemporaryDir* pasta = nullptr;
    static inline BancoVarejo* banco = nullptr;

    plataforma::TGanchosRestaurados ganchos;
    QTemporaryDir arquivos;
    QString ini;
    QStringList mensagens;
    TConfig config{QStringLiteral("GadGetVendHora")};
    TConexao conexao;
    QWidget host;
    QPointer<TVendasHora> gadget;
};

} // namespace

TEST_F(DialogosVendasHora, PedidosImportadosMudadosSozinhosContamLogoMasAindaNaoNoArquivo)
{
    ASSERT_DOUBLE_EQ(ValorAs(10), 100);
    EXPECT_TRUE(Configura([](TFrmConfiguracao& d) {
        d.chkConsideraPedidosImportados->setChecked(true);
        QTest::mouseClick(d.btnSalvarConf, Qt::LeftButton);
    }));
    EsperaLeitura();
    EXPECT_TRUE(mensagens.isEmpty()) << mensagens.join('\n').toStdString();
    EXPECT_DOUBLE_EQ(ValorAs(10), 150);
    EXPECT_EQ(NoArquivo("PedidosImportados"), QStringLiteral("0"));
}

TEST_F(DialogosVendasHora, SalvarUmaFilialMostraSeuNomeEVendas)
{
    EXPECT_TRUE(Configura([](TFrmConfiguracao& d) {
        d.ppbEmpresas->setCurrentIndex(d.ppbEmpresas->findText(QStringLiteral("02 - Loja Dois")));
        QTest::mouseClick(d.btnSalvarConf, Qt::LeftButton);
    }));
    EsperaLeitura();
    EXPECT_TRUE(mensagens.isEmpty()) << mensagens.join('\n').toStdString();
    EXPECT_EQ(NoArquivo("Empresa"), QStringLiteral("02"));
    EXPECT_EQ(host.findChild<QLabel*>(QStringLiteral("lblNomeFilialMin"))->text(),
              QStringLiteral("Loja Dois"));
    EXPECT_DOUBLE_EQ(ValorAs(10), 0);
    EXPECT_DOUBLE_EQ(ValorAs(11), 30);
}

// The file holds the branch code in UTF-8 (an INI saved as UTF-8), the
// database in Windows-1252: the code matches nothing, and the label says so.
// Choosing the branch in the dialog writes the database's own bytes.
TEST_F(DialogosVendasHora, FilialGravadaEmOutraCodificacaoSeConsertaAoSalvar)
{
    EscreverIniBanco(ini, banco->acesso(),
                     QStringLiteral("[GadGetVendHora]\r\nTransparencia=100\r\nSempreVisivel=0\r\n"
                                    "AtualizaDados=5\r\nPedidosImportados=0\r\nEmpresa=É1\r\n"));
    config.CarregarIni();
    ASSERT_EQ(config.Empresa(), QStringLiteral("É1"));
    gadget->IniciarGadget(gadget);
    EsperaLeitura();
    const auto rotulo = [this] {
        return host.findChild<QLabel*>(QStringLiteral("lblNomeFilialMin"))->text();
    };
    EXPECT_EQ(rotulo(), QStringLiteral("Filial É1 não encontrada"));
    EXPECT_DOUBLE_EQ(ValorAs(12), 0);

    EXPECT_TRUE(Configura([](TFrmConfiguracao& d) {
        EXPECT_EQ(d.ppbEmpresas->currentText(), QStringLiteral("É1 - Loja Estação"));
        QTest::mouseClick(d.btnSalvarConf, Qt::LeftButton);
    }));
    EsperaLeitura();
    EXPECT_TRUE(mensagens.isEmpty()) << mensagens.join('\n').toStdString();
    QFile arquivo(ini);
    ASSERT_TRUE(arquivo.open(QIODevice::ReadOnly));
    EXPECT_TRUE(arquivo.readAll().contains("\r\nEmpresa=" + CODIGO_FILIAL_LATINA + "\r\n"));
    EXPECT_EQ(rotulo(), QStringLiteral("Loja Estação"));
    EXPECT_DOUBLE_EQ(ValorAs(12), 40);
    EXPECT_DOUBLE_EQ(ValorAs(10), 0);
}

TEST_F(DialogosVendasHora, CadaDialogoEFeitoUmaVezEACaixaSobreFicaNoTopoDoGadget)
{
    const QString descricao = QStringLiteral("Esta gadget funciona como um termômetro que "
                                             "apresenta as vendas da sua empresa por unidade "
                                             "por hora.");
    QList<QDialog*> vistos;
    for (int vez = 0; vez < 2; ++vez) {
        EXPECT_TRUE(Configura([&](TFrmConfiguracao& d) {
            vistos << &d;
            // The host's style sheet does not put its own font on the controls.
            for (QWidget* controle : {static_cast<QWidget*>(d.ppbEmpresas),
                                      static_cast<QWidget*>(d.chkConsideraPedidosImportados),
                                      static_cast<QWidget*>(d.btnSalvarConf)})
                EXPECT_EQ(controle->font().pixelSize(), d.lblFilial->font().pixelSize());
        }));
        EXPECT_TRUE(Sobre([&](TfrmAbout& d) {
            vistos << &d;
            EXPECT_EQ(d.lblTitulo->text(), QStringLiteral("Vendas por Hora"));
            EXPECT_EQ(d.lblVersao->text(), QStringLiteral("21.08ru"));
            EXPECT_EQ(d.lblRelCons->text(),
                      QStringLiteral("Lotrapex - Relatório Totalização de Vendas"));
            EXPECT_EQ(d.txtDescricao->text(), descricao);
            // Summary view at 600 + 102, 287 wide: 702 - 46.5, even 656.
            EXPECT_EQ(d.pos(), QPoint(656, 50));
            EXPECT_EQ(d.focusWidget(), d.btnOk);
            // The host's blue label look stays out of the box.
            EXPECT_EQ(d.lblVersao->palette().color(d.lblVersao->foregroundRole()),
                      QColor(Qt::black));
            QTest::mouseClick(d.btnOk, Qt::LeftButton);
        }));
    }
    ASSERT_EQ(vistos.size(), 4);
    EXPECT_EQ(vistos[0], vistos[2]);
    EXPECT_EQ(vistos[1], vistos[3]);
    EXPECT_EQ(host.findChildren<TFrmConfiguracao*>().size(), 1);
    EXPECT_EQ(host.findChildren<TfrmAbout*>().size(), 1);
}
