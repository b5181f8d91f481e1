#include "config/fila_gravacao.h"

#include "config/config.h"

#include <QEventLoop>
#include <QPointer>

TFilaGravacao& TFilaGravacao::Programa()
{
    static TFilaGravacao fila;
    return fila;
}

TFilaGravacao::TFilaGravacao() : FReceptor(std::make_unique<QObject>())
{
    FLinha = std::thread([this] { Laco(); });
}

TFilaGravacao::~TFilaGravacao()
{
    Encerrar();
}

bool TFilaGravacao::Salvar(TConfig& config, QObject* contexto, TFim fim)
{
    auto gravacao = std::make_shared<TConfig::TGravacao>(config.Gravacao());
    QPointer<QObject> alvo(contexto);
    QObject* receptor = FReceptor.get();
    TConfig* registro = &config;
    auto trabalho = [gravacao, alvo, receptor, registro, fim = std::move(fim)] {
        std::exception_ptr erro;
        try {
            gravacao->Gravar();
        } catch (...) {
            erro = std::current_exception();
        }
        QMetaObject::invokeMethod(
            receptor,
            [gravacao, alvo, registro, fim, erro] {
                if (!alvo)
                    return;
                if (!erro)
                    registro->GravacaoFeita(*gravacao);
                fim(erro);
            },
            Qt::QueuedConnection);
    };
    {
        const std::lock_guard trava(FTrava);
        if (FFechada)
            return false;
        FFila.push_back(std::move(trabalho));
    }
    FMudou.notify_all();
    return true;
}

bool TFilaGravacao::SalvarEsperando(TConfig& config)
{
    struct TEstado {
        bool terminou = false;
        std::exception_ptr erro;
    };
    auto estado = std::make_shared<TEstado>();
    QEventLoop laco;
    const bool enfileirado = Salvar(config, &laco, [estado, &laco](std::exception_ptr erro) {
        estado->terminou = true;
        estado->erro = erro;
        laco.quit();
    });
    if (!enfileirado)
        return false;
    // Returns at once, or early, when the application is quitting.
    laco.exec();
    if (!estado->terminou)
        return false;
    if (estado->erro)
        std::rethrow_exception(estado->erro);
    return true;
}

void TFilaGravacao::Aguardar()
{
    std::unique_lock trava(FTrava);
    FMudou.wait(trava, [&] { return FFila.empty() && !FRodando; });
}

void TFilaGravacao::Encerrar()
{
    {
        const std::lock_guard trava(FTrava);
        FFechada = true;
    }
    FMudou.notify_all();
    if (FLinha.joinable())
        FLinha.join();
}

void TFilaGravacao::Laco()
{
    for (;;) {
        std::function<void()> trabalho;
        {
            std::unique_lock trava(FTrava);
            FMudou.wait(trava, [&] { return FFechada || !FFila.empty(); });
            if (FFila.empty())
                return;
            trabalho = std::move(FFila.front());
            FFila.pop_front();
            FRodando = true;
        }
        trabalho();
        {
            const std::lock_guard trava(FTrava);
            FRodando = false;
        }
        FMudou.notify_all();
    }
}
