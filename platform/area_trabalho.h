#pragma once

#include <QString>

#include <functional>

class QIcon;
class QRegion;
class QWidget;

// The desktop services the program's windows tie into. Every system provides
// these routines in its own files; this tree holds the freedesktop ones: Qt's
// tray icon and the X11 window state. The services without a window are in
// sessao.h.
namespace plataforma {

// The program's one notification-area icon, made once and afterwards only
// changed where its picture or tip differ (trays show every new icon as a
// new entry). janela owns the icon; where no tray exists yet, it shows once
// one appears. A click on it brings janela back with Restaurar.
void MostrarIconeBandeja(QWidget* janela, const QIcon& icone, const QString& dica);
void RemoverIconeBandeja();

// The window that stands for the application on the desktop.
void DefinirJanelaPrincipal(QWidget* janela);
QWidget* JanelaPrincipal();

// Hides janela, waits 125 ms, keeps it off the taskbar and the pager, puts it
// on every workspace, and shows it again.
void TirarDaBarraTarefas(QWidget* janela);

// Sets the shape of janela's window to pixels, given in device pixels,
// finer than QWidget::setMask can at a pixel ratio above 1. Does nothing
// where the windowing system has no such shapes.
void DefinirFormaJanela(QWidget* janela, const QRegion& pixels);

// Keeps janela, not shown yet, off the taskbar and the pager, and on every
// workspace like the gadget, once it shows.
void ForaDaBarraAoMostrar(QWidget* janela);

// Shows janela again, not minimised, above other windows.
void Restaurar(QWidget* janela);

// For a janela just minimised: runs restaurar once the desktop is no longer
// being shown (at once when it is not).
void AoSairDoMinimizado(QWidget* janela, std::function<void()> restaurar);

} // namespace plataforma
