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
class MensagemEntrada {
public:
    MensagemEntrada(Firebird::IMessageMetadata* descricao, const QList<QVariant>& valores);

    // Both are null for a statement without parameters.
    Firebird::IMessageMetadata* metadados() const { return FMetadados.get(); }
    void* dados() { return FMetadados ? FDados.data() : nullptr; }

private:
    fb::Ref<Firebird::IMessageMetadata> FMetadados;
    QByteArray FDados;
};

// Reads the rows a cursor fetches into dados(), by the statement's own
// description of its columns.
class MensagemSaida {
public:
    explicit MensagemSaida(Firebird::IMessageMetadata* descricao);

    const QStringList& colunas() const { return FColunas; }
    unsigned char* dados() { return reinterpret_cast<unsigned char*>(FDados.data()); }
    // Null columns read as an invalid QVariant; text columns as the bytes the
    // database holds (a QByteArray), decoded by whoever shows them.
    QList<QVariant> linha() const;

private:
    struct Coluna {
        unsigned tipo;
        int escala;
        unsigned tamanho;
        unsigned deslocamento;
        unsigned deslocamentoNulo;
    };
    QList<Coluna> FDescricao;
    QStringList FColunas;
    QByteArray FDados;
};
