#include "sales_per_hour/vendas_hora.h"

#include "base/brasil.h"
#include "base/dinheiro.h"
#include "base/erro.h"
#include "base/versao.h"
#include "config/config.h"
#include "config_dialog/frm_configuracao.h"
#include "frame/about.h"
#include "frame/botao.h"
#include "frame/data_edit.h"
#include "frame/eventos.h"
#include "frame/menu_escuro.h"
#include "frame/retangulo.h"
#include "frame/temporizador.h"
#include "platform/area_trabalho.h"
#include "platform/mensagens.h"
#include "platform/rotinas_desktop.h"
#include "platform/seams.h"
#include "sales_per_hour/grafico_vendas.h"
#include "sales_per_hour/textos_indicadores.h"

#include <QDate>
#include <QLabel>
#include <QLineSeries>
#include <QLinearGradient>
#include <QLocale>
#include <QSignalBlocker>

namespace {

// The weekday's full name in capitals: "SEGUNDA-FEIRA".
QString DiaDaSemana(const QString& data)
{
    return LOCALE_BRASIL.toUpper(
        LOCALE_BRASIL.dayName(DataDoDia(data).dayOfWeek(), QLocale::LongFormat));
}

// The line of totals in its font of 10 pixels, or a smaller one down to 8
// when a large shop's figures would not fit; past that it is cut.
void MostraTotais(QLabel* rotulo, const QString& texto)
{
    QFont fonte = rotulo->font();
    for (int tamanho = 10; tamanho >= 8; --tamanho) {
        fonte.setPixelSize(tamanho);
        if (QFontMetrics(fonte).horizontalAdvance(texto) <= rotulo->contentsRect().width())
            break;
    }
    rotulo->setFont(fonte);
    rotulo->setText(texto);
}

} // namespace

TVendasHora::TVendasHora(QWidget* AOwner)
    : TGadgetResDet(AOwner),
      FDados(std::make_unique<TVendasHoraDados>()),
      FLeitura(rtgGadget, tmrPrincipal)
{
    SetInformacoes(NOME_GGT_VENDAS_HORA, VERSAO_GADGET,
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
        vista->SetPreenchimento(gradiente);
        vista->SetSemContorno();
        vista->SetRaios(10, 10);
    }
    rtgDetalhe->resize(389, 252);
    rtgResumo->setGeometry(102, 0, 287, 210);
    rtgDetalhe->hide();

    for (const TControlesVista* controles : {&DETALHE, &RESUMO})
        CriaControles(*controles);

    AjustaGadget(rtgDetalhe, false);
    // A gadget is glanced at, seldom clicked: its tooltips show though its
    // window is not the active one.
    AOwner->window()->setAttribute(Qt::WA_AlwaysShowToolTips);
    AssociaEventosComuns(rtgDetalhe);
    AssociaEventosComuns(rtgResumo);
    CriaMenus();

    // After the drag handlers, which the date edits must not get.
    for (const TControlesVista* controles : {&DETALHE, &RESUMO})
        CriaDataEdit(*controles);

    for (TGraficoVendas* grafico : {ChGraficoMax, ChGraficoMin}) {
        TEventos& eventos = TEventos::De(grafico);
        eventos.OnMouseEnter = [this](QObject* s) { MouseEnterGrafico(s); };
        eventos.OnMouseLeave = [this](QObject* s) { MouseLeaveGrafico(s); };
    }
    for (TBotao* botao : {btnVoltMax, btnVoltMin})
        connect(botao, &QPushButton::clicked, this,
                [this, botao] { plataforma::Tratando([&] { OnClickBotaoVoltar(botao); }); });
    for (TBotao* botao : {btnAvanMax, btnAvanMin})
        connect(botao, &QPushButton::clicked, this,
                [this, botao] { plataforma::Tratando([&] { OnClickBotaoAvanco(botao); }); });

    const QDate hoje = plataforma::Hoje();
    DataAtual = hoje.toString(FORMATO_DATA);
    MostraDiaNasEdicoes(hoje);

    // Without the entry the gadget works all the same; the user is told why
    // it will not start at the next log-on.
    try {
        plataforma::IniciarComWindows(GetTitulo(), true);
    } catch (const TErro& erro) {
        plataforma::MostrarMensagem(plataforma::TCaixa::Nota, erro.Texto());
    }
}

// Off the screen first: Qt tells a widget under the pointer that the pointer
// left while it is being destroyed, and the handlers must not run on a gadget
// half gone.
TVendasHora::~TVendasHora()
{
    delete FListaFiliais.data();
    delete FMenuContexto.data();
    rtgGadget->hide();
}

void TVendasHora::IniciarGadget(QObject* Sender)
{
    if (!FLeitura.Aceita(Sender == tmrPrincipal))
        return;
    TGadgetResDet::IniciarGadget(Sender);
    FLeitura.Ler(this, FConexao, *FConfig, DataAtual,
                 [this](TLeitura& leitura, std::exception_ptr erro) {
                     plataforma::Tratando([&] { MostraLeitura(leitura, erro); });
                 });
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
            MostraDiaNasEdicoes(DataDoDia(DataAtual));
        }
        std::rethrow_exception(Erro);
    }
    FDados = std::move(Leitura.Dados);
    FDiaDados = Leitura.Data;
    FEmpresaDados = Leitura.Config.Empresa();

    const TComparacao comparacao = FDados->Comparacao();
    Serie = ChGraficoMin->NovaSerie(QStringLiteral("LineGraf"), comparacao != TComparacao::Nada);
    SerieMax =
        ChGraficoMax->NovaSerie(QStringLiteral("LineGrafMax"), comparacao != TComparacao::Nada);
    const std::optional<QTime> agora = Leitura.AgoraSeHoje();
    const TIndicadores indicadores = FDados->Indicadores(agora);
    const std::vector<TTabelaVendasHora::TLinha>& linhas = FDados->CdsTemp().Linhas();
    QStringList rotulos;
    QStringList dicas;
    for (int i = 0; i < static_cast<int>(linhas.size()); ++i) {
        Serie->append(i, linhas[i].VALOR);
        SerieMax->append(i, linhas[i].VALOR);
        if (const std::optional<double> referencia = indicadores.Horas[i].Referencia) {
            ChGraficoMin->Referencia()->append(i, *referencia);
            ChGraficoMax->Referencia()->append(i, *referencia);
        }
        rotulos << linhas[i].HORA + u'h';
        dicas << DicaDaHora(FDados->CdsTemp(), indicadores, comparacao, i, agora);
    }
    const QString diaDaSemana = DiaDaSemana(Leitura.Data);
    for (TGraficoVendas* grafico : {ChGraficoMin, ChGraficoMax}) {
        grafico->MostraSerie(rotulos, dicas);
        grafico->SetPontoAberto(indicadores.HoraCorrente);
        grafico->SetTitulo(NOME_GGT_VENDAS_HORA);
    }
    MostraTotais(lblTotaisMax, LinhaDeTotais(indicadores, comparacao));
    ChGraficoMin->SetDestaque(TextoReais(indicadores.Total), std::nullopt);
    if (const std::optional<double> meta = LerMetaDia(Leitura.Config.MetaDia()))
        ChGraficoMax->SetDestaque(TextoMeta(PercentualMeta(indicadores.Total, *meta)),
                                  indicadores.Total / *meta);
    else
        ChGraficoMax->SetDestaque(QString(), std::nullopt);
    lblPeriodoMin->setText(diaDaSemana);
    lblPeriodoMax->setText(diaDaSemana);
    if (diaAnterior) {
        const bool passado = DataDoDia(Leitura.Data) < plataforma::Hoje();
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
    MudaDia(DataDoDia(DataAtual).addDays(-1));
}

void TVendasHora::OnClickBotaoAvanco(QObject*)
{
    MudaDia(DataDoDia(DataAtual).addDays(1));
}

void TVendasHora::OnChangeCalendEdit(QObject* Sender)
{
    const TDataEdit* origem =
        Sender->objectName() == QStringLiteral("cleGrafMin") ? cleGrafMin : cleGrafMax;
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
    ChGraficoMin->SetMarcasVisiveis(true);
    ChGraficoMax->SetMarcasVisiveis(true);
}

void TVendasHora::MouseLeaveGrafico(QObject* Sender)
{
    RFecharMouseLeave(Sender);
    ChGraficoMin->SetMarcasVisiveis(false);
    ChGraficoMax->SetMarcasVisiveis(false);
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
        FLeitura.Abandona();
        FDiaAnterior.reset();
        DataAtual = anterior;
        MostraDiaNasEdicoes(DataDoDia(anterior));
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
