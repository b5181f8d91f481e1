#pragma once

#include "base/erro.h"

#include <QObject>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

// How long a job may run before it is cut, unless told otherwise: below the
// 60 s that a user waits for a frozen network at most, with room for the
// abort that follows when the cancel is not heard.
inline constexpr std::chrono::seconds LIMITE_LEITURA(50);

// The program's database thread. Every call into the client library is a job
// run here, one after another, so that the UI thread never waits on the
// database; only the stopping of a job (cancel, abort) comes from the
// watchdog, a second thread. A job nobody wants any more has its statement
// cancelled again and again; one that runs past its limit is cancelled, and
// its connections closed when the cancel does not reach the server (a
// network gone silent keeps the socket open and answers nothing) or when no
// statement runs to cancel (a detach waiting on such a network); an attach
// is given no more than the time left. Such a job ends with
// TErroTempoEsgotado. The README's "How a refresh runs" tells the whole story.
class TFilaBanco {
public:
    using TTrabalho = std::function<void()>;
    using TFim = std::function<void(std::exception_ptr erro)>;

    // The one queue of the program.
    static TFilaBanco& Programa();

    // A limite of 0 is none.
    explicit TFilaBanco(std::chrono::milliseconds limite);
    ~TFilaBanco();
    TFilaBanco(const TFilaBanco&) = delete;
    TFilaBanco& operator=(const TFilaBanco&) = delete;

    // For the jobs that start from now on.
    std::chrono::milliseconds Limite() const;
    void SetLimite(std::chrono::milliseconds limite);

    // Queues trabalho; when it ends, fim runs with its error (null when it
    // worked) as a queued call on the thread that made the queue, unless
    // contexto is gone or the job was abandoned. Returns the job's number; 0
    // once the queue is closed, and then nothing runs.
    quint64 Enfileirar(QObject* contexto, TTrabalho trabalho, TFim fim);

    // Nobody wants job `numero` any more: it leaves the queue, or, when it
    // runs, its statement is cancelled; its fim never runs, not even when the
    // job has ended and its result is on its way.
    void Abandonar(quint64 numero);

    // Blocks until job `numero` is neither queued nor running.
    void Aguardar(quint64 numero);

    // Runs trabalho and waits for it with the calling thread's event loop
    // turning (windows keep painting); rethrows its error. False when the
    // program began to end meanwhile: the job is abandoned.
    bool Executar(TTrabalho trabalho);

    // Asked by the running job after an error: true when its connections
    // were closed from outside, so that it lets go of them.
    bool AbortouTrabalhoAtual() const;

    // Closes the queue: drops what waits, cancels what runs, aborts its
    // connections if the cancel has not ended it within a third of prazo,
    // then runs ultimo (the release of the connections) on the thread.
    // False when the thread did not end within prazo: it is stuck in the
    // client library and the process must end without waiting for it.
    bool Encerrar(std::chrono::milliseconds prazo, TTrabalho ultimo = {});

private:
    struct TItem {
        quint64 numero = 0;
        TTrabalho trabalho;
        // Empty once nobody wants the result.
        std::function<void(std::exception_ptr)> entregar;
    };
    // How far the stop of the running job has gone.
    enum class TEtapa {
        Livre, // no job runs
        Rodando, // not cut by its limit (it may be abandoned)
        Esgotado, // past its limit: its statement was cancelled
        Abortado, // its connections were closed
    };
    enum class TFase { Aberta, Fechada, Terminada };
    using TRelogio = std::chrono::steady_clock;
    enum class TParada { Nenhuma, Cancelar, Abortar };

    std::function<void(std::exception_ptr)> Entrega(quint64 numero, QObject* contexto, TFim fim);
    void Laco();
    std::optional<TItem> Proximo();
    std::exception_ptr Rodar(const TItem& item);
    void Concluir(TItem& item, std::exception_ptr erro);
    void RodarUltimo();
    void Vigiar();
    TParada Passo(TRelogio::time_point agora);

    mutable std::mutex FTrava;
    std::condition_variable FMudou;
    std::deque<TItem> FFila;
    quint64 FUltimo = 0;
    std::chrono::milliseconds FLimite;
    TFase FFase = TFase::Aberta;
    TTrabalho FUltimoTrabalho;
    // Jobs whose results are on their way to the thread that made the queue.
    std::set<quint64> FEmEntrega;
    // The running job: its number and delivery, how far its stop has gone,
    // when its limit cuts it and when its connections are to be closed.
    TItem FAtual;
    TEtapa FEtapa = TEtapa::Livre;
    std::chrono::milliseconds FLimiteAtual{0};
    TRelogio::time_point FCortarEm;
    TRelogio::time_point FAbortarEm;
    // Lives on the thread that made the queue; results are delivered there.
    std::unique_ptr<QObject> FReceptor;
    std::thread FLinha;
    std::thread FVigia;
};

// The error of a job cut at its limit, which the text states.
class TErroTempoEsgotado : public TErro {
public:
    explicit TErroTempoEsgotado(std::chrono::milliseconds limite);
    std::chrono::milliseconds Limite() const { return FLimite; }

private:
    std::chrono::milliseconds FLimite;
};
