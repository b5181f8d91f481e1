#pragma once

#include <QWidget>
#include <memory>

class TInicializacao;
class TVendasHora;

// The borderless, fully transparent window as large as the primary screen on
// which the gadget lives.
class TfrmVendasHora : public QWidget {
    Q_OBJECT
public:
    TfrmVendasHora();
    ~TfrmVendasHora() override;

    TInicializacao* inicializacao() const { return Inic.get(); }

protected:
    bool event(QEvent* e) override;

private:
    void FormCreate();
    void FormActivate();

    std::unique_ptr<TInicializacao> Inic;
    TVendasHora* Gadget = nullptr; // a child of this window
};
