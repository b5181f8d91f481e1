#pragma once

#include "data/firebird.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// The input message of a statement: each value converted to the type that the
// statement's description of that parameter asks for. Text goes as VARCHAR of
// its own length, UTF-8 (a QByteArray as its raw bytes); a value that does not
// fit the asked type (text for a number or a date) goes as text, for the
// server to convert.
class TMensagemEntrada {
public:
    TMensagemEntrada(Firebird::IMessageMetadata* descricao, const QList<QVariant>& valores);

    // Both are null for a statement without parameters.
    Firebird::IMessageMetadata* Metadados() const { return FMetadados.get(); }
    void* Dados() { return FMetadados ? FDados.data() : nullptr; }

private:
    fb::TRef<Firebird::IMessageMetadata> FMetadados;
    QByteArray FDados;
};

// Reads the rows a cursor fetches into Dados(), by the statement's own
// description of its columns.
class TMensagemSaida {
public:
    explicit TMensagemSaida(Firebird::IMessageMetadata* descricao);

    const QStringList& Colunas() const { return FColunas; }
    unsigned char* Dados() { return reinterpret_cast<unsigned char*>(FDados.data()); }
    // Null columns read as an invalid QVariant; text columns as the bytes the
    // database holds (a QByteArray), decoded by whoever shows them.
    QList<QVariant> Linha() const;

private:
    struct TColuna {
        unsigned tipo;
        int escala;
        unsigned tamanho;
        unsigned deslocamento;
        unsigned deslocamentoNulo;
    };
    QList<TColuna> FDescricao;
    QStringList FColunas;
    QByteArray FDados;
};
