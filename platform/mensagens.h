#pragma once

#include "platform/seams.h"

#include <QString>
#include <exception>

namespace plataforma {

// Every message box of the program goes through here. With
// $VANTREL_MESSAGE_LOG set, the message is appended to that file (caption,
// text, "--") and answered as if "OK" had been pressed. A box identical to
// one still open is not shown again. motivo, for the administrator, says what
// the box's fixed text does not: it goes only to the log, as a line
// "Motivo: ..." after the text.
void MostrarMensagem(TCaixa caixa, const QString& texto, const QString& motivo = {});

// Shows the text of an error in a notice box.
void MostrarErro(std::exception_ptr erro);

// Runs a handler that Qt calls. An error must not unwind through Qt's own
// frames, which are built without clean-ups: it is reported here and the
// program goes on.
template <class Manipulador>
void Tratando(Manipulador&& manipulador)
{
    try {
        manipulador();
    } catch (...) {
        MostrarErro(std::current_exception());
    }
}

} // namespace plataforma
