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

    // Attaches in at most a few attempts, each bounded in time. A local file
    // goes through the database server of this machine when that answers,
    // opens the file and takes the login, and through the embedded engine
    // otherwise; the way that worked last for the file in this process goes
    // first. Throws Erro with the reason, which never holds the password.
    void conectar(bool local, const QString& usuario, const QString& senha);
    void desanexar();
    // Lets go of an attachment whose client side was closed, without asking
    // the server anything.
    void descartar();
    bool anexado() const { return bool(FAnexo); }

    // Detaches an attachment of the embedded engine, which keeps the file
    // from the server while it lasts; the next query attaches again. Never
    // throws.
    void liberarEmbutido();
    // Before a query: attaches again after liberarEmbutido, and then returns
    // true (the query lets go again when done); a database never attached is
    // an error.
    bool prepararConsulta();

    Firebird::IAttachment* anexo() const { return FAnexo.get(); }
    // The dialect statements are prepared with: 3, or the database's own
    // when that is lower.
    unsigned dialeto() const { return FDialeto; }
    bool viaEmbutido() const { return FViaEmbutido; }
    // Changes at every detach but liberarEmbutido's: what was read under
    // another value was read from an attachment that is gone.
    quint64 geracao() const { return FGeracao; }

private:
    void anexarUmaVez();
    void anexarLocal();
    void anexarPor(const QString& nome, const char* provedores);

    QString FNomeBanco;
    bool FLocal = false;
    QString FUsuario;
    QString FSenha;
    fb::Ref<Firebird::IAttachment> FAnexo;
    unsigned FDialeto = 3;
    bool FViaEmbutido = false;
    bool FLiberado = false;
    quint64 FGeracao = 0;
};

// The transaction of one query: read-only, started right before the query
// and ended as soon as its rows are read. None stays open between refreshes,
// where it would hold back the garbage collection of a busy database.
class TTransacao {
public:
    TTransacao() = default;
    TTransacao(const TTransacao&) = delete;
    TTransacao& operator=(const TTransacao&) = delete;

    // Read-only read committed: the query sees what is committed as it
    // reads.
    void iniciar(TBancoDados& banco);
    void encerrar();
    // Rolls back a running transaction.
    void desativar();
    // Lets go of the transaction of a closed attachment.
    void descartar();
    bool ativa() const { return bool(FTransacao); }

    Firebird::ITransaction* transacao() const { return FTransacao.get(); }

private:
    fb::Ref<Firebird::ITransaction> FTransacao;
};
