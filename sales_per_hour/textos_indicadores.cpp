#include "sales_per_hour/textos_indicadores.h"

#include "base/brasil.h"
#include "base/dinheiro.h"

namespace {

const QString SEPARADOR = QStringLiteral(" · ");

QString NomeCurto(TComparacao comparacao)
{
    return comparacao == TComparacao::Media4Semanas ? QStringLiteral("média 4 sem.")
                                                    : QStringLiteral("sem. passada");
}

QString NomeLongo(TComparacao comparacao)
{
    return comparacao == TComparacao::Media4Semanas ? QStringLiteral("Média de 4 semanas")
                                                    : QStringLiteral("Semana passada");
}

QString Vendas(int vendas)
{
    return vendas == 1 ? QStringLiteral("1 venda")
                       : LOCALE_BRASIL.toString(vendas) + QStringLiteral(" vendas");
}

} // namespace

QString TextoDiferenca(int percentual)
{
    return (percentual > 0 ? QStringLiteral("+") : QString()) + QString::number(percentual) + u'%';
}

QString LinhaDeTotais(const TIndicadores& indicadores, TComparacao comparacao)
{
    QStringList partes{QStringLiteral("Total ") + TextoReais(indicadores.Total),
                       Vendas(indicadores.Vendas)};
    if (indicadores.Ticket)
        partes << QStringLiteral("ticket ") + TextoReais(*indicadores.Ticket);
    const std::optional<double> referencia = indicadores.ReferenciaDoTotal();
    if (comparacao != TComparacao::Nada && referencia) {
        const std::optional<int> diferenca = Diferenca(indicadores.Total, *referencia);
        partes << (diferenca ? TextoDiferenca(*diferenca) + u' ' + NomeCurto(comparacao)
                             : NomeCurto(comparacao) + u' ' + TextoReais(*referencia));
    }
    return partes.join(SEPARADOR);
}

QString DicaDaHora(const TTabelaVendasHora& tabela, const TIndicadores& indicadores,
                   TComparacao comparacao, int indice, std::optional<QTime> agora)
{
    const TTabelaVendasHora::TLinha& linha = tabela.Linhas().at(indice);
    const TIndicadores::THora& hora = indicadores.Horas.at(indice);
    const bool corrente = indicadores.HoraCorrente == indice;
    const bool porVir = agora && linha.HORA.toInt() > agora->hour();
    QString titulo = linha.HORA + u'h';
    if (corrente)
        titulo += QStringLiteral(" (em andamento)");
    else if (porVir)
        titulo += QStringLiteral(" (ainda não começou)");
    QStringList linhas{titulo, QStringLiteral("Valor: ") + TextoReais(linha.VALOR)};
    QString vendas = QStringLiteral("Vendas: ") + LOCALE_BRASIL.toString(linha.VENDAS);
    if (hora.Ticket)
        vendas += SEPARADOR + QStringLiteral("ticket ") + TextoReais(*hora.Ticket);
    linhas << vendas;
    if (comparacao != TComparacao::Nada && hora.Referencia) {
        double referencia = *hora.Referencia;
        QString nome = NomeLongo(comparacao);
        if (corrente && indicadores.ReferenciaHoraCorrente) {
            referencia = *indicadores.ReferenciaHoraCorrente;
            nome += QStringLiteral(" até ") + agora->toString(QStringLiteral("HH:mm"));
        }
        QString texto = nome + QStringLiteral(": ") + TextoReais(referencia);
        const std::optional<int> diferenca = Diferenca(linha.VALOR, referencia);
        if (diferenca && !porVir)
            texto += QStringLiteral(" (") + TextoDiferenca(*diferenca) + u')';
        linhas << texto;
    }
    return linhas.join(u'\n');
}

QString TextoMeta(int percentual)
{
    return QStringLiteral("%1% da meta").arg(percentual);
}
