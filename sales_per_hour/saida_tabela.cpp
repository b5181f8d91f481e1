#include "sales_per_hour/saida_tabela.h"

#include "base/brasil.h"
#include "base/dinheiro.h"

#include <QStringList>

namespace {

// A field with the separator, a quote or a line break is quoted, its quotes
// doubled, as spreadsheets read it.
QString CampoCsv(const QString& texto)
{
    if (!texto.contains(u';') && !texto.contains(u'"') && !texto.contains(u'\n')
        && !texto.contains(u'\r'))
        return texto;
    return u'"' + QString(texto).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString TextoJson(const QString& texto)
{
    QString r = QStringLiteral("\"");
    for (const QChar c : texto) {
        if (c == u'"' || c == u'\\')
            r += u'\\' + QString(c);
        else if (c.unicode() < 0x20)
            r += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            r += c;
    }
    return r + u'"';
}

QString NumeroJson(double valor)
{
    // + 0.0: no "-0.00".
    return QString::number(valor + 0.0, 'f', 2);
}

} // namespace

TSaidaTabela::TSaidaTabela(QTextStream& saida, TFormatoSaida formato, TColunasSaida colunas)
    : FSaida(saida),
      FFormato(formato),
      FColunas(colunas)
{
}

void TSaidaTabela::Comecar()
{
    if (FComecou)
        return;
    FComecou = true;
    if (FFormato == TFormatoSaida::Json) {
        FSaida << '[';
        return;
    }
    QStringList cabecalho;
    if (FColunas.Data)
        cabecalho << QStringLiteral("DATA");
    if (FColunas.Filial)
        cabecalho << QStringLiteral("FILIAL");
    cabecalho << QStringLiteral("HORA") << QStringLiteral("VALOR");
    if (FColunas.Detalhado)
        cabecalho << QStringLiteral("VENDAS") << QStringLiteral("TICKET");
    if (FColunas.Referencia)
        cabecalho << QStringLiteral("REFERENCIA");
    FSaida << cabecalho.join(u';') << '\n';
}

void TSaidaTabela::Linha(const QDate& dia, const QString& filial, const QString& hora, double valor,
                         int vendas, std::optional<double> ticket, std::optional<double> referencia)
{
    Comecar();
    if (FFormato == TFormatoSaida::Csv) {
        const auto dinheiro = [](std::optional<double> v) {
            return v ? TextoDinheiro(*v, false) : QString();
        };
        QStringList campos;
        if (FColunas.Data)
            campos << dia.toString(FORMATO_DATA);
        if (FColunas.Filial)
            campos << CampoCsv(filial);
        campos << hora << TextoDinheiro(valor, false);
        if (FColunas.Detalhado)
            campos << QString::number(vendas) << dinheiro(ticket);
        if (FColunas.Referencia)
            campos << dinheiro(referencia);
        FSaida << campos.join(u';') << '\n';
        return;
    }
    const auto numero = [](std::optional<double> v) {
        return v ? NumeroJson(*v) : QStringLiteral("null");
    };
    QStringList campos;
    if (FColunas.Data)
        campos << QStringLiteral("\"data\":\"%1\"").arg(dia.toString(Qt::ISODate));
    if (FColunas.Filial)
        campos << QStringLiteral("\"filial\":") + TextoJson(filial);
    campos << QStringLiteral("\"hora\":") + TextoJson(hora)
           << QStringLiteral("\"valor\":") + NumeroJson(valor);
    if (FColunas.Detalhado)
        campos << QStringLiteral("\"vendas\":%1").arg(vendas)
               << QStringLiteral("\"ticket\":") + numero(ticket);
    if (FColunas.Referencia)
        campos << QStringLiteral("\"referencia\":") + numero(referencia);
    FSaida << (FPrimeiraLinha ? "\n{" : ",\n{") << campos.join(u',') << '}';
    FPrimeiraLinha = false;
}

void TSaidaTabela::Bloco(const QDate& dia, const QString& filial, const TTabelaVendasHora& tabela,
                         const TIndicadores& indicadores)
{
    for (size_t i = 0; i < tabela.Linhas().size(); ++i) {
        const TTabelaVendasHora::TLinha& hora = tabela.Linhas()[i];
        Linha(dia, filial, hora.HORA, hora.VALOR, hora.VENDAS, indicadores.Horas[i].Ticket,
              indicadores.Horas[i].Referencia);
    }
    if (FColunas.Detalhado)
        Linha(dia, filial, QStringLiteral("TOTAL"), indicadores.Total, indicadores.Vendas,
              indicadores.Ticket, indicadores.Referencia);
}

void TSaidaTabela::Fim()
{
    Comecar();
    if (FFormato == TFormatoSaida::Json)
        FSaida << (FPrimeiraLinha ? "]\n" : "\n]\n");
}
