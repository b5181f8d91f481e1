#pragma once

#include <QByteArray>
#include <sys/stat.h>

// File operations that either happen whole or leave the file as it was, also
// when the process is killed at any step.
namespace arquivo {

struct TLeituraArquivo {
    bool lida = false; // false: the file exists but cannot be read, or is no regular file
    bool existe = false;
    int erro = 0; // the system's reason when the file could not be opened or read
    QByteArray bytes;
    struct stat info {};
};

// A missing file is read as existing=false and no bytes. Never blocks: a FIFO
// or a device is no file to read.
TLeituraArquivo Ler(const QByteArray& caminho);

// The file that a write must replace: the target of a symbolic link, so that
// the link stays a link.
QByteArray Destino(const QByteArray& caminho);

// The mode a new file gets from the umask.
mode_t ModoSemUmask();

// Removes the temporary files that an interrupted Substituir of destino left
// beside it. Only for the holder of destino's lock.
void RemoverTemporarios(const QByteArray& destino);

enum class TGravacao { Feita, Falhou, SemSubstituir };

// Writes the bytes into a new file beside the destination (no access for
// others until it is complete), flushes it to disk and renames it over the
// destination; the new file takes the mode, owner and group of the old one.
// SemSubstituir: the folder takes no new file, or the owner or group cannot be
// kept; then nothing was changed and the file must be written in place. On
// failure the destination is untouched and the new file is removed.
TGravacao Substituir(const QByteArray& destino, const QByteArray& bytes,
                     const struct stat* anterior);

} // namespace arquivo
