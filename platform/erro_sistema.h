#pragma once

#include <QString>
#include <sys/types.h>

namespace plataforma {

// The system's reason for a failed call, in the user's language
// ("permissão negada").
QString DescricaoErroSistema(int erro);

// What stands at a path instead of a regular file ("não é um arquivo comum:
// é uma pasta").
QString DescricaoNaoArquivo(mode_t modo);

} // namespace plataforma
