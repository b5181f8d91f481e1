#include "dialogo_teste.h"

#include "base/erro.h"
#include "config_dialog/estilo_escuro.h"
#include "tests/support/falhas_sistema.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <sys/stat.h>

namespace {

QStringList Entradas(const QComboBox* lista)
{
    QStringList textos;
    for (int i = 0; i < lista->count(); ++i)
        textos << lista->itemText(i);
    return textos;
}

void Clica(QPushButton* botao)
{
    QTest::mouseClick(botao, Qt::LeftButton);
}

} // namespace

using Configuracao = DialogoTeste;

TEST_F(Configuracao, ListaTodasAsFiliaisDepoisAsAtivasComOsCodigosInteiros)
{
    EXPECT_TRUE(Configura([](TFrmConfiguracao& d) {
        EXPECT_EQ(Entradas(d.ppbEmpresas), QStringList({"Todas as Filiais", "01 - Loja Centro",
                                                        "003 - Loja Três", "AB - Loja Quatro"}));
        EXPECT_EQ(d.ppbEmpresas->currentIndex(), 0);
    }));
}

TEST_F(Configuracao, SemFilialAtivaListaSoTodasAsFiliais)
{
    BancoVarejo inativas(arquivos.filePath(QStringLiteral("inativas.fdb")));
    inativas.addFilial(QStringLiteral("01"), QStringLiteral("Loja Centro"), QStringLiteral("N"));
    Conecta(inativas);
    EXPECT_TRUE(Configura([](TFrmConfiguracao& d) {
        EXPECT_EQ(Entradas(d.ppbEmpresas), QStringList({"Todas as Filiais"}));
    }));
}

TEST_F(Configuracao, ControlesETextosFixos)
{
    EXPECT_TRUE(Configura([](TFrmConfiguracao& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Configurações"));
        EXPECT_EQ(d.size(), QSize(222, 299));
        EXPECT_TRUE(d.windowFlags().testFlag(Qt::FramelessWindowHint));
        EXPECT_EQ(Entradas(d.ppbOpacidade),
                  QStringList({"100%", "  80%", "  60%", "  40%", "  20%"}));
        ASSERT_EQ(d.TabControl1->count(), 2);
        EXPECT_EQ(d.TabControl1->tabText(0), QStringLiteral("Configurações"));
        EXPECT_EQ(d.TabControl1->tabText(1), QStringLiteral("Indicadores"));
        EXPECT_EQ(d.TabControl1->currentIndex(), 0);
        EXPECT_EQ(d.lblComparacao->text(), QStringLiteral("Comparar com"));
        EXPECT_EQ(Entradas(d.ppbComparacao),
                  QStringList({"Nada", "Semana passada", "Média de 4 semanas"}));
        EXPECT_EQ(d.lblMetaDia->text(), QStringLiteral("Meta do dia (R$)"));
        for (QSpinBox* hora : {d.SbHoraIni, d.SbHoraFim}) {
            EXPECT_EQ(hora->minimum(), 0);
            EXPECT_EQ(hora->maximum(), 23);
        }
        for (QPushButton* botao : {d.btnSalvarConf, d.BtnCancelarConf})
            EXPECT_FALSE(botao->autoDefault() || botao->isDefault()) << botao->text().toStdString();
    }));
}

TEST_F(Configuracao, EnterNaoApertaNenhumBotao)
{
    EXPECT_TRUE(Configura([this](TFrmConfiguracao& d) {
        d.ckbSempreVisivel->setChecked(true);
        for (QWidget* foco :
             {static_cast<QWidget*>(d.ppbOpacidade), static_cast<QWidget*>(d.btnSalvarConf)}) {
            foco->setFocus();
            QTest::keyClick(foco, Qt::Key_Return);
            EXPECT_TRUE(d.isVisible());
        }
        EXPECT_TRUE(gadget->inicios.isEmpty());
        EXPECT_EQ(config.SempreVisivel(), QStringLiteral("0"));
    }));
}

struct CasoGuardado {
    const char* nome;
    const char* guardado; // line of the gadget's section
    const char* chave;
    const char* mostrado; // what the dialog shows for it
    const char* salvo; // what "Salvar", untouched, stores
};

void PrintTo(const CasoGuardado& c, std::ostream* os)
{
    *os << c.nome;
}

class ValorGuardado : public DialogoTeste, public ::testing::WithParamInterface<CasoGuardado> {};

QString Mostrado(const TFrmConfiguracao& d, const QString& chave)
{
    if (chave == QLatin1String("Empresa"))
        return d.ppbEmpresas->currentText();
    if (chave == QLatin1String("Transparencia"))
        return d.ppbOpacidade->currentText();
    return d.ckbSempreVisivel->isChecked() ? QStringLiteral("checked")
                                           : QStringLiteral("unchecked");
}

TEST_P(ValorGuardado, MostraOValorEGuardaOQueMostra)
{
    const CasoGuardado& caso = GetParam();
    // The first line of a key is the one read.
    Guarda(QString::fromUtf8(caso.guardado)
           + QStringLiteral("\r\nTransparencia=100\r\nSempreVisivel=0\r\nAtualizaDados=5\r\n"));
    const QString chave = QString::fromLatin1(caso.chave);
    EXPECT_TRUE(Configura([&](TFrmConfiguracao& d) {
        EXPECT_EQ(Mostrado(d, chave), QString::fromUtf8(caso.mostrado));
        Clica(d.btnSalvarConf);
        EXPECT_FALSE(d.isVisible());
    }));
    EXPECT_TRUE(mensagens.isEmpty()) << mensagens.join('\n').toStdString();
    EXPECT_EQ(NoArquivo(caso.chave), QString::fromLatin1(caso.salvo));
    EXPECT_EQ(gadget->inicios, QList<QObject*>{gadget});
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ValorGuardado,
    ::testing::Values(
        CasoGuardado{"FilialInativa", "Empresa=02", "Empresa", "Todas as Filiais", ""},
        CasoGuardado{"FilialDesconhecida", "Empresa=99", "Empresa", "Todas as Filiais", ""},
        CasoGuardado{"ParteDeUmCodigo", "Empresa=0", "Empresa", "Todas as Filiais", ""},
        CasoGuardado{"CodigoEmOutraCaixa", "Empresa=ab", "Empresa", "Todas as Filiais", ""},
        CasoGuardado{"TodasAsFiliais", "Empresa=", "Empresa", "Todas as Filiais", ""},
        CasoGuardado{"FilialAtiva", "Empresa=01", "Empresa", "01 - Loja Centro", "01"},
        CasoGuardado{"CodigoDeTresCaracteres", "Empresa=003", "Empresa", "003 - Loja Três", "003"},
        CasoGuardado{"OpacidadeForaDaLista", "Transparencia=55", "Transparencia", "100%", "100"},
        CasoGuardado{"Opacidade60", "Transparencia=60", "Transparencia", "  60%", "60"},
        CasoGuardado{"Opacidade20ComZero", "Transparencia=020", "Transparencia", "  20%", "20"},
        CasoGuardado{"SempreVisivel2", "SempreVisivel=2", "SempreVisivel", "unchecked", "0"},
        CasoGuardado{"SempreVisivel1", "SempreVisivel=1", "SempreVisivel", "checked", "1"}),
    [](const auto& info) { return std::string(info.param.nome); });

// The rest of the file: a comment, another gadget's section with a key of
// the same name, an unknown key in ours; all of it stays byte for byte.
const QString OUTRAS = QStringLiteral("; mantido pelo painel\r\n"
                                      "[GadGetMetaVendas]\r\nMeta=150000\r\nComparacao=9\r\n");

struct CasoIndicadores {
    const char* nome;
    const char* linhas; // of the gadget's section, after the usual ones
    const char* comparacao; // shown
    const char* meta; // shown
    std::function<void(TFrmConfiguracao&)> muda;
    const char* depois; // the same lines after "Salvar"
};

void PrintTo(const CasoIndicadores& c, std::ostream* os)
{
    *os << c.nome;
}

class Indicadores : public DialogoTeste, public ::testing::WithParamInterface<CasoIndicadores> {};

TEST_P(Indicadores, MostraGuardaComAsOutrasChavesEMantemORestoDoArquivo)
{
    const CasoIndicadores& c = GetParam();
    const QString comum =
        QStringLiteral("Transparencia=100\r\nSempreVisivel=0\r\nAtualizaDados=5\r\n"
                       "PedidosImportados=0\r\nChaveDesconhecida = x \r\n");
    EscreverIniBanco(ini, banco->acesso(),
                     OUTRAS + QStringLiteral("[GadGetVendHora]\r\n") + comum
                         + QString::fromUtf8(c.linhas));
    config.CarregarIni();
    config.InstanciaVariaveis(QStringLiteral("GVH"));
    // As the start-up leaves it.
    config.SalvarIni();
    const QByteArray antes = Arquivo();

    EXPECT_TRUE(Configura([&](TFrmConfiguracao& d) {
        EXPECT_EQ(d.ppbComparacao->currentText(), QString::fromUtf8(c.comparacao));
        EXPECT_EQ(d.edtMetaDia->text(), QString::fromUtf8(c.meta));
        d.ppbOpacidade->setCurrentIndex(1);
        c.muda(d);
        Clica(d.btnSalvarConf);
        EXPECT_FALSE(d.isVisible());
    }));
    EXPECT_TRUE(mensagens.isEmpty()) << mensagens.join('\n').toStdString();
    // Keys not yet in the file go to the end of the section, the file's last.
    QByteArray esperado = QByteArray(antes).replace("Transparencia=100", "Transparencia=80");
    if (*c.linhas)
        esperado.replace(c.linhas, c.depois);
    else
        esperado += c.depois;
    EXPECT_EQ(Arquivo().toStdString(), esperado.toStdString());
    EXPECT_EQ(gadget->inicios, QList<QObject*>{gadget});

    TConfig relido(SECAO);
    relido.CarregarIni();
    EXPECT_EQ(relido.Comparacao(), config.Comparacao());
    EXPECT_EQ(relido.MetaDia(), config.MetaDia());
}

const auto NADA_MUDA = [](TFrmConfiguracao&) {};

INSTANTIATE_TEST_SUITE_P(
    Casos, Indicadores,
    ::testing::Values(
        CasoIndicadores{"Ausentes", "", "Semana passada", "", NADA_MUDA, ""},
        CasoIndicadores{"AusentesEscolhidas", "", "Semana passada", "",
                        [](TFrmConfiguracao& d) {
                            d.ppbComparacao->setCurrentIndex(2);
                            d.edtMetaDia->setText(QStringLiteral("2.500,5"));
                        },
                        "Comparacao=4\r\nMetaDia=2500,50\r\n"},
        CasoIndicadores{"Trocadas", "Comparacao=4\r\nMetaDia=1500\r\n", "Média de 4 semanas",
                        "1.500,00",
                        [](TFrmConfiguracao& d) {
                            d.ppbComparacao->setCurrentIndex(0);
                            d.edtMetaDia->setText(QStringLiteral(" 99,9 "));
                        },
                        "Comparacao=0\r\nMetaDia=99,90\r\n"},
        CasoIndicadores{"MetaApagada", "MetaDia=1500.5\r\n", "Semana passada", "1.500,50",
                        [](TFrmConfiguracao& d) { d.edtMetaDia->clear(); }, "MetaDia=\r\n"},
        // Written as a user writes by hand, or unreadable: what they mean is
        // shown, and saving what they mean leaves them as they are.
        CasoIndicadores{"EscritasAMao", " Comparacao = 0 \r\nMetaDia = 1.500 \r\n", "Nada",
                        "1.500,00", NADA_MUDA, " Comparacao = 0 \r\nMetaDia = 1.500 \r\n"},
        CasoIndicadores{"Ilegiveis", "Comparacao=todas\r\nMetaDia=muito\r\n", "Semana passada", "",
                        NADA_MUDA, "Comparacao=todas\r\nMetaDia=muito\r\n"}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST_F(Configuracao, MetaQueNaoEhValorRecusadaComUmaMensagemSemMudarNada)
{
    const QByteArray antes = Arquivo();
    for (const char* meta : {"1.5", "0", "0,00", "12.34", "1.2345", "1.500.0", "1,5,0"}) {
        SCOPED_TRACE(meta);
        mensagens.clear();
        EXPECT_TRUE(Configura([&](TFrmConfiguracao& d) {
            d.TabControl1->setCurrentIndex(0);
            d.ppbOpacidade->setCurrentIndex(2);
            d.ppbComparacao->setCurrentIndex(2);
            d.edtMetaDia->setText(QString::fromLatin1(meta));
            Clica(d.btnSalvarConf);
            EXPECT_TRUE(d.isVisible());
            EXPECT_EQ(d.TabControl1->currentWidget(), d.tbiIndicadores) << "the field is shown";
            ASSERT_EQ(mensagens.size(), 1);
            EXPECT_EQ(mensagens[0].toStdString(),
                      QStringLiteral("Meta do dia inválida: \"%1\". Informe um valor em reais "
                                     "maior que zero, como 1.500,00, ou deixe o campo vazio para "
                                     "não ter meta.")
                          .arg(QString::fromLatin1(meta))
                          .toStdString());
        }));
        EXPECT_EQ(Arquivo(), antes);
        EXPECT_EQ(config.Transparencia(), QStringLiteral("100"));
        EXPECT_EQ(config.Comparacao(), QString());
        EXPECT_TRUE(gadget->inicios.isEmpty());
    }
}

TEST_F(Configuracao, CampoDaMetaSoAceitaOQuePodeSerUmValor)
{
    EXPECT_TRUE(Configura([](TFrmConfiguracao& d) {
        d.TabControl1->setCurrentWidget(d.tbiIndicadores);
        d.edtMetaDia->setFocus();
        QTest::keyClicks(d.edtMetaDia, QStringLiteral("1a.5b00-,7 59"));
        EXPECT_EQ(d.edtMetaDia->text(), QStringLiteral("1.500,75"));
    }));
}

TEST_F(Configuracao, PrimeiraAberturaMostraAsHorasPadraoEGuardaAsHorasComoMostradas)
{
    EXPECT_TRUE(Configura([](TFrmConfiguracao& d) {
        EXPECT_EQ(d.SbHoraIni->text(), QStringLiteral("8"));
        EXPECT_EQ(d.SbHoraFim->text(), QStringLiteral("18"));
        // The first hour may come after the last: both are kept.
        d.SbHoraIni->setValue(20);
        d.SbHoraFim->setValue(6);
        Clica(d.btnSalvarConf);
    }));
    EXPECT_EQ(config.HoraIni(), QStringLiteral("20"));
    EXPECT_EQ(config.HoraFim(), QStringLiteral("6"));
}

TEST_F(Configuracao, CancelarMantemAsEscolhasSoNaTelaEOProximoSalvarAsGuarda)
{
    const QByteArray antes = Arquivo();
    TFrmConfiguracao* primeiro = nullptr;
    EXPECT_TRUE(Configura([&](TFrmConfiguracao& d) {
        primeiro = &d;
        d.ppbEmpresas->setCurrentIndex(2);
        d.SbHoraIni->setValue(9);
        d.SbHoraFim->setValue(17);
        d.ppbOpacidade->setCurrentIndex(3);
        d.ckbSempreVisivel->setChecked(true);
        d.chkConsideraPedidosImportados->setChecked(true);
        d.ppbComparacao->setCurrentIndex(0);
        d.edtMetaDia->setText(QStringLiteral("300"));
        Clica(d.BtnCancelarConf);
        EXPECT_FALSE(d.isVisible());
    }));
    EXPECT_EQ(config.Comparacao(), QString());
    EXPECT_EQ(config.MetaDia(), QString());
    EXPECT_EQ(Arquivo(), antes);
    EXPECT_TRUE(gadget->inicios.isEmpty());
    EXPECT_EQ(config.Empresa(), QString());
    EXPECT_EQ(config.HoraIni(), QStringLiteral("8"));
    EXPECT_EQ(config.Transparencia(), QStringLiteral("100"));
    EXPECT_EQ(config.SempreVisivel(), QStringLiteral("0"));
    EXPECT_EQ(config.PedidosImportados(), QStringLiteral("0"));

    // The record changes meanwhile; the dialog is not filled from it again.
    config.setTransparencia(QStringLiteral("20"));
    EXPECT_TRUE(Configura([&](TFrmConfiguracao& d) {
        EXPECT_EQ(&d, primeiro);
        EXPECT_EQ(d.ppbEmpresas->currentText(), QStringLiteral("003 - Loja Três"));
        EXPECT_EQ(d.SbHoraIni->value(), 9);
        EXPECT_EQ(d.SbHoraFim->value(), 17);
        EXPECT_EQ(d.ppbOpacidade->currentText(), QStringLiteral("  40%"));
        EXPECT_TRUE(d.ckbSempreVisivel->isChecked());
        EXPECT_TRUE(d.chkConsideraPedidosImportados->isChecked());
        EXPECT_EQ(d.ppbComparacao->currentText(), QStringLiteral("Nada"));
        EXPECT_EQ(d.edtMetaDia->text(), QStringLiteral("300"));
        Clica(d.btnSalvarConf);
    }));
    EXPECT_EQ(NoArquivo("Comparacao"), QStringLiteral("0"));
    EXPECT_EQ(NoArquivo("MetaDia"), QStringLiteral("300"));
    EXPECT_EQ(host.findChildren<TFrmConfiguracao*>().size(), 1);
    EXPECT_EQ(NoArquivo("Empresa"), QStringLiteral("003"));
    EXPECT_EQ(NoArquivo("Transparencia"), QStringLiteral("40"));
    EXPECT_EQ(NoArquivo("SempreVisivel"), QStringLiteral("1"));
    EXPECT_EQ(config.HoraIni(), QStringLiteral("9"));
    EXPECT_EQ(config.HoraFim(), QStringLiteral("17"));
}

TEST_F(Configuracao, PedidosImportadosSozinhosValemLogoEChegamAoArquivoNoProximoSalvar)
{
    EXPECT_TRUE(Configura([](TFrmConfiguracao& d) {
        d.chkConsideraPedidosImportados->setChecked(true);
        Clica(d.btnSalvarConf);
    }));
    EXPECT_EQ(gadget->pedidosImportados, QStringList({"1"}));
    EXPECT_EQ(NoArquivo("PedidosImportados"), QStringLiteral("0"));
    // The end of a drag saves the record.
    config.SalvarIni();
    EXPECT_EQ(NoArquivo("PedidosImportados"), QStringLiteral("1"));
}

TEST_F(Configuracao, AbreCentradaSobreAVistaVisivelNaAlturaDoGadgetENaTela)
{
    struct Caso {
        const char* nome;
        int gadgetX;
        bool detalhe;
        QPoint esperado;
    };
    // Summary: 500 + 102 + (287 - 222) / 2 = 634.5, even 634. Detail:
    // 500 + (389 - 222) / 2 = 583.5, even 584. At 1000 the right edge passes
    // 1200 and comes back to 1200 - 222.
    const Caso casos[] = {{"summary", 500, false, {634, 100}},
                          {"detail", 500, true, {584, 100}},
                          {"right edge", 1000, false, {978, 100}}};
    for (const Caso& caso : casos) {
        Posiciona(caso.gadgetX, 100);
        if (caso.detalhe)
            gadget->RMaximizarClick(gadget);
        else
            gadget->RMinimizarClick(gadget);
        EXPECT_TRUE(Configura([&](TFrmConfiguracao& d) {
            EXPECT_EQ(d.pos(), caso.esperado) << caso.nome;
        })) << caso.nome;
    }
}

struct CasoInvalido {
    const char* chave;
    const char* valor;
};

void PrintTo(const CasoInvalido& c, std::ostream* os)
{
    *os << c.chave << "=" << c.valor;
}

class ValorInvalido : public DialogoTeste, public ::testing::WithParamInterface<CasoInvalido> {};

TEST_P(ValorInvalido, CriacaoFalhaComUmaCaixaEOProximoCliqueTentaDeNovo)
{
    const CasoInvalido& caso = GetParam();
    const QString valor = QString::fromLatin1(caso.valor);
    if (QLatin1String(caso.chave) == QLatin1String("Transparencia"))
        config.setTransparencia(valor);
    else
        config.setSempreVisivel(valor);

    EXPECT_FALSE(Configura([](TFrmConfiguracao&) {}));
    ASSERT_EQ(mensagens.size(), 1);
    EXPECT_TRUE(mensagens[0].contains(valor)) << mensagens[0].toStdString();
    EXPECT_TRUE(FrmConfiguracao.isNull());
    EXPECT_TRUE(host.findChildren<TFrmConfiguracao*>().isEmpty());

    config.setTransparencia(QStringLiteral("100"));
    config.setSempreVisivel(QStringLiteral("0"));
    EXPECT_TRUE(Configura([](TFrmConfiguracao&) {}));
    EXPECT_FALSE(FrmConfiguracao.isNull());
    EXPECT_EQ(mensagens.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Casos, ValorInvalido,
                         ::testing::Values(CasoInvalido{"Transparencia", "abc"},
                                           CasoInvalido{"Transparencia", "60%"},
                                           CasoInvalido{"SempreVisivel", "sim"}));

TEST_F(Configuracao, CriacaoFalhaQuandoAsFiliaisNaoPodemSerLidas)
{
    try {
        conexao.SetConfiguracao(QStringLiteral("L"), QString(), QString(),
                                arquivos.filePath(QStringLiteral("nenhum.fdb")),
                                QStringLiteral("SYSDBA"), QStringLiteral("x"));
        conexao.ConectarBanco();
        FAIL() << "a database that does not exist was attached";
    } catch (const TErro&) {
    }
    EXPECT_FALSE(Configura([](TFrmConfiguracao&) {}));
    EXPECT_EQ(mensagens.size(), 1);
    EXPECT_TRUE(FrmConfiguracao.isNull());

    Conecta(*banco);
    EXPECT_TRUE(Configura([](TFrmConfiguracao&) {}));
}

TEST_F(Configuracao, ArquivoSoLeituraDeixaODialogoAbertoEOArquivoComoEstava)
{
    const QByteArray antes = Arquivo();
    ASSERT_EQ(chmod(QFile::encodeName(ini).constData(), 0444), 0);
    ASSERT_EQ(chmod(QFile::encodeName(arquivos.path()).constData(), 0555), 0);
    EXPECT_TRUE(Configura([&](TFrmConfiguracao& d) {
        d.ppbOpacidade->setCurrentIndex(2);
        {
            ComoUsuarioComum comum;
            ASSERT_TRUE(comum.ok());
            Clica(d.btnSalvarConf);
        }
        EXPECT_TRUE(d.isVisible());
        ASSERT_EQ(mensagens.size(), 1);
        EXPECT_EQ(mensagens[0], QStringLiteral("Unable to write to %1").arg(ini));

        // Writable again, the same dialog saves.
        chmod(QFile::encodeName(arquivos.path()).constData(), 0700);
        chmod(QFile::encodeName(ini).constData(), 0644);
        Clica(d.btnSalvarConf);
        EXPECT_FALSE(d.isVisible());
    }));
    chmod(QFile::encodeName(arquivos.path()).constData(), 0700);
    EXPECT_EQ(mensagens.size(), 1);
    EXPECT_EQ(NoArquivo("Transparencia"), QStringLiteral("60"));
    EXPECT_EQ(gadget->inicios.size(), 1);
    EXPECT_NE(Arquivo(), antes);
}

TEST_F(Configuracao, BancoForaDoArParaOSalvarOndeFalhaEDeixaODialogoAberto)
{
    const QByteArray antes = Arquivo();
    EXPECT_TRUE(Configura([&](TFrmConfiguracao& d) {
        // The database goes away; the gadget's last reconnect failed.
        conexao.SetConfiguracao(QStringLiteral("L"), QString(), QString(),
                                arquivos.filePath(QStringLiteral("nenhum.fdb")),
                                QStringLiteral("SYSDBA"), QStringLiteral("x"));
        EXPECT_THROW(conexao.ConectarBanco(), TErro);

        // A branch needs the branch query again: nothing is changed.
        d.ppbEmpresas->setCurrentIndex(1);
        d.ppbOpacidade->setCurrentIndex(1);
        Clica(d.btnSalvarConf);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(mensagens.size(), 1);
        EXPECT_EQ(config.Empresa(), QString());
        EXPECT_EQ(config.Transparencia(), QStringLiteral("100"));
        EXPECT_EQ(Arquivo(), antes);

        // All branches: the file is saved, the reconnect fails.
        d.ppbEmpresas->setCurrentIndex(0);
        Clica(d.btnSalvarConf);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(mensagens.size(), 2);
        EXPECT_EQ(NoArquivo("Transparencia"), QStringLiteral("80"));
    }));
    EXPECT_TRUE(gadget->inicios.isEmpty());
}

TEST_F(Configuracao, MarcaSurgeAosPoucosESomeDeUmaVez)
{
    EXPECT_TRUE(Configura([](TFrmConfiguracao& d) {
        auto* caixa = dynamic_cast<TCaixaMarcacao*>(d.ckbSempreVisivel);
        ASSERT_NE(caixa, nullptr);
        caixa->setChecked(true);
        EXPECT_LT(caixa->OpacidadeMarca(), 1.0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return caixa->OpacidadeMarca() == 1.0; }, 2000));
        caixa->setChecked(false);
        EXPECT_EQ(caixa->OpacidadeMarca(), 0.0);
    }));
}

TEST_F(Configuracao, FormaDaJanelaSoTemOQueOPainelPinta)
{
    EXPECT_TRUE(Configura([](TFrmConfiguracao& d) {
        const QRegion forma = d.mask();
        const QImage pintado = d.grab().toImage();
        for (const QPoint canto :
             {QPoint(0, 0), QPoint(d.width() - 1, 0), QPoint(0, d.height() - 1),
              QPoint(d.width() - 1, d.height() - 1)})
            EXPECT_EQ(forma.contains(canto), qAlpha(pintado.pixel(canto)) >= 192)
                << canto.x() << "," << canto.y();
        EXPECT_FALSE(forma.contains(QPoint(0, 0)));
        EXPECT_TRUE(forma.contains(d.btnSalvarConf->mapTo(&d, QPoint(5, 5))));
    }));
}
