#pragma once

#include <QByteArray>
#include <QString>
#include <ostream>

// Readable GoogleTest messages for Qt values.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QByteArray& b, std::ostream* os)
{
    *os << '"' << b.toPercentEncoding(" =[]\"'\\;:/.,_-").toStdString() << '"';
}
