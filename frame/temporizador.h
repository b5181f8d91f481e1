#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

// A timer that is switched on and off and has an interval, each on its own:
// it ticks while enabled with an interval above zero. Enabling an enabled
// timer or setting the interval it already has does not restart its count;
// a new interval restarts a running count.
class TTemporizador : public QObject {
public:
    TTemporizador(int Interval, std::function<void()> OnTimer, QObject* parent);

    bool Enabled() const { return FEnabled; }
    void setEnabled(bool valor);
    int Interval() const { return FInterval; }
    void setInterval(int valor);

    // Whether ticks are coming, and the milliseconds to the next (-1: none).
    bool Ativo() const { return FTimer.isActive(); }
    int remainingTime() const { return FTimer.remainingTime(); }

private:
    void Reinicia();

    QTimer FTimer;
    bool FEnabled = false;
    int FInterval;
};
