#pragma once

#include <QString>

class QWidget;

// The program's ties to the desktop session. Tests fake all but the lock
// through Ganchos().
namespace plataforma {

// Adicionar true: registers the program to start at log-on under the name
// Gadget; false: removes that registration.
void IniciarComWindows(const QString& Gadget, bool Adicionar);

// The notification-area icon of the program, with Nome as its tooltip: made
// on the first call, afterwards changed only where it differs.
void CriaIcone(QWidget* Form, const QString& Nome);
void DestroiIcone();

// Takes the application's main window off the taskbar.
void EscondeBarraTarefa();

// Ends the process at once, with exit code 0, when another copy of the program
// in this session holds the lock named NomeForm; otherwise holds it until exit.
void VerificaExeAberto(const QString& NomeForm);

} // namespace plataforma
