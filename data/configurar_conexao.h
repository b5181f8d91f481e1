#pragma once

class TConexao;
class TConfig;

// Points the connection at the database that the configuration's shared
// section names.
void ConfigurarConexao(TConexao& conexao, const TConfig& config);
