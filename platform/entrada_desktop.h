#pragma once

#include <QByteArray>
#include <QString>

namespace plataforma {

// The file name of the start-at-log-on entry named titulo. Letter case is
// ignored, as in the names of Windows' Run key: lower-case ASCII letters and
// digits stay, a blank becomes "-", every other byte of the UTF-8 text becomes
// "_XX" in hex, so that different titles never share a file.
QString NomeArquivoEntrada(const QString& titulo);

// programa as one argument of an Exec line: quoted when it holds a reserved
// character, with "%" doubled.
QString ArgumentoExec(const QString& programa);

// The desktop entry that starts programa under the visible name titulo.
QByteArray TextoEntrada(const QString& titulo, const QString& programa);

// A user's entry that hides the entry of the same file name in the folders
// for all users: autostart then treats that one as deleted.
QByteArray TextoEntradaOculta(const QString& titulo);

// True when the desktop entry texto says "do not start at log-on", as
// desktop session settings write it: Hidden=true, or the GNOME or MATE
// autostart switch set to false.
bool EntradaDesligada(const QByteArray& texto);

} // namespace plataforma
