#pragma once

#include <QObject>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class TConfig;

// The program's thread of configuration saves. A save may wait up to ten
// seconds for the file's lock, or take seconds on a huge file: the UI thread
// only asks for it and gets the result back as a queued call, in the order
// the saves were asked, while its windows keep painting. A signal that ends
// the program cuts a wait for the lock short; a write under way is finished.
class TFilaGravacao {
public:
    using TFim = std::function<void(std::exception_ptr erro)>;

    // The one queue of the program.
    static TFilaGravacao& Programa();

    TFilaGravacao();
    ~TFilaGravacao();
    TFilaGravacao(const TFilaGravacao&) = delete;
    TFilaGravacao& operator=(const TFilaGravacao&) = delete;

    // Saves config as it holds now; then fim runs with the save's error (null
    // when it worked) as a queued call on contexto's thread, unless contexto
    // is gone. config must outlive the queue's delivery. False once the queue
    // is closed: nothing is saved and fim never runs.
    bool Salvar(TConfig& config, QObject* contexto, TFim fim);

    // Saves and waits with the calling thread's event loop turning; rethrows
    // the save's error. False when the program began to end meanwhile.
    bool SalvarEsperando(TConfig& config);

    // Blocks until every save asked so far has run (their results are still
    // delivered by the event loop).
    void Aguardar();

    // Runs what is queued, then ends the thread.
    void Encerrar();

private:
    void Laco();

    std::mutex FTrava;
    std::condition_variable FMudou;
    std::deque<std::function<void()>> FFila;
    bool FRodando = false;
    bool FFechada = false;
    // Lives on the thread that made the queue; results are delivered there.
    std::unique_ptr<QObject> FReceptor;
    std::thread FLinha;
};
