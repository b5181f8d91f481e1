#pragma once

#include <QDialog>
#include <QPointer>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class TConexao;
class TConfig;
class TGadget;
class TQuery;
class TRetangulo;

// The dialog in which the user chooses, for the running gadget, the branch,
// the business hours, whether imported orders count, the opacity and
// always-on-top, and on a second tab what each day is compared with and
// the daily goal. One instance serves the whole run: it is filled from the
// record once, when made, and later openings show the controls as the user
// left them, saved or cancelled.
class TFrmConfiguracao : public QDialog {
    Q_OBJECT

public:
    // Dono: the window the dialog stays above (the gadget's host). Reads the
    // active branches through Conexao and fills the controls from Config.
    // Throws TErro when the branches cannot be read or a stored opacity or
    // always-on-top setting is not a whole number; no dialog is left then.
    TFrmConfiguracao(QWidget* Dono, TConfig& Config, TConexao& Conexao);
    ~TFrmConfiguracao() override;

    // The gadget whose record "Salvar" changes and which it restarts; set
    // before each opening.
    void AdicionaGadget(TGadget* Gadget);

    // Shows the branch chosen elsewhere (null: all of them), so that the
    // next "Salvar" keeps it.
    void MostraEmpresa(const QByteArray& Codigo);

    // Stores the choices in the gadget's record and file, reconnects,
    // restarts the gadget and closes. An error stops the steps where it
    // happens and leaves the dialog open; a goal that is no amount stops it
    // before anything changes.
    void btnSalvarConfClick();
    // Closes; the controls keep what the user changed.
    void BtnCancelarConfClick();

    TRetangulo* const RConfig;
    QLabel* const Label1;
    QTabWidget* const TabControl1;
    QWidget* const tbiConf;
    QLabel* const lblFilial;
    QComboBox* const ppbEmpresas;
    QLabel* const Label4;
    QSpinBox* const SbHoraIni;
    QLabel* const Label3;
    QSpinBox* const SbHoraFim;
    QLabel* const Label8;
    QCheckBox* const chkConsideraPedidosImportados;
    QWidget* const tbiIndicadores;
    QLabel* const lblComparacao;
    QComboBox* const ppbComparacao;
    QLabel* const lblMetaDia;
    QLineEdit* const edtMetaDia;
    QFrame* const Line1;
    QLabel* const lblOpacidade;
    QComboBox* const ppbOpacidade;
    QCheckBox* const ckbSempreVisivel;
    QPushButton* const btnSalvarConf;
    QPushButton* const BtnCancelarConf;

protected:
    void showEvent(QShowEvent* evento) override;

private:
    void FormCreate(const TConfig& Config, TConexao& Conexao);
    void CriaQueryBusca(TConexao& Conexao);
    // False when the program began to end while the list was read.
    bool CarregaEmpresas();
    // The goal typed, none when empty; throws TErro, showing the field, when
    // it is no amount above zero.
    std::optional<double> MetaDigitada();

    std::unique_ptr<TQuery> qryBusca;
    TGadget* ggtVendasHora = nullptr;
};

// The dialog of the run: empty until the first configure click makes it.
inline QPointer<TFrmConfiguracao> FrmConfiguracao;
