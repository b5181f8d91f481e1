#pragma once

#include <QSet>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace plataforma {

// Bounds a blocking call into a library that stops bounding its own network
// waits once a connection is made (the database client, during a login that
// the server never finishes). When the call outlasts the limit, the TCP
// connections opened since this object was made are shut down, and the call
// fails as on a broken network. Meant for a thread that alone opens
// connections meanwhile.
class TLimiteRede {
public:
    explicit TLimiteRede(std::chrono::milliseconds limite);
    ~TLimiteRede();
    TLimiteRede(const TLimiteRede&) = delete;
    TLimiteRede& operator=(const TLimiteRede&) = delete;

    bool Estourou() const { return FEstourou; }

private:
    void Vigiar(std::chrono::milliseconds limite);

    QSet<quint64> FAnteriores;
    std::mutex FTrava;
    std::condition_variable FAviso;
    bool FTerminou = false;
    std::atomic<bool> FEstourou{false};
    std::thread FVigia;
};

} // namespace plataforma
