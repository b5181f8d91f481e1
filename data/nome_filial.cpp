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
    conexao.conectarBanco();
    // Declared last, released first: query, connection, record.
    TQuery query(conexao.getBancoDados(), conexao.getTransaction());
    query.close();
    query.setSQL({QStringLiteral("SELECT NOMEEMPRESA FROM FILIAIS      "),
                  QStringLiteral("WHERE FILIAIS.CODEMPRESA = :CodFilial")});
    query.setParam(QStringLiteral("CodFilial"), config.BytesNoArquivo(CodFilial));
    query.open();
    if (query.linhas() == 0)
        return std::nullopt;
    return query.asString(0, QStringLiteral("NOMEEMPRESA"));
}
