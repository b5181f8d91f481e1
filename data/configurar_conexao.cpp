#include "data/configurar_conexao.h"

#include "config/config.h"
#include "data/conexao.h"

void ConfigurarConexao(TConexao& conexao, const TConfig& config)
{
    conexao.SetConfiguracao(config.LocRem(), config.Protocolo(), config.Servidor(),
                            config.CaminhoBanco(), config.Usuario(), config.Senha());
}
