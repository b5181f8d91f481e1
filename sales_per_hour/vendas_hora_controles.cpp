#include "sales_per_hour/vendas_hora.h"

#include "config/config.h"
#include "frame/botao.h"
#include "frame/data_edit.h"
#include "frame/eventos.h"
#include "frame/fonte_rotulos.h"
#include "frame/imagens_icones.h"
#include "frame/retangulo.h"
#include "frame/rotulo.h"
#include "platform/mensagens.h"
#include "sales_per_hour/grafico_vendas.h"

#include <QLabel>

// The controls of both views: where each stands, and how each is made.

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
        grafico->SetTamanhoRotulosEixos(*C.TamanhoRotulosEixos);
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

void TVendasHora::CriaDataEdit(const TControlesVista& C)
{
    auto* edicao = new TDataEdit(this->*C.Vista);
    edicao->setObjectName(QStringLiteral("cleGraf") + C.Sufixo);
    edicao->setGeometry(QRect(C.DataEdit, QSize(87, 20)));
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
    this->*C.CleGraf = edicao;
}
