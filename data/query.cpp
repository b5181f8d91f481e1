#include "data/query.h"

#include "base/erro.h"
#include "base/texto.h"
#include "data/cancelamento.h"
#include "data/mensagem.h"
#include "data/parametros_sql.h"

#include <QScopeGuard>
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
    QList<QList<QVariant>> linhas;
    QStringList colunas =
        Executar([&](const QStringList&, const QList<QVariant>& linha) { linhas.append(linha); });
    FColunas = std::move(colunas);
    FLinhas = std::move(linhas);
    FGeracaoAberta = FBanco.geracao();
    FAberta = true;
}

void TQuery::Percorrer(const std::function<void(const TLinhaQuery&)>& aCadaLinha)
{
    close();
    Executar([&](const QStringList& colunas, const QList<QVariant>& linha) {
        aCadaLinha(TLinhaQuery(colunas, linha));
    });
}

QStringList
TQuery::Executar(const std::function<void(const QStringList&, const QList<QVariant>&)>& aCadaLinha)
{
    // Between refreshes an embedded attachment is let go (a query of the
    // configuration dialog, say, comes then): it goes again after the query.
    const bool soParaEsta = FBanco.prepararConsulta();
    const auto liberacao = qScopeGuard([&] {
        if (soParaEsta)
            FBanco.liberarEmbutido();
    });

    const SqlPosicional sql = ReescreverParametros(textoSQL());
    QList<QVariant> valores;
    for (const QString& nome : sql.nomes) {
        const auto valor = FParametros.constFind(nome);
        if (valor == FParametros.constEnd())
            throw Erro(QStringLiteral("Parâmetro sem valor: %1").arg(nome));
        valores.append(*valor);
    }

    FTransacao.iniciar(FBanco);
    QStringList colunas;
    try {
        fb::Status status;
        const fb::EmExecucao execucao(FBanco.anexo());
        fb::Ref<Firebird::IStatement> comando(FBanco.anexo()->prepare(
            &status, FTransacao.transacao(), 0, sql.sql.toUtf8().constData(), FBanco.dialeto(),
            Firebird::IStatement::PREPARE_PREFETCH_METADATA));
        if (comando->getType(&status) != isc_info_sql_stmt_select)
            throw Erro(QStringLiteral("A consulta não é um SELECT"));

        fb::Ref<Firebird::IMessageMetadata> descricaoEntrada(comando->getInputMetadata(&status));
        MensagemEntrada entrada(descricaoEntrada.get(), valores);
        fb::Ref<Firebird::IMessageMetadata> descricaoSaida(comando->getOutputMetadata(&status));
        MensagemSaida saida(descricaoSaida.get());
        colunas = saida.colunas();

        fb::Ref<Firebird::IResultSet> cursor(
            comando->openCursor(&status, FTransacao.transacao(), entrada.metadados(),
                                entrada.dados(), descricaoSaida.get(), 0));
        while (cursor->fetchNext(&status, saida.dados()) == Firebird::IStatus::RESULT_OK)
            aCadaLinha(colunas, saida.linha());
        fb::Fechar(cursor);
        fb::Liberar(comando);
        FTransacao.encerrar();
    } catch (...) {
        // The query's own error is the one to report; a rollback that fails
        // as well lets the transaction go all the same.
        try {
            FTransacao.desativar();
        } catch (const Erro&) {
        }
        throw;
    }
    return colunas;
}

void TQuery::close()
{
    FAberta = false;
    FColunas.clear();
    FLinhas.clear();
}

bool TQuery::isOpen() const
{
    return FAberta && FGeracaoAberta == FBanco.geracao();
}

int TQuery::linhas() const
{
    return isOpen() ? int(FLinhas.size()) : 0;
}

namespace {

QVariant Decodificado(const QVariant& v)
{
    return v.typeId() == QMetaType::QByteArray ? QVariant(DecodificarTexto(v.toByteArray())) : v;
}

QString ComoTexto(const QVariant& bruto)
{
    const QVariant v = Decodificado(bruto);
    return v.isValid() ? v.toString() : QString();
}

QByteArray ComoBytes(const QVariant& v)
{
    if (v.isValid() && v.typeId() != QMetaType::QByteArray)
        return v.toString().toUtf8();
    return v.toByteArray();
}

double ComoNumero(const QVariant& bruto)
{
    const QVariant v = Decodificado(bruto);
    return v.isValid() ? v.toDouble() : 0.0;
}

qsizetype IndiceColuna(const QStringList& colunas, const QString& coluna)
{
    for (qsizetype i = 0; i < colunas.size(); ++i) {
        if (colunas[i].compare(coluna, Qt::CaseInsensitive) == 0)
            return i;
    }
    throw Erro(QStringLiteral("Campo %1 não encontrado").arg(coluna));
}

} // namespace

QVariant TQuery::Bruto(int linha, const QString& coluna) const
{
    if (!isOpen())
        throw Erro(QStringLiteral("A consulta está fechada"));
    const qsizetype encontrada = IndiceColuna(FColunas, coluna);
    if (linha < 0 || linha >= FLinhas.size())
        return {};
    return FLinhas[linha][encontrada];
}

QVariant TQuery::value(int linha, const QString& coluna) const
{
    return Decodificado(Bruto(linha, coluna));
}

QString TQuery::asString(int linha, const QString& coluna) const
{
    return ComoTexto(Bruto(linha, coluna));
}

QByteArray TQuery::asBytes(int linha, const QString& coluna) const
{
    return ComoBytes(Bruto(linha, coluna));
}

double TQuery::asFloat(int linha, const QString& coluna) const
{
    return ComoNumero(Bruto(linha, coluna));
}

QVariant TLinhaQuery::value(const QString& coluna) const
{
    return Decodificado(FValores[IndiceColuna(FColunas, coluna)]);
}

QString TLinhaQuery::asString(const QString& coluna) const
{
    return ComoTexto(FValores[IndiceColuna(FColunas, coluna)]);
}

QByteArray TLinhaQuery::asBytes(const QString& coluna) const
{
    return ComoBytes(FValores[IndiceColuna(FColunas, coluna)]);
}

double TLinhaQuery::asFloat(const QString& coluna) const
{
    return ComoNumero(FValores[IndiceColuna(FColunas, coluna)]);
}
