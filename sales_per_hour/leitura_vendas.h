#pragma once

#include "config/config.h"
#include "config/indicadores.h"
#include "sales_per_hour/vendas_hora_dados.h"

#include <QDate>
#include <QDateTime>
#include <QPointer>
#include <QString>
#include <QTime>
#include <exception>
#include <functional>
#include <memory>
#include <optional>

class QObject;
class QWidget;
class TCacheDias;
class TConexao;
class TTemporizador;

// What a reading brings back from the database thread. The branch text is
// set once the connection worked, so that it shows even when the sales
// query then fails.
struct TLeitura {
    TLeitura(const TConfig& Config, const QString& Data);

    // The time of day the figures are "so far" at, when the day is today.
    std::optional<QTime> AgoraSeHoje() const;

    TConfig Config;
    QString Data;
    TComparacao Comparacao;
    QDate Hoje;
    QDateTime Agora;
    std::optional<QString> NomeFilial;
    std::unique_ptr<TVendasHoraDados> Dados = std::make_unique<TVendasHoraDados>();
};

// The sales view's reading of the database, one at a time: a fresh
// connection, the branch name and the sales query, as a job on the database
// thread, with the past days read kept for the readings to come. While it
// runs the pointer over Ocupado is the busy one. After readings cut by the
// time limit, the ticks of the refresh timer Tiques are let go for longer
// and longer.
class TLeituraVendas {
public:
    // Runs on Dono's thread once a reading has ended, unless it was
    // abandoned.
    using TFim = std::function<void(TLeitura& Leitura, std::exception_ptr Erro)>;

    TLeituraVendas(QWidget* Ocupado, const TTemporizador* Tiques);
    // The job reads the connection, which may go right after its owner:
    // abandoned, and waited for.
    ~TLeituraVendas();
    TLeituraVendas(const TLeituraVendas&) = delete;
    TLeituraVendas& operator=(const TLeituraVendas&) = delete;

    // Whether a refresh reads now. A tick of the refresh timer (Automatica)
    // is let go while a reading runs, and so are more and more ticks after
    // readings cut by the time limit; anything else reads at once.
    bool Aceita(bool Automatica);

    // Drops the running reading and reads the day Data ("dd/mm/yyyy") with
    // Config through Conexao. A reading cut by the time limit reaches Fim
    // as a TErro that also tells of the longer wait.
    void Ler(QObject* Dono, TConexao* Conexao, const TConfig& Config, const QString& Data,
             TFim Fim);
    // Nobody waits for the running reading any more.
    void Abandona();
    bool Lendo() const { return FTrabalho != 0; }

private:
    std::exception_ptr AnotaResultado(std::exception_ptr Erro);
    void EsperaMaisPelaProximaTentativa();

    QPointer<QWidget> FOcupado;
    const TTemporizador* FTiques;
    // Past days read; shared with the database thread's jobs.
    std::shared_ptr<TCacheDias> FCache;
    quint64 FTrabalho = 0; // the database job of the reading under way
    // After readings cut by the time limit: how many ticks of the refresh
    // timer the next automatic try waits (0 when none was cut), and how many
    // of them are still to come.
    int FEsperaTiques = 0;
    int FTiquesAPular = 0;
};
