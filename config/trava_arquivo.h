#pragma once

#include <QByteArray>
#include <sys/stat.h>

namespace arquivo {

// How long a writer waits for another one's lock before it gives up.
constexpr int ESPERA_TRAVA_MS = 10000;

// The lock of a shared file, held while the object lives, that only those who
// may write the file can hold: a reader never delays a writer.
//
// A writer that can use the lock file (the file's name with ".lock") takes an
// exclusive flock on it, as every gadget of the family does, and a read lock
// (an open-file-description lock, fcntl F_OFD_SETLK) on the file itself. The
// lock file lets in only those who may write the file: a new one gets that
// mode and the file's group (its owner too, when made by root), and one that
// lets anyone else in is not used. A writer that cannot use it (a folder it
// may not write, a lock file another user made and kept to himself) takes a
// write lock on the file itself instead, which needs the file open for
// writing and waits for every holder of the lock file. So a reader's flock,
// on either file, delays no one; only a writer without a usable lock file
// still waits for a reader's fcntl read lock on the file itself, as there is
// nothing else it could lock. The lock file is never removed: removing it
// would let two writers lock two different files.
class TTrava {
public:
    enum class TEstado { Obtida, Ocupada, Falhou };

    // modelo: the file's state, null when it does not exist yet. esperaMs: how
    // long another writer's lock is waited for; 0 takes it only when free. A
    // signal that ends the program ends the wait (Ocupada).
    TTrava(const QByteArray& destino, const struct stat* modelo, int esperaMs = ESPERA_TRAVA_MS);
    ~TTrava();
    TTrava(const TTrava&) = delete;
    TTrava& operator=(const TTrava&) = delete;

    TEstado Estado() const { return FEstado; }

private:
    void Soltar();

    int FArquivoTrava = -1;
    int FGuardado = -1;
    TEstado FEstado = TEstado::Falhou;
};

} // namespace arquivo
