#pragma once

class QWidget;

// The host window's looks for the gadget's controls: "Labelstyle" (blue label
// text), "Buttonstyle" (TBotao, frame/botao.h) and "comboeditstyle" (TDataEdit,
// frame/data_edit.h). The style sheet gives the text colours and the date
// edit's areas; the two classes paint the layered glossy background that a
// style sheet cannot.
void AplicaEstilosHost(QWidget* host);
