#pragma once

#include <QByteArray>
#include <QString>

// The text as a UTF-16 file with its byte order mark, as Notepad saves
// "Unicode".
inline QByteArray Utf16(const QString& texto, bool grandeExtremidade = false)
{
    QByteArray bytes = grandeExtremidade ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
    for (const QChar c : texto) {
        const char alto = static_cast<char>(c.unicode() >> 8);
        const char baixo = static_cast<char>(c.unicode() & 0xFF);
        bytes.append(grandeExtremidade ? alto : baixo);
        bytes.append(grandeExtremidade ? baixo : alto);
    }
    return bytes;
}
