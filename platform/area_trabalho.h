#pragma once

#include <QString>

#include <functional>

class QIcon;
class QMenu;
class QObject;
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
// one appears. A click on it brings janela back with Restaurar; a right
// click opens the menu DefinirMenuBandeja gave, if any.
void MostrarIconeBandeja(QWidget* janela, const QIcon& icone, const QString& dica);
void RemoverIconeBandeja();

// The menu of the notification-area icon, now and of those made later; its
// owner keeps it.
void DefinirMenuBandeja(QMenu* menu);

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

// Lets only pixels (device pixels) of janela's window take the pointer,
// leaving what it shows alone; an empty region lifts that limit, so that
// the window's shape alone decides. Does nothing where the windowing system
// has no such shapes.
void DefinirEntradaJanela(QWidget* janela, const QRegion& pixels);

// Whether a compositing manager draws the screen: see-through pixels then
// blend with what lies beneath instead of coming out black.
bool ComposicaoAtiva();

// Runs aoMudar whenever a compositing manager starts or stops, for as long
// as contexto lives.
void AoMudarComposicao(QObject* contexto, std::function<void()> aoMudar);

// Keeps janela, not shown yet, off the taskbar and the pager, and on every
// workspace like the gadget, once it shows.
void ForaDaBarraAoMostrar(QWidget* janela);

// Where a window stays among the others.
enum class TCamada {
    Topo, // above every ordinary window
    AreaDeTrabalho, // with the desktop widgets, below ordinary windows
};

// Makes janela, before it first shows, a desktop gadget for the window
// manager: a window that showing the desktop leaves on view.
void MarcarComoGadget(QWidget* janela);

// Puts janela in camada, changing the live window (no new native window, no
// flicker). From the desktop, Restaurar brings it to the front until the
// user turns to another program.
void DefinirCamada(QWidget* janela, TCamada camada);

// Shows janela again, not minimised, in front of other windows, and
// activates it.
void Restaurar(QWidget* janela);

// For a janela just minimised: runs restaurar once the desktop is no longer
// being shown (at once when it is not).
void AoSairDoMinimizado(QWidget* janela, std::function<void()> restaurar);

} // namespace plataforma
