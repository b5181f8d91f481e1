#include "data/nome_filial.h"

#include "config/config.h"
#include "data/conexao.h"
#include "data/configurar_conexao.h"
#include "data/query.h"

std::optional<QString> NomeFilial(const QString& CodFilial)
{
    TConfig config{QString()};
    config.CarregarIni();
    TConexao conexao;
    ConfigurarConexao(conexao, config);
    conexao.ConectarBanco();
    // Declared last, released first: query, connection, record.
    TQuery query(conexao.GetBancoDados(), conexao.GetTransaction());
    query.Close();
    query.SetSQL({QStringLiteral("SELECT NOMEEMPRESA FROM FILIAIS      "),
                  QStringLiteral("WHERE FILIAIS.CODEMPRESA = :CodFilial")});
    query.SetParam(QStringLiteral("CodFilial"), config.BytesNoArquivo(CodFilial));
    query.Open();
    if (query.Linhas() == 0)
        return std::nullopt;
    return query.AsString(0, QStringLiteral("NOMEEMPRESA"));
}
