#pragma once

#include "platform/seams.h"

#include <QString>

namespace plataforma {

// Every message box of the program goes through here. With
// $VANTREL_MESSAGE_LOG set, the message is appended to that file (caption,
// text, "--") and answered as if "OK" had been pressed.
void MostrarMensagem(Caixa caixa, const QString& texto);

} // namespace plataforma
