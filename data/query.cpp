#include "data/query.h"

#include "base/erro.h"
#include "base/texto.h"
#include "data/cancelamento.h"
#include "data/mensagem.h"
#include "data/parametros_sql.h"

#include <QScopeGuard>
#include <ibase.h>

TQuery::TQuery(TBancoDados& banco, TTransacao& transacao) : FBanco(banco), FTransacao(transacao) {}

void TQuery::SetSQL(const QStringList& linhas)
{
    Close();
    FSQL = linhas;
}

void TQuery::AdicionarLinha(const QString& linha)
{
    Close();
    FSQL.append(linha);
}

void TQuery::LimparSQL()
{
    SetSQL({});
}

QString TQuery::TextoSQL() const
{
    return FSQL.join(u'\n');
}

void TQuery::SetParam(const QString& nome, const QVariant& valor)
{
    FParametros.insert(nome.toUpper(), valor);
}

void TQuery::Open()
{
    Close();
    QList<QList<QVariant>> linhas;
    QStringList colunas =
        Executar([&](const QStringList&, const QList<QVariant>& linha) { linhas.append(linha); });
    FColunas = std::move(colunas);
    FLinhas = std::move(linhas);
    FGeracaoAberta = FBanco.Geracao();
    FAberta = true;
}

void TQuery::Percorrer(const std::function<void(const TLinhaQuery&)>& aCadaLinha)
{
    Close();
    Executar([&](const QStringList& colunas, const QList<QVariant>& linha) {
        aCadaLinha(TLinhaQuery(colunas, linha));
    });
}

QStringList
TQuery::Executar(const std::function<void(const QStringList&, const QList<QVariant>&)>& aCadaLinha)
{
    // Between refreshes an embedded attachment is let go (a query of the
    // configuration dialog, say, comes then): it goes again after the query.
    const bool soParaEsta = FBanco.PrepararConsulta();
    const auto liberacao = qScopeGuard([&] {
        if (soParaEsta)
            FBanco.LiberarEmbutido();
    });

    const TSqlPosicional sql = ReescreverParametros(TextoSQL());
    QList<QVariant> valores;
    for (const QString& nome : sql.nomes) {
        const auto valor = FParametros.constFind(nome);
        if (valor == FParametros.constEnd())
            throw TErro(QStringLiteral("Parâmetro sem valor: %1").arg(nome));
        valores.append(*valor);
    }

    FTransacao.Iniciar(FBanco);
    QStringList colunas;
    try {
        fb::TStatus status;
        const fb::TEmExecucao execucao(FBanco.Anexo());
        fb::TRef<Firebird::IStatement> comando(FBanco.Anexo()->prepare(
            &status, FTransacao.Transacao(), 0, sql.sql.toUtf8().constData(), FBanco.Dialeto(),
            Firebird::IStatement::PREPARE_PREFETCH_METADATA));
        if (comando->getType(&status) != isc_info_sql_stmt_select)
            throw TErro(QStringLiteral("A consulta não é um SELECT"));

        fb::TRef<Firebird::IMessageMetadata> descricaoEntrada(comando->getInputMetadata(&status));
        TMensagemEntrada entrada(descricaoEntrada.get(), valores);
        fb::TRef<Firebird::IMessageMetadata> descricaoSaida(comando->getOutputMetadata(&status));
        TMensagemSaida saida(descricaoSaida.get());
        colunas = saida.Colunas();

        fb::TRef<Firebird::IResultSet> cursor(
            comando->openCursor(&status, FTransacao.Transacao(), entrada.Metadados(),
                                entrada.Dados(), descricaoSaida.get(), 0));
        while (cursor->fetchNext(&status, saida.Dados()) == Firebird::IStatus::RESULT_OK)
            aCadaLinha(colunas, saida.Linha());
        fb::Fechar(cursor);
        fb::Liberar(comando);
        FTransacao.Encerrar();
    } catch (...) {
        // The query's own error is the one to report; a rollback that fails
        // as well lets the transaction go all the same.
        try {
            FTransacao.Desativar();
        } catch (const TErro&) {
        }
        throw;
    }
    return colunas;
}

void TQuery::Close()
{
    FAberta = false;
    FColunas.clear();
    FLinhas.clear();
}

bool TQuery::IsOpen() const
{
    return FAberta && FGeracaoAberta == FBanco.Geracao();
}

int TQuery::Linhas() const
{
    return IsOpen() ? int(FLinhas.size()) : 0;
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
    throw TErro(QStringLiteral("Campo %1 não encontrado").arg(coluna));
}

} // namespace

QVariant TQuery::Bruto(int linha, const QString& coluna) const
{
    if (!IsOpen())
        throw TErro(QStringLiteral("A consulta está fechada"));
    const qsizetype encontrada = IndiceColuna(FColunas, coluna);
    if (linha < 0 || linha >= FLinhas.size())
        return {};
    return FLinhas[linha][encontrada];
}

QVariant TQuery::Value(int linha, const QString& coluna) const
{
    return Decodificado(Bruto(linha, coluna));
}

QString TQuery::AsString(int linha, const QString& coluna) const
{
    return ComoTexto(Bruto(linha, coluna));
}

QByteArray TQuery::AsBytes(int linha, const QString& coluna) const
{
    return ComoBytes(Bruto(linha, coluna));
}

double TQuery::AsFloat(int linha, const QString& coluna) const
{
    return ComoNumero(Bruto(linha, coluna));
}

QVariant TLinhaQuery::Value(const QString& coluna) const
{
    return Decodificado(FValores[IndiceColuna(FColunas, coluna)]);
}

QString TLinhaQuery::AsString(const QString& coluna) const
{
    return ComoTexto(FValores[IndiceColuna(FColunas, coluna)]);
}

QByteArray TLinhaQuery::AsBytes(const QString& coluna) const
{
    return ComoBytes(FValores[IndiceColuna(FColunas, coluna)]);
}

double TLinhaQuery::AsFloat(const QString& coluna) const
{
    return ComoNumero(FValores[IndiceColuna(FColunas, coluna)]);
}
