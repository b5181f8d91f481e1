#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Text from the database and the configuration file comes as 8-bit bytes with
// no declared encoding: UTF-8 when the bytes are valid UTF-8, else Windows-1252.
// utf8, when given, tells which.
QString DecodificarTexto(const QByteArray& bytes, bool* utf8 = nullptr);

// The reverse, for text written back into an 8-bit file: UTF-8 when utf8 is
// true, else Windows-1252 ('?' for what it cannot hold).
QByteArray CodificarTexto(const QString& texto, bool utf8);

// Whether DecodificarTexto would take the bytes as UTF-8, without decoding
// them all at once: a huge file is checked in pieces.
bool Utf8Valido(QByteArrayView bytes);

// Bytes of a text already known to be in one of the two encodings.
QString DecodificarComo(QByteArrayView bytes, bool utf8);
