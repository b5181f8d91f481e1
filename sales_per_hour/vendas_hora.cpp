#include "sales_per_hour/vendas_hora.h"

#include "config/config.h"
#include "config_dialog/frm_configuracao.h"
#include "data/conexao.h"
#include "data/fila_banco.h"
#include "data/nome_filial.h"
#include "frame/about.h"
#include "frame/eventos.h"
#include "frame/fonte_rotulos.h"
#include "frame/imagens_icones.h"
#include "frame/retangulo.h"
#include "frame/rotulo.h"
#include "frame/temporizador.h"
#include "platform/area_trabalho.h"
#include "platform/brasil.h"
#include "platform/erro.h"
#include "platform/mensagens.h"
#include "platform/rotinas_desktop.h"
#include "platform/seams.h"
#include "frame/data_edit.h"
#include "sales_per_hour/grafico_vendas.h"

#include <QDate>
#include <QLineSeries>
#include <QLinearGradient>
#include <QLocale>
#include <QSignalBlocker>

namespace {

QDate DataDe(const QString& texto)
{
    return QDate::fromString(texto, FORMATO_DATA);
}

// The weekday's full name in capitals: "SEGUNDA-FEIRA".
QString DiaDaSemana(const QString& data)
{
    return LOCALE_BRASIL.toUpper(
        LOCALE_BRASIL.dayName(DataDe(data).dayOfWeek(), QLocale::LongFormat));
}

} // namespace

// What a reading brings back from the database thread. The branch text is
// set once the connection worked, so that it shows even when the sales
// query then fails.
struct TVendasHora::TLeitura {
    TLeitura(const TConfig& Config, const QString& Data) : Config(Config), Data(Data) {}

    TConfig Config;
    QString Data;
    std::optional<QString> NomeFilial;
    std::unique_ptr<TVendasHoraDados> Dados = std::make_unique<TVendasHoraDados>();
};

TVendasHora::TVendasHora(QWidget* AOwner)
    : TGadgetResDet(AOwner), FDados(std::make_unique<TVendasHoraDados>())
{
    setInformacoes(NOME_GGT_VENDAS_HORA, VERSAO_GADGET,
                   QStringLiteral("Lotrapex - Relatório Totalização de Vendas"),
                   QStringLiteral("Esta gadget funciona como um termômetro que apresenta as "
                                  "vendas da sua empresa por unidade por hora."));
    PosGradIni = QPointF(0.7886752, 1.7948231e-8);
    PosGradFim = QPointF(0.21132484, 1.0);

    QLinearGradient gradiente(PosGradIni, PosGradFim);
    gradiente.setCoordinateMode(QGradient::ObjectMode);
    gradiente.setColorAt(0, QColor::fromRgba(0xFFB8B8B8));
    gradiente.setColorAt(1.0, QColor::fromRgba(0xFFE0E0E0));
    for (TRetangulo* vista : {rtgDetalhe, rtgResumo}) {
        vista->setPreenchimento(gradiente);
        vista->setSemContorno();
        vista->setRaios(10, 10);
    }
    rtgDetalhe->resize(389, 236);
    rtgResumo->setGeometry(102, 0, 287, 210);
    rtgDetalhe->hide();

    const TEstilosFonte negrito = TEstiloFonte::Negrito;
    btnVoltMax = CriaBotao(rtgDetalhe, QStringLiteral("btnVoltMax"), QStringLiteral("<"), 17, 211);
    btnAvanMax = CriaBotao(rtgDetalhe, QStringLiteral("btnAvanMax"), QStringLiteral(">"), 117, 211);
    btnAvanMax->setEnabled(false);
    lblNomeFilialMax = CriaRotulo(rtgDetalhe, QStringLiteral("lblNomeFilialMax"), true);
    ConfigLabel(lblNomeFilialMax, FONTE_ROTULOS, TODAS_AS_FILIAIS, 12, negrito, 0, 194, 389,
                Qt::AlignHCenter, false, false);
    lblPeriodoMax = CriaRotulo(rtgDetalhe, QStringLiteral("lblPeriodoMax"));
    ConfigLabel(lblPeriodoMax, FONTE_ROTULOS, QStringLiteral("22/04/2013"), 10, {}, 132, 214, 197,
                Qt::AlignHCenter, false, false);
    ChGraficoMax = CriaGrafico(rtgDetalhe, QStringLiteral("ChGraficoMax"),
                               QStringLiteral("Gráfico Maximizado"), 389, 214, 20, false);
    CriaLogo(rtgDetalhe, 329, 196);

    btnVoltMin = CriaBotao(rtgResumo, QStringLiteral("btnVoltMin"), QStringLiteral("<"), 14, 188);
    btnAvanMin = CriaBotao(rtgResumo, QStringLiteral("btnAvanMin"), QStringLiteral(">"), 114, 188);
    btnAvanMin->setEnabled(false);
    lblNomeFilialMin = CriaRotulo(rtgResumo, QStringLiteral("lblNomeFilialMin"), true);
    ConfigLabel(lblNomeFilialMin, FONTE_ROTULOS, TODAS_AS_FILIAIS, 12, negrito, 0, 171, 287,
                Qt::AlignHCenter, false, false);
    lblPeriodoMin = CriaRotulo(rtgResumo, QStringLiteral("lblPeriodoMin"));
    ConfigLabel(lblPeriodoMin, FONTE_ROTULOS, QStringLiteral("22/04/2013"), 10, {}, 129, 191, 97,
                Qt::AlignHCenter, false, false);
    // The charting component's usual gap between axis labels; whole values
    // only, as eleven full ones do not fit side by side.
    ChGraficoMin = CriaGrafico(rtgResumo, QStringLiteral("ChGraficoMin"),
                               QStringLiteral("Gráfico Minimizado"), 286, 186, 10, true);
    ChGraficoMin->setTamanhoRotulosEixos(10);
    imgLogoDet = CriaLogo(rtgResumo, 226, 173);

    AjustaGadget(rtgDetalhe, false);
    AssociaEventosComuns(rtgDetalhe);
    AssociaEventosComuns(rtgResumo);

    cleGrafMax = CriaDataEdit(rtgDetalhe, QStringLiteral("cleGrafMax"), 31, 211);
    cleGrafMin = CriaDataEdit(rtgResumo, QStringLiteral("cleGrafMin"), 28, 188);

    for (TGraficoVendas* grafico : {ChGraficoMax, ChGraficoMin}) {
        TEventos& eventos = TEventos::De(grafico);
        eventos.OnMouseEnter = [this](QObject* s) { MouseEnterGrafico(s); };
        eventos.OnMouseLeave = [this](QObject* s) { MouseLeaveGrafico(s); };
    }
    for (TBotao* botao : {btnVoltMax, btnVoltMin})
        connect(botao, &QPushButton::clicked, this, [this, botao] {
            plataforma::Tratando([&] { OnClickBotaoVoltar(botao); });
        });
    for (TBotao* botao : {btnAvanMax, btnAvanMin})
        connect(botao, &QPushButton::clicked, this, [this, botao] {
            plataforma::Tratando([&] { OnClickBotaoAvanco(botao); });
        });

    const QDate hoje = plataforma::Hoje();
    DataAtual = hoje.toString(FORMATO_DATA);
    MostraDiaNasEdicoes(hoje);

    // Without the entry the gadget works all the same; the user is told why
    // it will not start at the next log-on.
    try {
        plataforma::IniciarComWindows(getTitulo(), true);
    } catch (const Erro& erro) {
        plataforma::MostrarMensagem(plataforma::Caixa::Nota, erro.texto());
    }
}

// Off the screen first: Qt tells a widget under the pointer that the pointer
// left while it is being destroyed, and the handlers must not run on a gadget
// half gone.
TVendasHora::~TVendasHora()
{
    rtgGadget->hide();
    // The job reads the connection, which may go right after the gadget.
    const quint64 leitura = FLeitura;
    AbandonaLeitura();
    TFilaBanco::Programa().Aguardar(leitura);
}

TBotao* TVendasHora::CriaBotao(QWidget* Vista, const QString& Nome, const QString& Texto, int X,
                               int Y)
{
    auto* botao = new TBotao(Texto, Vista);
    botao->setObjectName(Nome);
    botao->setGeometry(X, Y, 15, 20);
    botao->show();
    return botao;
}

QLabel* TVendasHora::CriaRotulo(QWidget* Vista, const QString& Nome, bool Cortado)
{
    auto* rotulo = Cortado ? new TRotuloCortado(Vista) : new TRotulo(Vista);
    rotulo->setObjectName(Nome);
    rotulo->show();
    return rotulo;
}

TGraficoVendas* TVendasHora::CriaGrafico(QWidget* Vista, const QString& Nome,
                                         const QString& Titulo, int Largura, int Altura,
                                         int SeparacaoRotulos, bool MarcasCurtas)
{
    auto* grafico = new TGraficoVendas(Titulo, SeparacaoRotulos, MarcasCurtas, Vista);
    grafico->setObjectName(Nome);
    grafico->setGeometry(0, 0, Largura, Altura);
    grafico->show();
    return grafico;
}

// The family's logo, fitted into a 50 x 50 box, drawn at that size rather
// than scaled down from its own.
QLabel* TVendasHora::CriaLogo(QWidget* Vista, int X, int Y)
{
    const QSizeF logo = ImagensIcones().imgLogoVUX.deviceIndependentSize();
    const QImage imagem = LogoVUX(logo.scaled(QSizeF(50, 50), Qt::KeepAspectRatio),
                                  Vista->devicePixelRatioF());
    auto* caixa = new QLabel(Vista);
    caixa->setGeometry(X, Y, 50, 50);
    caixa->setAlignment(Qt::AlignCenter);
    caixa->setPixmap(QPixmap::fromImage(imagem));
    caixa->show();
    return caixa;
}

TDataEdit* TVendasHora::CriaDataEdit(QWidget* Vista, const QString& Nome, int X, int Y)
{
    auto* edicao = new TDataEdit(Vista);
    edicao->setObjectName(Nome);
    edicao->setGeometry(X, Y, 87, 20);
    // The whole date fits the 60 pixels of text area.
    QFont fonte = edicao->font();
    fonte.setPixelSize(10);
    edicao->setFont(fonte);
    edicao->show();
    // Queued, so that an error of the refresh reaches the event loop's report
    // from the event itself and not from inside the calendar's own code.
    connect(edicao, &QDateEdit::dateChanged, this, [this, edicao] { plataforma::Tratando([&] { OnChangeCalendEdit(edicao); }); },
            Qt::QueuedConnection);
    edicao->OnKeyDown = [this](QObject* s, int& k, QChar& c, Qt::KeyboardModifiers m) {
        cleMinMaxKeyDown(s, k, c, m);
    };
    edicao->OnCloseUp = [this](QObject* s) {
        if (!PonteiroSobreOGadget())
            RFecharMouseLeave(s);
    };
    TEventos& eventos = TEventos::De(edicao);
    eventos.OnMouseEnter = [this](QObject* s) { RFecharMouseEnter(s); };
    eventos.OnMouseLeave = [this](QObject* s) { RFecharMouseLeave(s); };
    return edicao;
}

void TVendasHora::IniciarGadget(QObject* Sender)
{
    if (Lendo() && Sender == tmrPrincipal)
        return;
    TGadgetResDet::IniciarGadget(Sender);
    Ler();
}

void TVendasHora::Ler()
{
    AbandonaLeitura();
    auto leitura = std::make_shared<TLeitura>(*FConfig, DataAtual);
    TConexao* conexao = FConexao;
    FLeitura = TFilaBanco::Programa().Enfileirar(
        this,
        [leitura, conexao] {
            try {
                conexao->conectarBanco();
                const TLiberacaoEmbutido liberacao(*conexao);
                const QString empresa = leitura->Config.Empresa();
                leitura->NomeFilial = empresa.isEmpty() ? TODAS_AS_FILIAIS : NomeFilial(empresa);
                leitura->Dados->ValorDasVendas(leitura->Config, *conexao, leitura->Data);
            } catch (...) {
                if (TFilaBanco::Programa().AbortouTrabalhoAtual())
                    conexao->descartar();
                throw;
            }
        },
        [this, leitura](std::exception_ptr erro) {
            FLeitura = 0;
            rtgGadget->unsetCursor();
            plataforma::Tratando([&] { MostraLeitura(*leitura, erro); });
        });
    // The quiet sign of a reading: the busy pointer over the gadget.
    if (FLeitura)
        rtgGadget->setCursor(Qt::BusyCursor);
}

void TVendasHora::AbandonaLeitura()
{
    if (!FLeitura)
        return;
    TFilaBanco::Programa().Abandonar(FLeitura);
    FLeitura = 0;
    rtgGadget->unsetCursor();
}

void TVendasHora::MostraLeitura(TLeitura& Leitura, std::exception_ptr Erro)
{
    if (Leitura.NomeFilial) {
        lblNomeFilialMin->setText(*Leitura.NomeFilial);
        lblNomeFilialMax->setText(*Leitura.NomeFilial);
    }
    const std::optional<QString> diaAnterior = std::exchange(FDiaAnterior, std::nullopt);
    if (Erro) {
        // A day whose reading failed is not left in the edits over the chart
        // of the day before.
        if (diaAnterior) {
            DataAtual = *diaAnterior;
            MostraDiaNasEdicoes(DataDe(DataAtual));
        }
        std::rethrow_exception(Erro);
    }
    FDados = std::move(Leitura.Dados);

    Serie = ChGraficoMin->NovaSerie(QStringLiteral("LineGraf"));
    SerieMax = ChGraficoMax->NovaSerie(QStringLiteral("LineGrafMax"));
    QStringList rotulos;
    for (const TTabelaVendasHora::Linha& linha : FDados->CdsTemp().linhas()) {
        const qreal x = rotulos.size();
        Serie->append(x, linha.VALOR);
        SerieMax->append(x, linha.VALOR);
        rotulos << linha.HORA + u'h';
    }
    const QString diaDaSemana = DiaDaSemana(Leitura.Data);
    for (TGraficoVendas* grafico : {ChGraficoMin, ChGraficoMax}) {
        grafico->MostraSerie(rotulos);
        grafico->setTitulo(NOME_GGT_VENDAS_HORA);
    }
    lblPeriodoMin->setText(diaDaSemana);
    lblPeriodoMax->setText(diaDaSemana);
    if (diaAnterior) {
        const bool passado = DataDe(Leitura.Data) < plataforma::Hoje();
        btnAvanMax->setEnabled(passado);
        btnAvanMin->setEnabled(passado);
    }
}

// Saving in the dialog restarts the gadget itself; nothing follows here.
void TVendasHora::RConfClick(QObject*)
{
    if (!FrmConfiguracao)
        FrmConfiguracao = new TFrmConfiguracao(frmPrincipal, *FConfig, *FConexao);
    FrmConfiguracao->AdicionaGadget(this);
    PosicionaSobreAVista(FrmConfiguracao);
    VerificaMargens(FrmConfiguracao);
    plataforma::ForaDaBarraAoMostrar(FrmConfiguracao);
    FrmConfiguracao->exec();
}

void TVendasHora::RAboutClick(QObject*)
{
    if (!frmAbout)
        frmAbout = new TfrmAbout(frmPrincipal);
    frmAbout->CarregaInformacoes(this);
    PosicionaSobreAVista(frmAbout);
    frmAbout->move(frmAbout->x(), PosicaoNaTela().y());
    VerificaMargens(frmAbout);
    frmAbout->btnOk->setFocus();
    plataforma::ForaDaBarraAoMostrar(frmAbout);
    frmAbout->exec();
}

void TVendasHora::OnClickBotaoVoltar(QObject*)
{
    MudaDia(DataDe(DataAtual).addDays(-1));
}

void TVendasHora::OnClickBotaoAvanco(QObject*)
{
    MudaDia(DataDe(DataAtual).addDays(1));
}

void TVendasHora::OnChangeCalendEdit(QObject* Sender)
{
    const TDataEdit* origem = Sender->objectName() == QStringLiteral("cleGrafMin") ? cleGrafMin
                                                                                   : cleGrafMax;
    MudaDia(origem->date());
}

void TVendasHora::cleMinMaxKeyDown(QObject*, int& Key, QChar& KeyChar, Qt::KeyboardModifiers)
{
    Key = 0;
    KeyChar = QChar();
}

void TVendasHora::MouseEnterGrafico(QObject* Sender)
{
    RFecharMouseEnter(Sender);
    ChGraficoMin->setMarcasVisiveis(true);
    ChGraficoMax->setMarcasVisiveis(true);
}

void TVendasHora::MouseLeaveGrafico(QObject* Sender)
{
    RFecharMouseLeave(Sender);
    ChGraficoMin->setMarcasVisiveis(false);
    ChGraficoMax->setMarcasVisiveis(false);
}

void TVendasHora::MudaDia(const QDate& Dia)
{
    const QString anterior = FDiaAnterior.value_or(DataAtual);
    FDiaAnterior = anterior;
    DataAtual = Dia.toString(FORMATO_DATA);
    MostraDiaNasEdicoes(Dia);
    try {
        IniciarGadget(this);
    } catch (...) {
        AbandonaLeitura();
        FDiaAnterior.reset();
        DataAtual = anterior;
        MostraDiaNasEdicoes(DataDe(anterior));
        throw;
    }
}

// Set from code, the edits raise no change of their own.
void TVendasHora::MostraDiaNasEdicoes(const QDate& Dia)
{
    for (TDataEdit* edicao : {cleGrafMax, cleGrafMin}) {
        const QSignalBlocker silencio(edicao);
        edicao->setDate(Dia);
    }
}
