#pragma once

#include <QString>

class QIcon;
class QRegion;
class QWidget;

// The desktop services the program ties into. Every system provides these
// routines in its own files; this tree holds the freedesktop ones: XDG
// autostart entries and flock here in the core, Qt's tray icon and the X11
// window state on the widget side.
namespace plataforma {

// Registers programa to start at every log-on under the name nome: for all
// users where that may be written, else for this user. A registration of the
// same name is replaced. Throws Erro when neither can be written.
void GravarInicioAutomatico(const QString& nome, const QString& programa);

// Removes every registration named nome that exists and may be removed.
void RemoverInicioAutomatico(const QString& nome);

// Takes the lock named nome for this session, held until the process ends.
// False when another process holds it; true otherwise, also when no lock can
// be made at all (the program then runs unprotected).
bool TravarInstanciaUnica(const QString& nome);

// The program's one notification-area icon. A second call replaces it.
// janela owns the icon; where no tray exists yet, it shows once one appears.
void MostrarIconeBandeja(QWidget* janela, const QIcon& icone, const QString& dica);
void RemoverIconeBandeja();

// The window that stands for the application on the desktop.
void DefinirJanelaPrincipal(QWidget* janela);
QWidget* JanelaPrincipal();

// Hides janela, waits 125 ms, keeps it off the taskbar and the pager, and
// shows it again.
void TirarDaBarraTarefas(QWidget* janela);

// Sets the shape of janela's window to pixels, given in device pixels,
// finer than QWidget::setMask can at a pixel ratio above 1. Does nothing
// where the windowing system has no such shapes.
void DefinirFormaJanela(QWidget* janela, const QRegion& pixels);

} // namespace plataforma
