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

// How often the watchdog looks at the running job, and asks again the job
// it stops.
constexpr std::chrono::milliseconds REPETICAO_CANCELAMENTO(50);

} // namespace

TErroTempoEsgotado::TErroTempoEsgotado(std::chrono::milliseconds limite)
    : TErro(QStringLiteral("O banco de dados não respondeu em %1 segundos; a leitura foi "
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

std::chrono::milliseconds TFilaBanco::Limite() const
{
    const std::lock_guard trava(FTrava);
    return FLimite;
}

void TFilaBanco::SetLimite(std::chrono::milliseconds limite)
{
    {
        const std::lock_guard trava(FTrava);
        FLimite = limite;
    }
    FMudou.notify_all();
}

quint64 TFilaBanco::Enfileirar(QObject* contexto, TTrabalho trabalho, TFim fim)
{
    quint64 numero = 0;
    {
        const std::lock_guard trava(FTrava);
        if (FFase != TFase::Aberta)
            return 0;
        numero = ++FUltimo;
        FFila.push_back({numero, std::move(trabalho), Entrega(numero, contexto, std::move(fim))});
    }
    FMudou.notify_all();
    return numero;
}

// Posts fim to the thread that made the queue; there it runs unless the job
// was abandoned after it ended, or contexto is gone.
std::function<void(std::exception_ptr)> TFilaBanco::Entrega(quint64 numero, QObject* contexto,
                                                            TFim fim)
{
    QPointer<QObject> alvo(contexto);
    return [this, numero, alvo, fim = std::move(fim)](std::exception_ptr erro) {
        QMetaObject::invokeMethod(
            FReceptor.get(),
            [this, numero, alvo, fim, erro] {
                bool querida = false;
                {
                    const std::lock_guard trava(FTrava);
                    querida = FEmEntrega.erase(numero) > 0;
                }
                if (querida && alvo)
                    fim(erro);
            },
            Qt::QueuedConnection);
    };
}

void TFilaBanco::Abandonar(quint64 numero)
{
    {
        const std::lock_guard trava(FTrava);
        FEmEntrega.erase(numero);
        if (numero != FAtual.numero) {
            std::erase_if(FFila, [numero](const TItem& item) { return item.numero == numero; });
            return;
        }
        FAtual.entregar = nullptr;
    }
    FMudou.notify_all();
}

void TFilaBanco::Aguardar(quint64 numero)
{
    if (numero == 0)
        return;
    std::unique_lock trava(FTrava);
    FMudou.wait(trava, [&] {
        return FAtual.numero != numero
               && std::none_of(FFila.begin(), FFila.end(),
                               [numero](const TItem& item) { return item.numero == numero; });
    });
}

bool TFilaBanco::AbortouTrabalhoAtual() const
{
    const std::lock_guard trava(FTrava);
    return FEtapa == TEtapa::Abortado;
}

bool TFilaBanco::Executar(TTrabalho trabalho)
{
    struct TEstado {
        bool terminou = false;
        std::exception_ptr erro;
    };
    auto estado = std::make_shared<TEstado>();
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

bool TFilaBanco::Encerrar(std::chrono::milliseconds prazo, TTrabalho ultimo)
{
    const auto agora = TRelogio::now();
    std::unique_lock trava(FTrava);
    if (FFase == TFase::Aberta) {
        FFase = TFase::Fechada;
        FFila.clear();
        FUltimoTrabalho = std::move(ultimo);
        // The running job is abandoned; the watchdog stops it.
        FAtual.entregar = nullptr;
        FAbortarEm = std::min(FAbortarEm, agora + prazo / 3);
    }
    FMudou.notify_all();
    if (!FMudou.wait_until(trava, agora + prazo, [&] { return FFase == TFase::Terminada; }))
        return false;
    trava.unlock();
    if (FLinha.joinable())
        FLinha.join();
    if (FVigia.joinable())
        FVigia.join();
    return true;
}

void TFilaBanco::Laco()
{
    while (std::optional<TItem> item = Proximo())
        Concluir(*item, Rodar(*item));
    RodarUltimo();
    {
        const std::lock_guard trava(FTrava);
        FFase = TFase::Terminada;
    }
    FMudou.notify_all();
}

// The next job, once one waits; none once the queue is closed.
std::optional<TFilaBanco::TItem> TFilaBanco::Proximo()
{
    std::unique_lock trava(FTrava);
    FMudou.wait(trava, [&] { return FFase != TFase::Aberta || !FFila.empty(); });
    if (FFila.empty())
        return std::nullopt;
    TItem item = std::move(FFila.front());
    FFila.pop_front();
    FAtual = {item.numero, {}, std::move(item.entregar)};
    FEtapa = TEtapa::Rodando;
    FLimiteAtual = FLimite;
    FCortarEm =
        FLimiteAtual.count() > 0 ? TRelogio::now() + FLimiteAtual : TRelogio::time_point::max();
    FAbortarEm = TRelogio::time_point::max();
    fb::DefinirPrazoDaLinha(FLimiteAtual.count() > 0 ? fb::TPrazo(FCortarEm) : std::nullopt);
    FMudou.notify_all();
    return item;
}

std::exception_ptr TFilaBanco::Rodar(const TItem& item)
{
    try {
        item.trabalho();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

// Decides what the job's end tells, and to whom, then frees the thread.
void TFilaBanco::Concluir(TItem& item, std::exception_ptr erro)
{
    fb::DefinirPrazoDaLinha(std::nullopt);
    {
        const std::lock_guard trava(FTrava);
        // A job that failed past its time (an attach given up when the time
        // ran out) was cut by the limit as much as one cancelled.
        const bool cortado = FEtapa != TEtapa::Rodando || (erro && TRelogio::now() >= FCortarEm);
        if (cortado)
            erro = std::make_exception_ptr(TErroTempoEsgotado(FLimiteAtual));
        item.entregar = std::move(FAtual.entregar);
        if (item.entregar)
            FEmEntrega.insert(item.numero);
        FAtual = {};
        FEtapa = TEtapa::Livre;
    }
    FMudou.notify_all();
    if (item.entregar)
        item.entregar(erro);
}

// The program is ending: what fails in letting go has no one left to be
// shown to.
void TFilaBanco::RodarUltimo()
{
    TTrabalho ultimo;
    {
        const std::lock_guard trava(FTrava);
        ultimo = std::move(FUltimoTrabalho);
    }
    if (!ultimo)
        return;
    try {
        ultimo();
    } catch (...) {
    }
}

// Looks at the running job every REPETICAO_CANCELAMENTO, and at once when
// something changes; the calls that stop it run outside the lock, since over
// a silent network they may take a while.
void TFilaBanco::Vigiar()
{
    std::unique_lock trava(FTrava);
    while (FFase != TFase::Terminada) {
        if (FEtapa == TEtapa::Livre) {
            FMudou.wait(trava);
            continue;
        }
        const TParada parada = Passo(TRelogio::now());
        trava.unlock();
        if (parada == TParada::Cancelar)
            fb::CancelarExecucoes();
        else if (parada == TParada::Abortar)
            fb::AbortarAnexos();
        trava.lock();
        FMudou.wait_for(trava, REPETICAO_CANCELAMENTO);
    }
}

// How the running job is to be stopped now, if at all. Asked again and
// again: a job still attaching when first asked starts its statement, or
// opens its connection, later.
TFilaBanco::TParada TFilaBanco::Passo(TRelogio::time_point agora)
{
    if (FEtapa == TEtapa::Abortado)
        return TParada::Abortar;
    if (agora >= FAbortarEm) {
        FEtapa = TEtapa::Abortado;
        return TParada::Abortar;
    }
    if (FEtapa == TEtapa::Esgotado)
        return TParada::Nenhuma;
    if (agora >= FCortarEm) {
        // No statement to cancel (a detach waiting on a silent network, say):
        // nothing but closing the connections ends the wait.
        if (!fb::HaExecucoes()) {
            FEtapa = TEtapa::Abortado;
            return TParada::Abortar;
        }
        FEtapa = TEtapa::Esgotado;
        FAbortarEm = std::min(FAbortarEm, agora + Tolerancia(FLimiteAtual));
        return TParada::Cancelar;
    }
    return FAtual.entregar ? TParada::Nenhuma : TParada::Cancelar;
}
