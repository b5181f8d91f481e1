#include "data/fila_banco.h"

#include "base/erro.h"
#include "data/cancelamento.h"

#include <QEventLoop>
#include <QPointer>
#include <algorithm>

namespace {

// After the cancel, how long the job has before its connections are closed.
std::chrono::milliseconds Tolerancia(std::chrono::milliseconds limite)
{
    return std::min<std::chrono::milliseconds>(limite / 10, std::chrono::seconds(5));
}

// How often an abandoned job is asked again to stop.
constexpr std::chrono::milliseconds REPETICAO_CANCELAMENTO(50);

} // namespace

ErroTempoEsgotado::ErroTempoEsgotado(std::chrono::milliseconds limite)
    : Erro(QStringLiteral("O banco de dados não respondeu em %1 segundos; a leitura foi "
                          "interrompida.")
               .arg(std::chrono::duration_cast<std::chrono::seconds>(limite).count())),
      FLimite(limite)
{
}

TFilaBanco& TFilaBanco::Programa()
{
    static TFilaBanco fila(LIMITE_LEITURA);
    return fila;
}

TFilaBanco::TFilaBanco(std::chrono::milliseconds limite)
    : FLimite(limite),
      FReceptor(std::make_unique<QObject>())
{
    FLinha = std::thread([this] { Laco(); });
    FVigia = std::thread([this] { Vigiar(); });
}

TFilaBanco::~TFilaBanco()
{
    if (!Encerrar(std::chrono::seconds(10))) {
        // Stuck in the client library: joining would never return.
        FLinha.detach();
        FVigia.detach();
    }
}

std::chrono::milliseconds TFilaBanco::limite() const
{
    const std::lock_guard trava(FTrava);
    return FLimite;
}

void TFilaBanco::setLimite(std::chrono::milliseconds limite)
{
    {
        const std::lock_guard trava(FTrava);
        FLimite = limite;
    }
    FMudou.notify_all();
}

quint64 TFilaBanco::Enfileirar(QObject* contexto, Trabalho trabalho, Fim fim)
{
    QPointer<QObject> alvo(contexto);
    QObject* receptor = FReceptor.get();
    auto entregar = [alvo, receptor, fim = std::move(fim)](std::exception_ptr erro) {
        QMetaObject::invokeMethod(
            receptor,
            [alvo, fim, erro] {
                if (alvo)
                    fim(erro);
            },
            Qt::QueuedConnection);
    };
    quint64 numero = 0;
    {
        const std::lock_guard trava(FTrava);
        if (FFechada)
            return 0;
        numero = ++FUltimo;
        FFila.push_back({numero, std::move(trabalho), std::move(entregar)});
    }
    FMudou.notify_all();
    return numero;
}

void TFilaBanco::Abandonar(quint64 numero)
{
    {
        const std::lock_guard trava(FTrava);
        if (numero != FRodando) {
            std::erase_if(FFila, [numero](const Item& item) { return item.numero == numero; });
            return;
        }
        FAbandonado = true;
    }
    FMudou.notify_all();
    fb::CancelarExecucoes();
}

void TFilaBanco::Aguardar(quint64 numero)
{
    if (numero == 0)
        return;
    std::unique_lock trava(FTrava);
    FMudou.wait(trava, [&] {
        return FRodando != numero
               && std::none_of(FFila.begin(), FFila.end(),
                               [numero](const Item& item) { return item.numero == numero; });
    });
}

bool TFilaBanco::AbortouTrabalhoAtual() const
{
    const std::lock_guard trava(FTrava);
    return FAbortado;
}

bool TFilaBanco::Executar(Trabalho trabalho)
{
    struct Estado {
        bool terminou = false;
        std::exception_ptr erro;
    };
    auto estado = std::make_shared<Estado>();
    QEventLoop laco;
    const quint64 numero =
        Enfileirar(&laco, std::move(trabalho), [estado, &laco](std::exception_ptr erro) {
            estado->terminou = true;
            estado->erro = erro;
            laco.quit();
        });
    if (numero == 0)
        return false;
    // Returns at once, or early, when the application is quitting.
    laco.exec();
    if (!estado->terminou) {
        Abandonar(numero);
        return false;
    }
    if (estado->erro)
        std::rethrow_exception(estado->erro);
    return true;
}

bool TFilaBanco::Encerrar(std::chrono::milliseconds prazo, Trabalho ultimo)
{
    const auto inicio = std::chrono::steady_clock::now();
    bool rodando = false;
    {
        const std::lock_guard trava(FTrava);
        if (FFechada && FTerminou) {
            if (FLinha.joinable())
                FLinha.join();
            if (FVigia.joinable())
                FVigia.join();
            return true;
        }
        FFechada = true;
        FFila.clear();
        FUltimoTrabalho = std::move(ultimo);
        rodando = FRodando != 0;
        FAbandonado = true;
    }
    FMudou.notify_all();
    // Asked again and again: a job that was still attaching when first asked
    // starts its statement later.
    std::unique_lock trava(FTrava);
    while (!FTerminou) {
        const auto agora = std::chrono::steady_clock::now();
        if (agora >= inicio + prazo)
            return false;
        const bool abortar = rodando && agora >= inicio + prazo / 3;
        if (rodando && FRodando != 0) {
            FAbortado = FAbortado || abortar;
            trava.unlock();
            if (abortar)
                fb::AbortarAnexos();
            else
                fb::CancelarExecucoes();
            trava.lock();
        }
        FMudou.wait_for(trava, std::chrono::milliseconds(50), [&] { return FTerminou; });
    }
    trava.unlock();
    FLinha.join();
    FVigia.join();
    return true;
}

void TFilaBanco::Laco()
{
    for (;;) {
        Item item;
        {
            std::unique_lock trava(FTrava);
            FMudou.wait(trava, [&] { return FFechada || !FFila.empty(); });
            if (FFila.empty())
                break;
            item = std::move(FFila.front());
            FFila.pop_front();
            FRodando = item.numero;
            FAbandonado = FEsgotado = FAbortado = false;
            FInicio = std::chrono::steady_clock::now();
            FLimiteTrabalho = FLimite;
            fb::DefinirPrazoDaLinha(
                FLimiteTrabalho.count() > 0 ? fb::Prazo(FInicio + FLimiteTrabalho) : std::nullopt);
        }
        FMudou.notify_all();
        std::exception_ptr erro;
        try {
            item.trabalho();
        } catch (...) {
            erro = std::current_exception();
        }
        bool entregar = false;
        {
            const std::lock_guard trava(FTrava);
            // A job that failed past its time (an attach given up when the
            // time ran out) was cut by the limit as much as one cancelled.
            const bool foraDoPrazo =
                erro && FLimiteTrabalho.count() > 0
                && std::chrono::steady_clock::now() >= FInicio + FLimiteTrabalho;
            if (FEsgotado || foraDoPrazo)
                erro = std::make_exception_ptr(ErroTempoEsgotado(FLimiteTrabalho));
            entregar = !FAbandonado;
            FRodando = 0;
        }
        fb::DefinirPrazoDaLinha(std::nullopt);
        FMudou.notify_all();
        if (entregar)
            item.entregar(erro);
    }
    Trabalho ultimo;
    {
        const std::lock_guard trava(FTrava);
        ultimo = std::move(FUltimoTrabalho);
    }
    if (ultimo) {
        // The program is ending: what fails in letting go has no one left
        // to be shown to.
        try {
            ultimo();
        } catch (...) {
        }
    }
    {
        const std::lock_guard trava(FTrava);
        FTerminou = true;
    }
    FMudou.notify_all();
}

void TFilaBanco::Vigiar()
{
    std::unique_lock trava(FTrava);
    while (!FTerminou) {
        if (FRodando == 0) {
            FMudou.wait(trava);
            continue;
        }
        const quint64 numero = FRodando;
        if (FAbortado) {
            // Again until the job ends: one still attaching when first asked
            // opens its connection later.
            if (!FMudou.wait_for(trava, REPETICAO_CANCELAMENTO,
                                 [&] { return FRodando != numero; })) {
                trava.unlock();
                fb::AbortarAnexos();
                trava.lock();
            }
            continue;
        }
        // Once the queue is closing, Encerrar asks the job itself.
        const bool pedirDeNovo = FAbandonado && !FFechada;
        if (FLimiteTrabalho.count() == 0 && !pedirDeNovo) {
            FMudou.wait(trava);
            continue;
        }
        const auto prazo =
            FLimiteTrabalho.count() == 0
                ? std::chrono::steady_clock::time_point::max()
                : FInicio + FLimiteTrabalho
                      + (FEsgotado ? Tolerancia(FLimiteTrabalho) : std::chrono::milliseconds(0));
        const auto acordar =
            pedirDeNovo ? std::min(prazo, std::chrono::steady_clock::now() + REPETICAO_CANCELAMENTO)
                        : prazo;
        if (FMudou.wait_until(trava, acordar) == std::cv_status::no_timeout || FRodando != numero)
            continue;
        if (std::chrono::steady_clock::now() < prazo) {
            if (!pedirDeNovo)
                continue;
            // Asked again and again: a job that was still attaching when it
            // was abandoned starts its statement later.
            trava.unlock();
            fb::CancelarExecucoes();
            trava.lock();
            continue;
        }
        if (!FEsgotado && fb::HaExecucoes()) {
            FEsgotado = true;
            trava.unlock();
            fb::CancelarExecucoes();
        } else {
            // No statement to cancel (a detach waiting on a silent
            // network, say): nothing but closing ends the wait.
            FEsgotado = true;
            FAbortado = true;
            trava.unlock();
            fb::AbortarAnexos();
        }
        trava.lock();
    }
}
