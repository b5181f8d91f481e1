#pragma once

#include <QByteArray>
#include <sys/stat.h>

// File operations that either happen whole or leave the file as it was.
namespace arquivo {

// How long a writer waits for another one's lock before it gives up.
constexpr int ESPERA_TRAVA_MS = 10000;

// An exclusive advisory lock (flock) on a lock file, held while the object
// lives. The lock file is created when missing and never removed: removing it
// would let two writers lock two different files. It takes the mode, owner and
// group of modelo (the file it guards), so that only those who may write that
// file can hold its lock. Where no lock file can be made (a folder we may not
// write), the guarded file itself is locked; so a holder of the lock file
// locks the guarded file too, and one who locked the guarded file starts over
// when a lock file was made meanwhile.
class Trava {
public:
    enum class Estado { Obtida, Ocupada, Falhou };

    Trava(const QByteArray& caminho, const QByteArray& guardado, const struct stat* modelo);
    ~Trava();
    Trava(const Trava&) = delete;
    Trava& operator=(const Trava&) = delete;

    Estado estado() const { return FEstado; }

private:
    int FDescritor = -1;
    int FDescritorGuardado = -1;
    Estado FEstado = Estado::Falhou;
};

struct Leitura {
    bool lida = false; // false: the file exists but cannot be read, or is no regular file
    bool existe = false;
    QByteArray bytes;
    struct stat info {};
};

// A missing file is read as existing=false and no bytes. Never blocks: a FIFO
// or a device is no file to read.
Leitura Ler(const QByteArray& caminho);

// A regular file, or a link to one.
bool Regular(const QByteArray& caminho);

// The file that a write must replace: the target of a symbolic link, so that
// the link stays a link.
QByteArray Destino(const QByteArray& caminho);

// Removes the temporary files that an interrupted Substituir of destino left
// beside it. Only for the holder of destino's lock.
void RemoverTemporarios(const QByteArray& destino);

enum class Gravacao { Feita, Falhou, SemSubstituir };

// Writes the bytes into a new file beside the destination (no access for
// others until it is complete), flushes it to disk and renames it over the
// destination; the new file takes the mode, owner and group of the old one.
// SemSubstituir: the folder takes no new file, or the owner or group cannot be
// kept; then nothing was changed and the file must be written in place. On
// failure the destination is untouched and the new file is removed.
Gravacao Substituir(const QByteArray& destino, const QByteArray& bytes,
                    const struct stat* anterior);

// Writes the bytes over the file's own contents and flushes them to disk. The
// room is claimed first, so that a full disk leaves the file as it was.
bool EscreverNoLugar(const QByteArray& destino, const QByteArray& bytes);

} // namespace arquivo
