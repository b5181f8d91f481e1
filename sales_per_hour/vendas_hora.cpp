#include "sales_per_hour/vendas_hora.h"

#include "base/brasil.h"
#include "base/dinheiro.h"
#include "base/erro.h"
#include "base/versao.h"
#include "config/config.h"
#include "config/fila_gravacao.h"
#include "config_dialog/frm_configuracao.h"
#include "data/conexao.h"
#include "data/fila_banco.h"
#include "data/filiais.h"
#include "data/nome_filial.h"
#include "data/query.h"
#include "frame/about.h"
#include "frame/data_edit.h"
#include "frame/eventos.h"
#include "frame/fonte_rotulos.h"
#include "frame/imagens_icones.h"
#include "frame/menu_escuro.h"
#include "frame/retangulo.h"
#include "frame/rotulo.h"
#include "frame/temporizador.h"
#include "platform/area_trabalho.h"
#include "platform/dialogo_arquivo.h"
#include "platform/mensagens.h"
#include "platform/rotinas_desktop.h"
#include "platform/seams.h"
#include "platform/tela.h"
#include "sales_per_hour/copia_tabela.h"
#include "sales_per_hour/dias_lidos.h"
#include "sales_per_hour/exportar_csv.h"
#include "sales_per_hour/grafico_vendas.h"
#include "sales_per_hour/textos_indicadores.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLineSeries>
#include <QLinearGradient>
#include <QLocale>
#include <QMimeData>
#include <QSaveFile>
#include <QSignalBlocker>
#include <algorithm>
#include <functional>

namespace {

// The longest a database that keeps timing out waits for the next automatic
// try.
constexpr int ESPERA_MAXIMA_MS = 30 * 60 * 1000;

// The same after every cut, so that a box still open is not shown twice.
const QString AVISO_TEMPO_ESGOTADO =
    QStringLiteral("As próximas atualizações automáticas esperam cada vez mais, até 30 minutos; "
                   "mudar o dia ou salvar a configuração tenta de novo na hora.");

// The branch label when the configured code names no branch (deleted, or
// saved in an encoding other than the database's): not an empty label over
// a chart of zeros.
const QString FILIAL_NAO_ENCONTRADA = QStringLiteral("Filial %1 não encontrada");

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

// Writes a whole file through escrever, or leaves any file already at
// caminho as it was.
void GravaArquivo(const QString& caminho, const std::function<bool(QIODevice&)>& escrever)
{
    QSaveFile arquivo(caminho);
    if (!arquivo.open(QIODevice::WriteOnly) || !escrever(arquivo) || !arquivo.commit())
        throw Erro(QStringLiteral("Não foi possível salvar o arquivo \"%1\": %2")
                       .arg(QDir::toNativeSeparators(caminho), arquivo.errorString()));
}

// The save dialog's answer, with the extension added when the user typed a
// name without one.
QString ArquivoEscolhido(QWidget* pai, const QString& titulo, const QString& sugerido,
                         const QString& filtro, const QString& extensao)
{
    QString caminho = plataforma::ArquivoParaSalvar(pai, titulo, sugerido, filtro);
    if (!caminho.isEmpty() && QFileInfo(caminho).suffix().isEmpty())
        caminho += u'.' + extensao;
    return caminho;
}

} // namespace

// What a reading brings back from the database thread. The branch text is
// set once the connection worked, so that it shows even when the sales
// query then fails.
struct TVendasHora::TLeitura {
    TLeitura(const TConfig& Config, const QString& Data)
        : Config(Config),
          Data(Data),
          Comparacao(LerComparacao(Config.Comparacao())),
          Hoje(plataforma::Hoje()),
          Agora(plataforma::Agora())
    {
    }

    // The time of day the figures are "so far" at, when the day is today.
    std::optional<QTime> AgoraSeHoje() const
    {
        return DataDe(Data) == Hoje ? std::optional<QTime>(Agora.time()) : std::nullopt;
    }

    TConfig Config;
    QString Data;
    TComparacao Comparacao;
    QDate Hoje;
    QDateTime Agora;
    std::optional<QString> NomeFilial;
    std::unique_ptr<TVendasHoraDados> Dados = std::make_unique<TVendasHoraDados>();
};

// One view's controls; positions relative to the view.
struct TVendasHora::TControlesVista {
    TRetangulo* TGadgetResDet::*Vista;
    QPoint Voltar;
    QPoint Avancar;
    QPoint NomeFilial;
    int LarguraNomeFilial;
    QPoint Periodo;
    int LarguraPeriodo;
    std::optional<QPoint> Totais; // none: no line of totals
    QString TituloGrafico;
    QSize Grafico;
    int SeparacaoRotulos;
    bool MarcasCurtas;
    std::optional<int> TamanhoRotulosEixos; // none: the chart's own
    QPoint Logo;
    QPoint DataEdit;
    // The fields that keep them, and the suffix of their names.
    QString Sufixo;
    TBotao* TVendasHora::*BtnVoltar;
    TBotao* TVendasHora::*BtnAvancar;
    QLabel* TVendasHora::*LblNomeFilial;
    QLabel* TVendasHora::*LblPeriodo;
    QLabel* TVendasHora::*LblTotais; // null: none
    TGraficoVendas* TVendasHora::*ChGrafico;
    QLabel* TVendasHora::*ImgLogo; // null: kept by none
    TDataEdit* TVendasHora::*CleGraf;
};

// The line of totals stands right under the chart; the rows that stood there
// move down by its height.
const TVendasHora::TControlesVista TVendasHora::DETALHE = {
    .Vista = &TVendasHora::rtgDetalhe,
    .Voltar = {17, 227},
    .Avancar = {117, 227},
    .NomeFilial = {0, 210},
    .LarguraNomeFilial = 389,
    .Periodo = {132, 230},
    .LarguraPeriodo = 197,
    .Totais = QPoint(0, 194),
    .TituloGrafico = QStringLiteral("Gráfico Maximizado"),
    .Grafico = {389, 214},
    .SeparacaoRotulos = 20,
    .MarcasCurtas = false,
    .TamanhoRotulosEixos = std::nullopt,
    .Logo = {329, 212},
    .DataEdit = {31, 227},
    .Sufixo = QStringLiteral("Max"),
    .BtnVoltar = &TVendasHora::btnVoltMax,
    .BtnAvancar = &TVendasHora::btnAvanMax,
    .LblNomeFilial = &TVendasHora::lblNomeFilialMax,
    .LblPeriodo = &TVendasHora::lblPeriodoMax,
    .LblTotais = &TVendasHora::lblTotaisMax,
    .ChGrafico = &TVendasHora::ChGraficoMax,
    .ImgLogo = nullptr,
    .CleGraf = &TVendasHora::cleGrafMax,
};

const TVendasHora::TControlesVista TVendasHora::RESUMO = {
    .Vista = &TVendasHora::rtgResumo,
    .Voltar = {14, 188},
    .Avancar = {114, 188},
    .NomeFilial = {0, 171},
    .LarguraNomeFilial = 287,
    .Periodo = {129, 191},
    .LarguraPeriodo = 97,
    .Totais = std::nullopt,
    .TituloGrafico = QStringLiteral("Gráfico Minimizado"),
    .Grafico = {286, 186},
    // The charting component's usual gap between axis labels; whole values
    // only, as eleven full ones do not fit side by side.
    .SeparacaoRotulos = 10,
    .MarcasCurtas = true,
    .TamanhoRotulosEixos = 10,
    .Logo = {226, 173},
    .DataEdit = {28, 188},
    .Sufixo = QStringLiteral("Min"),
    .BtnVoltar = &TVendasHora::btnVoltMin,
    .BtnAvancar = &TVendasHora::btnAvanMin,
    .LblNomeFilial = &TVendasHora::lblNomeFilialMin,
    .LblPeriodo = &TVendasHora::lblPeriodoMin,
    .LblTotais = nullptr,
    .ChGrafico = &TVendasHora::ChGraficoMin,
    .ImgLogo = &TVendasHora::imgLogoDet,
    .CleGraf = &TVendasHora::cleGrafMin,
};

TVendasHora::TVendasHora(QWidget* AOwner)
    : TGadgetResDet(AOwner),
      FDados(std::make_unique<TVendasHoraDados>()),
      FCache(std::make_shared<TCacheDias>())
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
    RecebeCliqueDireito(rtgDetalhe);
    RecebeCliqueDireito(rtgResumo);

    FMenuContexto = new TMenuEscuro(AOwner);
    const auto item = [this](const QString& texto, std::function<void()> acao) {
        connect(
            FMenuContexto->addAction(texto), &QAction::triggered, this,
            [acao] { plataforma::Tratando(acao); }, Qt::QueuedConnection);
    };
    item(QStringLiteral("&Copiar tabela"), [this] { CopiaTabela(); });
    item(QStringLiteral("Salvar &imagem…"), [this] { SalvaImagem(FVistaDoMenu); });
    item(QStringLiteral("&Exportar CSV…"), [this] { ExportaCsv(); });
    FMenuContexto->addSeparator();
    AcrescentaAcoesDoFrame(FMenuContexto);
    // A menu that closes away from the gadget leaves it no leave event.
    connect(FMenuContexto, &QMenu::aboutToHide, this, [this] {
        if (!PonteiroSobreOGadget())
            RFecharMouseLeave(FMenuContexto);
    });

    for (QLabel* rotulo : {lblNomeFilialMax, lblNomeFilialMin}) {
        TEventos& eventos = TEventos::De(rotulo);
        eventos.OnMouseDown = [this, arrastar = eventos.OnMouseDown](QObject* s, Qt::MouseButton b,
                                                                     Qt::MouseButtons e, qreal x,
                                                                     qreal y) {
            FPressaoRotulo = plataforma::PosicaoCursor();
            arrastar(s, b, e, x, y);
        };
        eventos.OnClick = [this, rotulo](QObject*) {
            if ((plataforma::PosicaoCursor() - FPressaoRotulo).manhattanLength()
                < QApplication::startDragDistance())
                AbreListaFiliais(rotulo);
        };
        rotulo->setCursor(Qt::PointingHandCursor);
        // The chart's box reaches over it: clicks on its text are the label's.
        rotulo->raise();
    }

    // After the drag handlers, which the date edits must not get.
    for (const TControlesVista* c : {&DETALHE, &RESUMO})
        this->*c->CleGraf =
            CriaDataEdit(this->*c->Vista, QStringLiteral("cleGraf") + c->Sufixo, c->DataEdit);

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
    delete FListaFiliais.data();
    delete FMenuContexto.data();
    rtgGadget->hide();
    // The job reads the connection, which may go right after the gadget.
    const quint64 leitura = FLeitura;
    AbandonaLeitura();
    TFilaBanco::Programa().Aguardar(leitura);
}

void TVendasHora::CriaControles(const TControlesVista& C)
{
    QWidget* Vista = this->*C.Vista;
    const auto nome = [&](const char* prefixo) { return QLatin1String(prefixo) + C.Sufixo; };
    this->*C.BtnVoltar = CriaBotao(Vista, nome("btnVolt"), QStringLiteral("<"), C.Voltar);
    TBotao* avancar = CriaBotao(Vista, nome("btnAvan"), QStringLiteral(">"), C.Avancar);
    avancar->setEnabled(false);
    this->*C.BtnAvancar = avancar;
    QLabel* nomeFilial = CriaRotulo(Vista, nome("lblNomeFilial"), true);
    ConfigLabel(nomeFilial, FONTE_ROTULOS, TODAS_AS_FILIAIS, 12, TEstiloFonte::Negrito,
                C.NomeFilial.x(), C.NomeFilial.y(), C.LarguraNomeFilial, Qt::AlignHCenter, false,
                false);
    this->*C.LblNomeFilial = nomeFilial;
    QLabel* periodo = CriaRotulo(Vista, nome("lblPeriodo"));
    ConfigLabel(periodo, FONTE_ROTULOS, QStringLiteral("22/04/2013"), 10, {}, C.Periodo.x(),
                C.Periodo.y(), C.LarguraPeriodo, Qt::AlignHCenter, false, false);
    this->*C.LblPeriodo = periodo;
    if (C.Totais) {
        QLabel* totais = CriaRotulo(Vista, nome("lblTotais"), true);
        ConfigLabel(totais, FONTE_ROTULOS, QString(), 10, {}, C.Totais->x(), C.Totais->y(),
                    C.LarguraNomeFilial, Qt::AlignHCenter, false, false);
        this->*C.LblTotais = totais;
    }
    TGraficoVendas* grafico = CriaGrafico(Vista, nome("ChGrafico"), C.TituloGrafico, C.Grafico,
                                          C.SeparacaoRotulos, C.MarcasCurtas);
    if (C.TamanhoRotulosEixos)
        grafico->setTamanhoRotulosEixos(*C.TamanhoRotulosEixos);
    this->*C.ChGrafico = grafico;
    QLabel* logo = CriaLogo(Vista, C.Logo);
    if (C.ImgLogo)
        this->*C.ImgLogo = logo;
}

TBotao* TVendasHora::CriaBotao(QWidget* Vista, const QString& Nome, const QString& Texto,
                               QPoint Posicao)
{
    auto* botao = new TBotao(Texto, Vista);
    botao->setObjectName(Nome);
    botao->setGeometry(QRect(Posicao, QSize(15, 20)));
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

TGraficoVendas* TVendasHora::CriaGrafico(QWidget* Vista, const QString& Nome, const QString& Titulo,
                                         QSize Tamanho, int SeparacaoRotulos, bool MarcasCurtas)
{
    auto* grafico = new TGraficoVendas(Titulo, SeparacaoRotulos, MarcasCurtas, Vista);
    grafico->setObjectName(Nome);
    grafico->setGeometry(QRect(QPoint(0, 0), Tamanho));
    grafico->show();
    return grafico;
}

// The family's logo, fitted into a 50 x 50 box, drawn at that size rather
// than scaled down from its own.
QLabel* TVendasHora::CriaLogo(QWidget* Vista, QPoint Posicao)
{
    const QSizeF logo = ImagensIcones().imgLogoVUX.deviceIndependentSize();
    const QImage imagem =
        LogoVUX(logo.scaled(QSizeF(50, 50), Qt::KeepAspectRatio), Vista->devicePixelRatioF());
    auto* caixa = new QLabel(Vista);
    caixa->setGeometry(QRect(Posicao, QSize(50, 50)));
    caixa->setAlignment(Qt::AlignCenter);
    caixa->setPixmap(QPixmap::fromImage(imagem));
    caixa->show();
    return caixa;
}

TDataEdit* TVendasHora::CriaDataEdit(QWidget* Vista, const QString& Nome, QPoint Posicao)
{
    auto* edicao = new TDataEdit(Vista);
    edicao->setObjectName(Nome);
    edicao->setGeometry(QRect(Posicao, QSize(87, 20)));
    // The whole date fits the 60 pixels of text area.
    QFont fonte = edicao->font();
    fonte.setPixelSize(10);
    edicao->setFont(fonte);
    edicao->show();
    // Queued, so that an error of the refresh reaches the event loop's report
    // from the event itself and not from inside the calendar's own code.
    connect(
        edicao, &QDateEdit::dateChanged, this,
        [this, edicao] { plataforma::Tratando([&] { OnChangeCalendEdit(edicao); }); },
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
    if (Sender == tmrPrincipal) {
        if (Lendo())
            return;
        if (FTiquesAPular > 0) {
            --FTiquesAPular;
            return;
        }
    } else {
        // The user's own day change or save tries at once.
        FTiquesAPular = 0;
    }
    TGadgetResDet::IniciarGadget(Sender);
    Ler();
}

// Doubles the wait, in ticks of the refresh timer, up to the longest one
// (never less than one tick).
void TVendasHora::EsperaMaisPelaProximaTentativa()
{
    const int periodo = tmrPrincipal->Interval();
    const int maximo = periodo > 0 ? std::max(1, ESPERA_MAXIMA_MS / periodo) : 1;
    FEsperaTiques = std::min(maximo, FEsperaTiques == 0 ? 2 : FEsperaTiques * 2);
    FTiquesAPular = FEsperaTiques - 1;
}

void TVendasHora::Ler()
{
    AbandonaLeitura();
    auto leitura = std::make_shared<TLeitura>(*FConfig, DataAtual);
    TConexao* conexao = FConexao;
    FLeitura = TFilaBanco::Programa().Enfileirar(
        this,
        [leitura, conexao, cache = FCache] {
            try {
                conexao->conectarBanco();
                const TLiberacaoEmbutido liberacao(*conexao);
                const QString empresa = leitura->Config.Empresa();
                leitura->NomeFilial =
                    empresa.isEmpty()
                        ? TODAS_AS_FILIAIS
                        : NomeFilial(empresa).value_or(FILIAL_NAO_ENCONTRADA.arg(empresa));
                leitura->Dados->ValorDasVendas(leitura->Config, *conexao, leitura->Data,
                                               leitura->Comparacao, cache.get(), leitura->Hoje,
                                               leitura->Agora);
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
        try {
            std::rethrow_exception(Erro);
        } catch (const ErroTempoEsgotado& e) {
            // Asked again at every tick, a database that cannot answer in
            // time spends its server on the gadget instead of the tills.
            EsperaMaisPelaProximaTentativa();
            throw ::Erro(e.texto() + u'\n' + AVISO_TEMPO_ESGOTADO);
        } catch (...) {
            FEsperaTiques = 0;
            throw;
        }
    }
    FEsperaTiques = 0;
    FDados = std::move(Leitura.Dados);
    FDiaDados = Leitura.Data;
    FEmpresaDados = Leitura.Config.Empresa();

    const TComparacao comparacao = FDados->Comparacao();
    Serie = ChGraficoMin->NovaSerie(QStringLiteral("LineGraf"), comparacao != TComparacao::Nada);
    SerieMax =
        ChGraficoMax->NovaSerie(QStringLiteral("LineGrafMax"), comparacao != TComparacao::Nada);
    const std::optional<QTime> agora = Leitura.AgoraSeHoje();
    const TIndicadores indicadores = FDados->Indicadores(agora);
    const std::vector<TTabelaVendasHora::Linha>& linhas = FDados->CdsTemp().linhas();
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
        grafico->setPontoAberto(indicadores.HoraCorrente);
        grafico->setTitulo(NOME_GGT_VENDAS_HORA);
    }
    MostraTotais(lblTotaisMax, LinhaDeTotais(indicadores, comparacao));
    ChGraficoMin->setDestaque(TextoReais(indicadores.Total), std::nullopt);
    if (const std::optional<double> meta = LerMetaDia(Leitura.Config.MetaDia()))
        ChGraficoMax->setDestaque(TextoMeta(PercentualMeta(indicadores.Total, *meta)),
                                  indicadores.Total / *meta);
    else
        ChGraficoMax->setDestaque(QString(), std::nullopt);
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

void TVendasHora::RecebeCliqueDireito(QWidget* Controle)
{
    Controle->installEventFilter(this);
    for (QObject* filho : Controle->children())
        if (auto* controle = qobject_cast<QWidget*>(filho))
            RecebeCliqueDireito(controle);
}

bool TVendasHora::eventFilter(QObject* Objeto, QEvent* Evento)
{
    if (Evento->type() != QEvent::ContextMenu)
        return TGadgetResDet::eventFilter(Objeto, Evento);
    auto* controle = static_cast<QWidget*>(Objeto);
    QWidget* vista = rtgDetalhe->isAncestorOf(controle) || controle == rtgDetalhe
                         ? static_cast<QWidget*>(rtgDetalhe)
                         : static_cast<QWidget*>(rtgResumo);
    const QPoint posicao = static_cast<QContextMenuEvent*>(Evento)->globalPos();
    plataforma::Tratando([&] { AbreMenuContexto(vista, posicao); });
    return true;
}

void TVendasHora::AbreMenuContexto(QWidget* Vista, QPoint Posicao)
{
    FVistaDoMenu = Vista;
    // The table and the CSV need a day read; the picture is of what shows.
    const QList<QAction*> acoes = FMenuContexto->actions();
    acoes[0]->setEnabled(!FDiaDados.isEmpty());
    acoes[2]->setEnabled(!FDiaDados.isEmpty());
    FMenuContexto->popup(Posicao);
}

void TVendasHora::CopiaTabela()
{
    if (FDiaDados.isEmpty())
        return;
    const TIndicadores indicadores = FDados->Indicadores(std::nullopt);
    auto* conteudo = new QMimeData;
    conteudo->setText(TextoTabelaCopia(FDados->CdsTemp(), indicadores));
    conteudo->setHtml(HtmlTabelaCopia(FDados->CdsTemp(), indicadores));
    QGuiApplication::clipboard()->setMimeData(conteudo);
}

void TVendasHora::SalvaImagem(QWidget* Vista)
{
    if (!Vista)
        return;
    // Taken before the dialog: the picture is of the moment asked for, at
    // the screen's pixel ratio, its rounded corners see-through.
    const qreal escala = Vista->devicePixelRatioF();
    QPixmap imagem(Vista->size() * escala);
    imagem.setDevicePixelRatio(escala);
    imagem.fill(Qt::transparent);
    Vista->render(&imagem, QPoint(), QRegion(), QWidget::DrawChildren);
    const QString dia = FDiaDados.isEmpty() ? DataAtual : FDiaDados;
    const QString empresa = FDiaDados.isEmpty() ? FConfig->Empresa() : FEmpresaDados;
    const QString caminho = ArquivoEscolhido(
        frmPrincipal, QStringLiteral("Salvar imagem"),
        plataforma::CaminhoSugerido(QStandardPaths::PicturesLocation,
                                    NomeArquivoDoDia(DataDe(dia), empresa, QStringLiteral("png"))),
        QStringLiteral("Imagem PNG (*.png)"), QStringLiteral("png"));
    if (caminho.isEmpty())
        return;
    GravaArquivo(caminho, [&](QIODevice& arquivo) { return imagem.save(&arquivo, "PNG"); });
}

void TVendasHora::ExportaCsv()
{
    if (FDiaDados.isEmpty())
        return;
    // Built before the dialog, from the figures on view: the same bytes as
    // vendas-por-hora-csv --detalhado prints for the day.
    const QByteArray texto = TextoCsvDetalhado(FDados->CdsTemp(), FDados->Indicadores(std::nullopt),
                                               FDados->Comparacao())
                                 .toUtf8();
    const QString caminho = ArquivoEscolhido(
        frmPrincipal, QStringLiteral("Exportar CSV"),
        plataforma::CaminhoSugerido(
            QStandardPaths::DocumentsLocation,
            NomeArquivoDoDia(DataDe(FDiaDados), FEmpresaDados, QStringLiteral("csv"))),
        QStringLiteral("Planilha CSV (*.csv)"), QStringLiteral("csv"));
    if (caminho.isEmpty())
        return;
    GravaArquivo(caminho, [&](QIODevice& arquivo) { return arquivo.write(texto) == texto.size(); });
}

void TVendasHora::AbreListaFiliais(QLabel* Rotulo)
{
    delete FListaFiliais.data();
    auto* lista = new TMenuEscuro(frmPrincipal);
    FListaFiliais = lista;
    lista->addAction(QStringLiteral("Lendo as filiais…"))->setEnabled(false);
    const auto fecha = [this, lista] {
        if (FLeituraFiliais)
            TFilaBanco::Programa().Abandonar(std::exchange(FLeituraFiliais, 0));
        lista->deleteLater();
        if (!PonteiroSobreOGadget())
            RFecharMouseLeave(lista);
    };
    connect(lista, &QMenu::aboutToHide, this, fecha);

    // Read as the configuration dialog reads them, on the database thread.
    auto filiais = std::make_shared<QList<TFilial>>();
    TConexao* conexao = FConexao;
    FLeituraFiliais = TFilaBanco::Programa().Enfileirar(
        this,
        [filiais, conexao] {
            try {
                conexao->conectarBanco();
                const TLiberacaoEmbutido liberacao(*conexao);
                TQuery busca(conexao->getBancoDados(), conexao->getTransaction());
                *filiais = LerFiliaisAtivas(busca);
            } catch (...) {
                if (TFilaBanco::Programa().AbortouTrabalhoAtual())
                    conexao->descartar();
                throw;
            }
        },
        [this, lista, filiais](std::exception_ptr erro) {
            FLeituraFiliais = 0;
            if (erro) {
                lista->close();
                plataforma::MostrarErro(erro);
                return;
            }
            lista->clear();
            const QByteArray atual = FConfig->Empresa().isEmpty()
                                         ? QByteArray()
                                         : FConfig->BytesNoArquivo(FConfig->Empresa());
            const auto entrada = [&](const QString& texto, const QByteArray& codigo) {
                QAction* acao = lista->addAction(texto);
                acao->setCheckable(true);
                acao->setChecked(codigo == atual);
                connect(
                    acao, &QAction::triggered, this,
                    [this, codigo] { plataforma::Tratando([&] { EscolheFilial(codigo); }); },
                    Qt::QueuedConnection);
                if (acao->isChecked())
                    lista->setActiveAction(acao);
            };
            entrada(TODAS_AS_FILIAIS, QByteArray());
            for (const TFilial& filial : std::as_const(*filiais))
                entrada(filial.Texto(), filial.Codigo);
        });
    lista->popup(Rotulo->mapToGlobal(QPoint(0, Rotulo->height())));
}

void TVendasHora::EscolheFilial(const QByteArray& Codigo)
{
    if (Codigo.isNull())
        FConfig->setEmpresa(QString());
    else
        FConfig->setEmpresaDoBanco(Codigo);
    if (FrmConfiguracao)
        FrmConfiguracao->MostraEmpresa(Codigo);
    // The file's code is what the reading uses: the gadget reloads once it
    // is saved, as after the dialog's "Salvar".
    TFilaGravacao::Programa().Salvar(*FConfig, this, [this](std::exception_ptr erro) {
        if (erro)
            plataforma::MostrarErro(erro);
        else
            plataforma::Tratando([this] { IniciarGadget(this); });
    });
}
