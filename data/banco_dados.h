#pragma once

#include "data/firebird.h"

#include <QString>

// The database attachment object of a connection. It outlives every attach
// and detach, so a query made on it always uses the attachment of the moment.
class TBancoDados {
public:
    TBancoDados() = default;
    TBancoDados(const TBancoDados&) = delete;
    TBancoDados& operator=(const TBancoDados&) = delete;

    const QString& nomeBanco() const { return FNomeBanco; }
    void setNomeBanco(const QString& nome) { FNomeBanco = nome; }

    // One attempt, bounded by the connect timeout; throws Erro with the
    // server's text, which never holds the password.
    void anexar(const QString& usuario, const QString& senha);
    void desanexar();
    bool anexado() const { return bool(FAnexo); }

    Firebird::IAttachment* anexo() const { return FAnexo.get(); }
    // The dialect statements are prepared with: 3, or the database's own
    // when that is lower.
    unsigned dialeto() const { return FDialeto; }

private:
    QString FNomeBanco;
    fb::Ref<Firebird::IAttachment> FAnexo;
    unsigned FDialeto = 3;
};

// The one transaction of a connection, with the server's default parameters.
class TTransacao {
public:
    TTransacao() = default;
    TTransacao(const TTransacao&) = delete;
    TTransacao& operator=(const TTransacao&) = delete;

    void iniciar(TBancoDados& banco);
    // Rolls back a running transaction.
    void desativar();
    bool ativa() const { return bool(FTransacao); }

    Firebird::ITransaction* transacao() const { return FTransacao.get(); }
    // Changes whenever the transaction starts or ends: a query opened under
    // another value was opened on a transaction that is gone.
    quint64 geracao() const { return FGeracao; }

private:
    fb::Ref<Firebird::ITransaction> FTransacao;
    quint64 FGeracao = 0;
};
