#pragma once

#include <QWidget>
#include <memory>

class TInicializacao;
class TVendasHora;

// The borderless, fully transparent window on which the gadget lives, as
// large as what the gadget shows and moved with it.
class TfrmVendasHora : public QWidget {
    Q_OBJECT
public:
    TfrmVendasHora();
    ~TfrmVendasHora() override;

    TInicializacao* Inicializacao() const { return Inic.get(); }

    // Brings the gadget back on view, above other windows.
    void Mostrar();

protected:
    bool event(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void FormCreate();
    void FormActivate();

    std::unique_ptr<TInicializacao> Inic;
    TVendasHora* Gadget = nullptr; // a child of this window
};
