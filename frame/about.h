#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QPushButton;
class TGadget;
class TRetangulo;

// The about box: the gadget's title, version, equivalent report and
// description on a rounded light panel, with the program's icon, the family
// logo and an OK button. Closing hides it; the one instance is reused.
class TfrmAbout : public QDialog {
    Q_OBJECT

public:
    // Dono: the window the box stays above (the gadget's host).
    explicit TfrmAbout(QWidget* Dono);

    // Shows Gadget's about information; nothing happens without a gadget.
    void CarregaInformacoes(const TGadget* Gadget);
    void btnOkClick();
    // Moves the box wholly onto the primary screen.
    void VerificaMargens();

    TRetangulo* const Rectangle1;
    QLabel* const imgIcone;
    QLabel* const lblTitulo;
    QLabel* const lblVersao;
    QLabel* const lblVer;
    QLabel* const lblRC;
    QLabel* const lblRelCons;
    QLabel* const lblDesc;
    QLabel* const txtDescricao;
    QPushButton* const btnOk;
    QLabel* const imgLogo;

protected:
    void showEvent(QShowEvent* evento) override;
};

// The about box of the run: empty until the first about click, then kept.
inline QPointer<TfrmAbout> frmAbout;
