#pragma once

#include "config/texto_ini.h"

#include <QString>
#include <functional>

// The whole configuration file, as one read. A missing or unreadable file
// reads as empty, as the Windows profile functions read it.
TextoIni LerArquivoIni(const QString& caminho);

// A regular file (or a link to one): a folder, a FIFO or a device in its
// place counts as no file.
bool ArquivoIniUtilizavel(const QString& caminho);

// One read-modify-write of the file under its lock: edita changes the text and
// the file is replaced in one piece, or written in place when it cannot be
// replaced (a folder we may not write, an owner we cannot keep). On failure
// the file stays as it was and Erro "Unable to write to <caminho>" is thrown;
// a lock that another program holds for too long gives an Erro that says so.
void AlterarArquivoIni(const QString& caminho, const std::function<void(TextoIni&)>& edita);
