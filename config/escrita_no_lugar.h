#pragma once

#include "config/arquivo_atomico.h"

#include <QByteArray>
#include <sys/stat.h>

// A write over the file's own bytes, for when it cannot be replaced, that a
// kill at any step leaves undone or puts right at the next read.
namespace arquivo {

// Writes novo over the file's own contents, which are atual (read under the
// lock). Before the file is touched, a copy of atual is flushed to disk beside
// it (".copia", with the file's mode and group, so that whoever may write the
// file can put it back), or else in this user's private folder; the copy goes
// once the file holds novo. Room is claimed first, so that a full disk leaves
// the file as it was.
bool EscreverNoLugar(const QByteArray& destino, const TLeituraArquivo& atual,
                     const QByteArray& novo);

// Whether something stands where an in-place write keeps its copy.
bool HaCopia(const QByteArray& destino, const struct stat& info);

// The copy that an in-place write killed midway left: the file's contents
// before it, when the file (atual) does not hold the write's whole contents.
struct TCopia {
    bool existe = false; // a whole copy, readable by us
    QByteArray anterior;
};
TCopia LerCopia(const QByteArray& destino, const TLeituraArquivo& atual);

// Puts back the contents that a killed in-place write left in its copy and
// removes the copy. Only for the holder of destino's lock; false when the copy
// could not be put back (it stays for the next try).
bool RestaurarCopia(const QByteArray& destino, const struct stat& info);

} // namespace arquivo
