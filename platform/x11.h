#pragma once

#include <xcb/xcb.h>

class QWidget;

// What the X11 files of this folder share. Only for Qt on xcb.
namespace plataforma {

// The application's X connection; null when Qt does not run on xcb.
xcb_connection_t* ConexaoX11();

// janela's native window as it is now. A change of flags can make Qt put a
// new native window under the same QWindow, and QWidget::winId goes on
// giving the old one.
xcb_window_t JanelaX(QWidget* janela);

xcb_atom_t Atomo(xcb_connection_t* conexao, const char* nome);

} // namespace plataforma
