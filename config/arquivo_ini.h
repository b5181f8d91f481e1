#pragma once

#include "config/texto_ini.h"

#include <QString>
#include <functional>

// The whole configuration file, as one read. A missing or unreadable file
// reads as empty, as the Windows profile functions read it.
TextoIni LerArquivoIni(const QString& caminho);

// One read-modify-write of the file under its lock: edita changes the text and
// the file is replaced in one piece. On failure the file stays as it was and
// Erro "Unable to write to <caminho>" is thrown.
void AlterarArquivoIni(const QString& caminho, const std::function<void(TextoIni&)>& edita);
