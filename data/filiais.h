#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class TQuery;

// A branch the user can choose: its code as the database holds it (the
// bytes that the file must keep to name it) and its name.
struct TFilial {
    QByteArray Codigo;
    QString Nome;

    // "01 - Loja Centro", the code whole, however long.
    QString Texto() const;
};

// The active branches, in the database's order, read with busca on the
// database thread; the rows are copied, since a reconnect closes the query.
QList<TFilial> LerFiliaisAtivas(TQuery& busca);
