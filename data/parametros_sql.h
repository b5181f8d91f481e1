#pragma once

#include <QString>
#include <QStringList>

// A statement with its named parameters (":Nome") turned into the "?" that
// Firebird takes. nomes holds the parameter of each "?" in order, upper case,
// so a name used twice appears twice.
struct TSqlPosicional {
    QString sql;
    QStringList nomes;
};

// Names are looked for outside quoted literals ('...', "...") and comments
// (-- to the end of the line, /* ... */).
TSqlPosicional ReescreverParametros(const QString& sql);
