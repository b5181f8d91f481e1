#include "frame/temporizador.h"

#include "platform/mensagens.h"

TTemporizador::TTemporizador(int Interval, std::function<void()> OnTimer, QObject* parent)
    : QObject(parent),
      FInterval(Interval)
{
    // A coarse timer may stretch a period by up to 5 %; the intervals here
    // are meant as given.
    FTimer.setTimerType(Qt::PreciseTimer);
    connect(&FTimer, &QTimer::timeout, this,
            [OnTimer = std::move(OnTimer)] { plataforma::Tratando(OnTimer); });
}

void TTemporizador::setEnabled(bool valor)
{
    if (valor == FEnabled)
        return;
    FEnabled = valor;
    Reinicia();
}

void TTemporizador::setInterval(int valor)
{
    if (valor == FInterval)
        return;
    FInterval = valor;
    Reinicia();
}

void TTemporizador::Reinicia()
{
    if (FEnabled && FInterval > 0)
        FTimer.start(FInterval);
    else
        FTimer.stop();
}
