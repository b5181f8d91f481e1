#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// A UTF-16 file's text held as 8-bit bytes: each code unit as UTF-8 writes a
// character of that value, a surrogate too, so that nothing is lost and the
// line and name rules of an 8-bit file apply.
namespace ini {

QByteArray Utf16ParaInterno(QByteArrayView bytes, bool grandeExtremidade);
QByteArray TextoParaInterno(QStringView texto);
QString InternoParaTexto(QByteArrayView interno);
// Appends the code units to saida in the file's byte order.
void InternoParaUtf16(QByteArrayView interno, bool grandeExtremidade, QByteArray& saida);

} // namespace ini
