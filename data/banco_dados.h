#pragma once

#include "base/erro.h"
#include "data/firebird.h"

#include <QString>

// The database server answered and refused the configured user name or
// password: no other attempt, and no other way in, would help.
class TErroLoginRecusado : public TErro {
public:
    TErroLoginRecusado();
};

// Why, and what to fix, as the user is told after "Não foi possível conectar
// ao banco de dados".
extern const QString MOTIVO_LOGIN_RECUSADO;

// Nothing answered at the server's address (no connection could be made, or
// no such host): an error in which no server took part.
bool NenhumServidorResponde(const fb::TErroFirebird& erro);

// The database attachment object of a connection. It outlives every attach
// and detach, so a query made on it always uses the attachment of the moment.
class TBancoDados {
public:
    TBancoDados() = default;
    TBancoDados(const TBancoDados&) = delete;
    TBancoDados& operator=(const TBancoDados&) = delete;

    const QString& NomeBanco() const { return FNomeBanco; }
    void SetNomeBanco(const QString& nome) { FNomeBanco = nome; }

    // Attaches in at most a few attempts, each bounded in time. A local file
    // goes through the database server of this machine whenever one answers
    // there, whatever it answers, and through the embedded engine only when
    // none does; the server is asked first at every attach. Throws TErro with
    // the reason, which never holds the password; TErroLoginRecusado at once
    // when the server refuses the login.
    void Conectar(bool local, const QString& usuario, const QString& senha);
    void Desanexar();
    // Lets go of an attachment whose client side was closed, without asking
    // the server anything.
    void Descartar();
    bool Anexado() const { return bool(FAnexo); }

    // Detaches an attachment of the embedded engine, which keeps the file
    // from the server while it lasts; the next query attaches again. Never
    // throws.
    void LiberarEmbutido();
    // Before a query: attaches again after LiberarEmbutido, and then returns
    // true (the query lets go again when done); a database never attached is
    // an error.
    bool PrepararConsulta();

    Firebird::IAttachment* Anexo() const { return FAnexo.get(); }
    // The dialect statements are prepared with: 3, or the database's own
    // when that is lower.
    unsigned Dialeto() const { return FDialeto; }
    bool ViaEmbutido() const { return FViaEmbutido; }
    // Changes at every detach but LiberarEmbutido's: what was read under
    // another value was read from an attachment that is gone.
    quint64 Geracao() const { return FGeracao; }

private:
    void AnexarUmaVez();
    void AnexarLocal();
    void AnexarPor(const QString& nome, const char* provedores);

    QString FNomeBanco;
    bool FLocal = false;
    QString FUsuario;
    QString FSenha;
    fb::TRef<Firebird::IAttachment> FAnexo;
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
    void Iniciar(TBancoDados& banco);
    void Encerrar();
    // Rolls back a running transaction.
    void Desativar();
    // Lets go of the transaction of a closed attachment.
    void Descartar();
    bool Ativa() const { return bool(FTransacao); }

    Firebird::ITransaction* Transacao() const { return FTransacao.get(); }

private:
    fb::TRef<Firebird::ITransaction> FTransacao;
};
