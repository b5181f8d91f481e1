#include "data/query.h"

#include "data/mensagem.h"
#include "data/parametros_sql.h"
#include "platform/erro.h"

#include <ibase.h>

TQuery::TQuery(TBancoDados& banco, TTransacao& transacao) : FBanco(banco), FTransacao(transacao) {}

void TQuery::setSQL(const QStringList& linhas)
{
    close();
    FSQL = linhas;
}

void TQuery::adicionarLinha(const QString& linha)
{
    close();
    FSQL.append(linha);
}

void TQuery::limparSQL()
{
    setSQL({});
}

QString TQuery::textoSQL() const
{
    return FSQL.join(u'\n');
}

void TQuery::setParam(const QString& nome, const QVariant& valor)
{
    FParametros.insert(nome.toUpper(), valor);
}

void TQuery::open()
{
    close();
    if (!FBanco.anexado())
        throw Erro(QStringLiteral("Banco de dados não conectado"));
    if (!FTransacao.ativa())
        throw Erro(QStringLiteral("Transação não iniciada"));

    const SqlPosicional sql = ReescreverParametros(textoSQL());
    QList<QVariant> valores;
    for (const QString& nome : sql.nomes) {
        const auto valor = FParametros.constFind(nome);
        if (valor == FParametros.constEnd())
            throw Erro(QStringLiteral("Parâmetro sem valor: %1").arg(nome));
        valores.append(*valor);
    }

    fb::Status status;
    fb::Ref<Firebird::IStatement> comando(FBanco.anexo()->prepare(
        &status, FTransacao.transacao(), 0, sql.sql.toUtf8().constData(), FBanco.dialeto(),
        Firebird::IStatement::PREPARE_PREFETCH_METADATA));
    if (comando->getType(&status) != isc_info_sql_stmt_select)
        throw Erro(QStringLiteral("A consulta não é um SELECT"));

    fb::Ref<Firebird::IMessageMetadata> descricaoEntrada(comando->getInputMetadata(&status));
    MensagemEntrada entrada(descricaoEntrada.get(), valores);
    fb::Ref<Firebird::IMessageMetadata> descricaoSaida(comando->getOutputMetadata(&status));
    MensagemSaida saida(descricaoSaida.get());

    QList<QList<QVariant>> linhas;
    fb::Ref<Firebird::IResultSet> cursor(comando->openCursor(
        &status, FTransacao.transacao(), entrada.metadados(), entrada.dados(),
        descricaoSaida.get(), 0));
    while (cursor->fetchNext(&status, saida.dados()) == Firebird::IStatus::RESULT_OK)
        linhas.append(saida.linha());
    fb::Fechar(cursor);
    fb::Liberar(comando);

    FColunas = saida.colunas();
    FLinhas = std::move(linhas);
    FGeracaoAberta = FTransacao.geracao();
    FAberta = true;
}

void TQuery::close()
{
    FAberta = false;
    FColunas.clear();
    FLinhas.clear();
}

bool TQuery::isOpen() const
{
    return FAberta && FGeracaoAberta == FTransacao.geracao();
}

int TQuery::linhas() const
{
    return isOpen() ? int(FLinhas.size()) : 0;
}

QVariant TQuery::value(int linha, const QString& coluna) const
{
    if (!isOpen())
        throw Erro(QStringLiteral("A consulta está fechada"));
    qsizetype encontrada = -1;
    for (qsizetype i = 0; i < FColunas.size() && encontrada < 0; ++i) {
        if (FColunas[i].compare(coluna, Qt::CaseInsensitive) == 0)
            encontrada = i;
    }
    if (encontrada < 0)
        throw Erro(QStringLiteral("Campo %1 não encontrado").arg(coluna));
    if (linha < 0 || linha >= FLinhas.size())
        return {};
    return FLinhas[linha][encontrada];
}

QString TQuery::asString(int linha, const QString& coluna) const
{
    const QVariant v = value(linha, coluna);
    return v.isValid() ? v.toString() : QString();
}

double TQuery::asFloat(int linha, const QString& coluna) const
{
    const QVariant v = value(linha, coluna);
    return v.isValid() ? v.toDouble() : 0.0;
}
