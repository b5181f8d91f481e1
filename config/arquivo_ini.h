#pragma once

#include "config/texto_ini.h"

#include <QString>
#include <functional>

struct TLeituraIni {
    TTextoIni texto;
    // Why a file that is there gave no text: its path and the system's reason;
    // empty when it was read, or is missing.
    QString motivo;
};

// The whole configuration file, as one read. A missing or unreadable file
// reads as empty, as the Windows profile functions read it. A copy that a
// save killed midway left is put back first when the lock is free, and read
// in the file's place when it is not.
TLeituraIni LerArquivoIni(const QString& caminho);

// A regular file (or a link to one): a folder, a FIFO or a device in its
// place counts as no file.
bool ArquivoIniUtilizavel(const QString& caminho);

// Why the path gives no usable file ("<path>: não é um arquivo comum: é uma
// pasta", "<path>: links simbólicos demais"); empty when it does, or when
// nothing is there at all.
QString MotivoArquivoIniInutilizavel(const QString& caminho);

// One read-modify-write of the file under its lock: edita changes the text and
// the file is replaced in one piece, or written in place when it cannot be
// replaced (a folder we may not write, an owner we cannot keep). On failure
// the file stays as it was and TErro "Unable to write to <caminho>" is thrown;
// a lock that another program holds for too long gives a TErro that says so.
// Returns whether the file's text then reads as Unicode (TTextoIni::Utf8).
bool AlterarArquivoIni(const QString& caminho, const std::function<void(TTextoIni&)>& edita);
