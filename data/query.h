#pragma once

#include "data/banco_dados.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

// One row of a result read through TQuery::Percorrer, valid during the call
// that hands it over. Reads as TQuery's rows read.
class TLinhaQuery {
public:
    TLinhaQuery(const QStringList& colunas, const QList<QVariant>& valores)
        : FColunas(colunas),
          FValores(valores)
    {
    }
    QVariant Value(const QString& coluna) const;
    QString AsString(const QString& coluna) const;
    QByteArray AsBytes(const QString& coluna) const;
    double AsFloat(const QString& coluna) const;

private:
    const QStringList& FColunas;
    const QList<QVariant>& FValores;
};

// A SELECT with named parameters (":Nome") on a connection's database and
// transaction. Open() runs it in a transaction of its own, fetches the whole
// result into memory and ends the transaction, so nothing is left open on
// the server; a reconnect makes the query read as closed all the same.
// The database and transaction objects must outlive every use of the query;
// destroying it touches neither.
class TQuery {
public:
    TQuery(TBancoDados& banco, TTransacao& transacao);
    TQuery(const TQuery&) = delete;
    TQuery& operator=(const TQuery&) = delete;

    // Changing the statement closes the query; parameter values stay.
    void SetSQL(const QStringList& linhas);
    void AdicionarLinha(const QString& linha);
    void LimparSQL();
    QString TextoSQL() const;

    // Names match without regard to case. An invalid QVariant is null.
    void SetParam(const QString& nome, const QVariant& valor);

    void Open();
    // Runs the statement as Open() does, but hands each row to aCadaLinha as
    // it is fetched and keeps none: memory does not grow with the result.
    // The query stays closed.
    void Percorrer(const std::function<void(const TLinhaQuery&)>& aCadaLinha);
    void Close();
    bool IsOpen() const;

    int Linhas() const;
    const QStringList& Colunas() const { return FColunas; }
    // A row past the end reads as null, as the current row of an empty
    // result does; an unknown column is an error.
    QVariant Value(int linha, const QString& coluna) const;
    QString AsString(int linha, const QString& coluna) const;
    // A text column's bytes as the database holds them, any other column's
    // value as UTF-8 text; empty for null.
    QByteArray AsBytes(int linha, const QString& coluna) const;
    double AsFloat(int linha, const QString& coluna) const;

private:
    QVariant Bruto(int linha, const QString& coluna) const;
    // Runs the statement in a transaction of its own; returns the columns.
    QStringList
    Executar(const std::function<void(const QStringList&, const QList<QVariant>&)>& aCadaLinha);

    TBancoDados& FBanco;
    TTransacao& FTransacao;
    QStringList FSQL;
    QHash<QString, QVariant> FParametros;
    bool FAberta = false;
    quint64 FGeracaoAberta = 0;
    QStringList FColunas;
    QList<QList<QVariant>> FLinhas;
};
