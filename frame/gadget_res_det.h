#pragma once

#include "frame/gadget.h"

#include <QFlags>

class QLabel;

enum class TEstiloFonte {
    Negrito = 0x1,
    Italico = 0x2,
    Sublinhado = 0x4,
    Riscado = 0x8,
};
Q_DECLARE_FLAGS(TEstilosFonte, TEstiloFonte)
Q_DECLARE_OPERATORS_FOR_FLAGS(TEstilosFonte)

// A gadget with two views of the same data: the summary rtgResumo and the
// detail rtgDetalhe, swapped by the strip's maximise and minimise buttons.
// Holds the start and refresh steps that every two-view gadget shares.
class TGadgetResDet : public TGadget {
    Q_OBJECT

public:
    explicit TGadgetResDet(QWidget* AOwner);

    void RMaximizarClick(QObject* Sender) override;
    void RMinimizarClick(QObject* Sender) override;
    // Refresh period, opacity of the views, always-on-top, tray icon and
    // taskbar. A concrete gadget runs this first, then loads its data.
    void IniciarGadget(QObject* Sender) override;

protected:
    // Sets up a label already placed in a view. Tamanho is the font's size
    // in logical pixels; Alinhamento is the horizontal alignment (the text
    // is centred vertically). The height is left alone unless AutoSize.
    void ConfigLabel(QLabel* ALabel, const QString& Fonte, const QString& Texto, int Tamanho,
                     TEstilosFonte Estilo, double X, double Y, double Width,
                     Qt::Alignment Alinhamento, bool WordWrap, bool AutoSize);

    // Places the dialog Form with VerificaPosForm over the view on show.
    void PosicionaSobreAVista(QWidget* Form);

    TRetangulo* rtgResumo;
    TRetangulo* rtgDetalhe;
};
