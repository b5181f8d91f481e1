#include "platform/limite_rede.h"

#include <QDir>
#include <QFile>
#include <sys/socket.h>
#include <unistd.h>

namespace plataforma {

namespace {

// This process's open TCP sockets, each by its inode (which, unlike the
// descriptor, no other socket ever reuses) with its descriptor.
QHash<quint64, int> SocketsTcp()
{
    QHash<quint64, int> sockets;
    const QDir pasta(QStringLiteral("/proc/self/fd"));
    for (const QString& nome : pasta.entryList(QDir::Files | QDir::System)) {
        bool numero = false;
        const int fd = nome.toInt(&numero);
        char alvo[64] = {};
        const ssize_t tamanhoAlvo =
            readlink(QFile::encodeName(pasta.filePath(nome)).constData(), alvo, sizeof alvo - 1);
        const QByteArray prefixo("socket:[");
        if (!numero || tamanhoAlvo <= 0 || !QByteArray(alvo).startsWith(prefixo))
            continue;
        int dominio = 0, tipo = 0, escuta = 0;
        socklen_t tamanho = sizeof dominio;
        if (getsockopt(fd, SOL_SOCKET, SO_DOMAIN, &dominio, &tamanho) != 0
            || (dominio != AF_INET && dominio != AF_INET6))
            continue;
        tamanho = sizeof tipo;
        if (getsockopt(fd, SOL_SOCKET, SO_TYPE, &tipo, &tamanho) != 0 || tipo != SOCK_STREAM)
            continue;
        tamanho = sizeof escuta;
        if (getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &escuta, &tamanho) != 0 || escuta)
            continue;
        sockets.insert(QByteArray(alvo).mid(prefixo.size()).chopped(1).toULongLong(), fd);
    }
    return sockets;
}

} // namespace

TLimiteRede::TLimiteRede(std::chrono::milliseconds limite)
{
    const QHash<quint64, int> anteriores = SocketsTcp();
    for (auto i = anteriores.cbegin(); i != anteriores.cend(); ++i)
        FAnteriores.insert(i.key());
    FVigia = std::thread([this, limite] { Vigiar(limite); });
}

TLimiteRede::~TLimiteRede()
{
    {
        const std::lock_guard trava(FTrava);
        FTerminou = true;
    }
    FAviso.notify_one();
    FVigia.join();
}

void TLimiteRede::Vigiar(std::chrono::milliseconds limite)
{
    std::unique_lock trava(FTrava);
    if (FAviso.wait_for(trava, limite, [this] { return FTerminou; }))
        return;
    FEstourou = true;
    const QHash<quint64, int> agora = SocketsTcp();
    for (auto i = agora.cbegin(); i != agora.cend(); ++i) {
        // Shut down, not closed: the descriptor stays the library's to close.
        if (!FAnteriores.contains(i.key()))
            shutdown(i.value(), SHUT_RDWR);
    }
}

} // namespace plataforma
