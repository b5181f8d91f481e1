#pragma once

#include "data/banco_dados.h"

#include <QString>

// The attachment to the retail database with its one transaction. Every
// conectarBanco starts afresh: a query run after it sees everything committed
// up to that moment.
class TConexao {
public:
    TConexao() = default;
    virtual ~TConexao();
    TConexao(const TConexao&) = delete;
    TConexao& operator=(const TConexao&) = delete;

    void setConfiguracao(const QString& Tipo, const QString& Prot, const QString& Serv,
                         const QString& CamBanco, const QString& Usu, const QString& Senha);

    // Rolls back, detaches, attaches again (at most a few attempts, each
    // bounded in time) and starts a new transaction. Throws Erro with the
    // server's reason when every attempt failed; false when the transaction
    // could not start.
    bool conectarBanco();
    bool conectado() const;

    TBancoDados& getBancoDados() { return FIBDataVantrel; }
    TTransacao& getTransaction() { return FIBTransVantrel; }

private:
    QString FLocRem;
    QString FProtocolo;
    QString FServidor;
    QString FCaminhoBanco;
    QString FUsuario;
    QString FSenha;
    TBancoDados FIBDataVantrel;
    TTransacao FIBTransVantrel;
};

// The database name that the location settings give; anterior when they name
// no known network form.
QString NomeDoBanco(const QString& LocRem, const QString& Protocolo, const QString& Servidor,
                    const QString& CaminhoBanco, const QString& anterior);
