#pragma once

#include <functional>

class QWidget;

// Folds the input-mask updates that many moves in one pass ask for into one.

// Gives host the update to run when asked; the first call wins. From then on
// a compositor that starts or stops asks for it too.
void InstalaAgendaMascara(QWidget* host, std::function<void(QWidget*)> atualiza);

// Asks for one update on the next pass of the event loop; does nothing for a
// window that has no agenda.
void AgendaMascara(QWidget* host);
