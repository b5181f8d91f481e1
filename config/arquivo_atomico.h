#pragma once

#include <QByteArray>
#include <sys/stat.h>

// File operations that either happen whole or leave the file as it was.
namespace arquivo {

// An exclusive advisory lock (flock) on a lock file, held while the object
// lives. The lock file is created when missing and never removed: removing it
// would let two writers lock two different files.
class Trava {
public:
    explicit Trava(const QByteArray& caminho);
    ~Trava();
    Trava(const Trava&) = delete;
    Trava& operator=(const Trava&) = delete;

    bool obtida() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

struct Leitura {
    bool lida = false; // false: the file exists but cannot be read
    bool existe = false;
    QByteArray bytes;
    struct stat info {};
};

// A missing file is read as existing=false and no bytes.
Leitura Ler(const QByteArray& caminho);

// The file that a write must replace: the target of a symbolic link, so that
// the link stays a link.
QByteArray Destino(const QByteArray& caminho);

// Writes the bytes into a new file beside the destination, flushes it to disk
// and renames it over the destination; the new file takes the permissions
// (and, for root, the owner) of the old one. On failure the destination is
// untouched and the new file is removed.
bool Substituir(const QByteArray& destino, const QByteArray& bytes, const struct stat* anterior);

} // namespace arquivo
