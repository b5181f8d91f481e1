#pragma once

#include <QByteArray>
#include <QString>

// Whether a graphical session answers, asked before Qt tries it: Qt ends the
// process with an abort (and a core) when its display does not answer.
namespace plataforma {

// True when the X server of tela (a DISPLAY value) accepts a connection.
bool ServidorXResponde(const QByteArray& tela);

// The socket a Wayland client opens for nome (a WAYLAND_DISPLAY value):
// an absolute path as it is, else under $XDG_RUNTIME_DIR; "wayland-0" when
// nome is empty.
QString SoqueteWayland(const QString& nome);

// True when a Wayland compositor listens on the socket at caminho.
bool CompositorWaylandResponde(const QString& caminho);

} // namespace plataforma
