#pragma once

#include <QString>
#include <memory>

class QWidget;
class TConfig;
class TConexao;

// The start-up of one run: single-instance lock, configuration, database
// settings check, connection, the gadget's defaults written back. Owns the
// configuration record and the connection for the whole run.
class TInicializacao {
public:
    TInicializacao(QWidget* Form, const QString& SecaoIni, const QString& SiglaGgt);
    ~TInicializacao();

    bool IniciandoGadget() const { return FIniciandoGadget; }
    void SetIniciandoGadget(bool valor) { FIniciandoGadget = valor; }

    TConfig* GetConfiguracao() const { return FConfiguracao.get(); }
    TConexao* GetConexao() const { return FConexao.get(); }
    // Detaches and lets go of the connection; run on the database thread.
    void FecharConexao();

private:
    bool FIniciandoGadget = false;
    std::unique_ptr<TConfig> FConfiguracao;
    std::unique_ptr<TConexao> FConexao;
};
