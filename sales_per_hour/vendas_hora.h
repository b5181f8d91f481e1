#pragma once

#include "frame/gadget_res_det.h"
#include "sales_per_hour/leitura_vendas.h"
#include "sales_per_hour/vendas_hora_dados.h"

#include <QByteArray>
#include <QPoint>
#include <QPointF>
#include <QPointer>
#include <QSize>
#include <QString>
#include <memory>
#include <optional>

class QDate;
class QLabel;
class QLineSeries;
class TBotao;
class TDataEdit;
class TGraficoVendas;
class TMenuEscuro;
class TRetangulo;

// The sales-per-hour gadget: for one day, a line chart of the sales of each
// business hour, in a summary view and a larger detail view that always show
// the same day, each with the branch name, the weekday, "<" and ">" buttons
// and a date edit to change the day. Beside the day's line a grey one shows
// the day it is compared with; the detail view adds a line of totals and how
// far the day is from its goal, the summary view the day's total; each
// point's tooltip gives its hour's figures.
class TVendasHora : public TGadgetResDet {
    Q_OBJECT

public:
    // Builds both views on the host window AOwner; runs no query.
    explicit TVendasHora(QWidget* AOwner);
    ~TVendasHora() override;

    // Reloads the day in DataAtual: the shared steps here, then a fresh
    // connection, the branch name and the sales query on the database
    // thread; their results come back to new series for both charts. On an
    // error the charts and weekdays keep what they showed. A tick of the
    // refresh timer while a reading runs is let go, and so are more and more
    // ticks after readings cut by the time limit; any other call drops the
    // running reading and starts anew.
    void IniciarGadget(QObject* Sender) override;

    // Whether a reading of the database is under way.
    bool Lendo() const { return FLeitura.Lendo(); }
    void RConfClick(QObject* Sender) override;
    void RAboutClick(QObject* Sender) override;

    void OnClickBotaoVoltar(QObject* Sender);
    void OnClickBotaoAvanco(QObject* Sender);
    void OnChangeCalendEdit(QObject* Sender);
    void cleMinMaxKeyDown(QObject* Sender, int& Key, QChar& KeyChar, Qt::KeyboardModifiers Shift);
    void MouseEnterGrafico(QObject* Sender);
    void MouseLeaveGrafico(QObject* Sender);

    // The right-click menu's work, on the day on view: the table on the
    // clipboard as text and as HTML; a PNG of the view Vista as painted; the
    // detailed CSV the companion command prints for the day. Each file
    // through the desktop's save dialog; nothing happens when it is
    // cancelled, or while no day has been read.
    void CopiaTabela();
    void SalvaImagem(QWidget* Vista);
    void ExportaCsv();

    // Applies the branch chosen in the branch list (null: all of them) and
    // saves it as the configuration dialog does; the gadget reloads once the
    // file holds it.
    void EscolheFilial(const QByteArray& Codigo);

protected:
    // Right clicks on the views open the menu.
    bool eventFilter(QObject* Objeto, QEvent* Evento) override;

private:
    struct TControlesVista;
    static const TControlesVista DETALHE;
    static const TControlesVista RESUMO;
    // All but the date edit, in the order they stack in the view.
    void CriaControles(const TControlesVista& Controles);
    // Made after the frame's drag handlers, which it must not get.
    void CriaDataEdit(const TControlesVista& Controles);
    TBotao* CriaBotao(QWidget* Vista, const QString& Nome, const QString& Texto, QPoint Posicao);
    // Cortado: one that ends in "…" when its text is too long.
    QLabel* CriaRotulo(QWidget* Vista, const QString& Nome, bool Cortado = false);
    TGraficoVendas* CriaGrafico(QWidget* Vista, const QString& Nome, const QString& Titulo,
                                QSize Tamanho, int SeparacaoRotulos, bool MarcasCurtas);
    QLabel* CriaLogo(QWidget* Vista, QPoint Posicao);

    // Shows Dia: both date edits, a refresh, the forward buttons. When the
    // refresh fails the previous day comes back in DataAtual and the edits.
    void MudaDia(const QDate& Dia);
    void MostraDiaNasEdicoes(const QDate& Dia);

    // A reading's figures on both views; its error is thrown on, once the
    // day before a failed day change is back.
    void MostraLeitura(TLeitura& Leitura, std::exception_ptr Erro);

    // The right-click menu, and the branch list on the branch labels.
    void CriaMenus();
    // Sends the views' right clicks to eventFilter; the date edits keep
    // their own menu.
    void RecebeCliqueDireito(QWidget* Controle);
    void AbreMenuContexto(QWidget* Vista, QPoint Posicao);
    // A click on a branch label: the branches, read anew, in a list under it.
    void AbreListaFiliais(QLabel* Rotulo);

    QString DataAtual; // the day shown, "dd/mm/yyyy"
    QPointF PosGradIni;
    QPointF PosGradFim;
    QLabel* imgLogoDet;
    QLabel* lblNomeFilialMin;
    QLabel* lblNomeFilialMax;
    QLabel* lblPeriodoMin;
    QLabel* lblPeriodoMax;
    QLabel* lblTotaisMax; // the day's totals under the detail chart
    TBotao* btnVoltMax;
    TBotao* btnAvanMax;
    TBotao* btnVoltMin;
    TBotao* btnAvanMin;
    QLineSeries* Serie = nullptr;
    QLineSeries* SerieMax = nullptr;
    TGraficoVendas* ChGraficoMax;
    TGraficoVendas* ChGraficoMin;
    TDataEdit* cleGrafMax;
    TDataEdit* cleGrafMin;
    // The hourly sales table and the sales query of the day on view.
    std::unique_ptr<TVendasHoraDados> FDados;
    TLeituraVendas FLeitura; // of the day in DataAtual
    // While a day change waits for its reading: the day on view before it,
    // which comes back if the reading fails.
    std::optional<QString> FDiaAnterior;
    // The day FDados holds and its branch; empty before the first reading.
    QString FDiaDados;
    QString FEmpresaDados;
    QPointer<TMenuEscuro> FMenuContexto;
    QPointer<QWidget> FVistaDoMenu; // the view the menu was opened on
    // The list of branches open now, and the reading that fills it.
    QPointer<TMenuEscuro> FListaFiliais;
    quint64 FLeituraFiliais = 0;
    // Where a press on a branch label began: a drag is no click.
    QPoint FPressaoRotulo;
};
