#pragma once

#include "data/banco_dados.h"

#include <QString>

// The attachment to the retail database, and the transaction object in which
// each query reads; no transaction stays open between queries.
class TConexao {
public:
    TConexao() = default;
    ~TConexao();
    TConexao(const TConexao&) = delete;
    TConexao& operator=(const TConexao&) = delete;

    void SetConfiguracao(const QString& Tipo, const QString& Prot, const QString& Serv,
                         const QString& CamBanco, const QString& Usu, const QString& Senha);

    // Detaches and attaches again (at most a few attempts, each bounded in
    // time). Throws TErro with the server's reason when every attempt failed;
    // true otherwise.
    bool ConectarBanco();
    bool Conectado() const;
    // At the end of each refresh's database work: an attachment of the
    // embedded engine would keep the file from the server until the next one.
    // Never throws.
    void LiberarMotorEmbutido();
    // Lets go of an attachment that was aborted from another thread, so that
    // the next ConectarBanco starts clean instead of failing on its remains.
    void Descartar();

    TBancoDados& GetBancoDados() { return FIBDataVantrel; }
    TTransacao& GetTransaction() { return FIBTransVantrel; }

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

// Calls LiberarMotorEmbutido when the scope ends, however it ends.
class TLiberacaoEmbutido {
public:
    explicit TLiberacaoEmbutido(TConexao& conexao) : FConexao(conexao) {}
    ~TLiberacaoEmbutido();
    TLiberacaoEmbutido(const TLiberacaoEmbutido&) = delete;
    TLiberacaoEmbutido& operator=(const TLiberacaoEmbutido&) = delete;

private:
    TConexao& FConexao;
};

// The database name that the location settings give; anterior when they name
// no known network form.
QString NomeDoBanco(const QString& LocRem, const QString& Protocolo, const QString& Servidor,
                    const QString& CaminhoBanco, const QString& anterior);
