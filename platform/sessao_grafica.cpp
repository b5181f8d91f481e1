#include "platform/sessao_grafica.h"

#include <QDir>
#include <QFile>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace plataforma {

bool ServidorXResponde(const QByteArray& tela)
{
    xcb_connection_t* conexao = xcb_connect(tela.isEmpty() ? nullptr : tela.constData(), nullptr);
    // A connection that failed is still an object to free.
    const bool responde = xcb_connection_has_error(conexao) == 0;
    xcb_disconnect(conexao);
    return responde;
}

QString SoqueteWayland(const QString& nome)
{
    const QString soquete = nome.isEmpty() ? QStringLiteral("wayland-0") : nome;
    if (QDir::isAbsolutePath(soquete))
        return soquete;
    return qEnvironmentVariable("XDG_RUNTIME_DIR") + u'/' + soquete;
}

bool CompositorWaylandResponde(const QString& caminho)
{
    const QByteArray nome = QFile::encodeName(caminho);
    sockaddr_un endereco{};
    endereco.sun_family = AF_UNIX;
    if (!QDir::isAbsolutePath(caminho) || nome.size() >= qsizetype(sizeof endereco.sun_path))
        return false;
    std::memcpy(endereco.sun_path, nome.constData(), nome.size());
    const int soquete = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (soquete < 0)
        return false;
    const bool responde =
        ::connect(soquete, reinterpret_cast<const sockaddr*>(&endereco), sizeof endereco) == 0;
    ::close(soquete);
    return responde;
}

} // namespace plataforma
