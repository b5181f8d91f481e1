#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <sys/types.h>

// Writes through a file descriptor that either finish or say they did not.
namespace arquivo {

// All the bytes at posicao, however many calls that takes.
bool EscreverTudo(int fd, QByteArrayView bytes, off_t posicao = 0);

// A failed close can be the first news of a failed write.
bool Fechar(int fd);

// The folder a path names its file in.
QByteArray Pasta(const QByteArray& caminho);

// A new name in a folder lasts a crash of the machine only once the folder is
// flushed.
bool SincronizarPasta(const QByteArray& caminho);

} // namespace arquivo
