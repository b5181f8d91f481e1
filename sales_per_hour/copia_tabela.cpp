#include "sales_per_hour/copia_tabela.h"

#include "base/dinheiro.h"

#include <QStringList>

namespace {

const QStringList CABECALHO = {QStringLiteral("Hora"), QStringLiteral("Valor"),
                               QStringLiteral("Vendas"), QStringLiteral("Ticket")};

QString Dinheiro(std::optional<double> valor)
{
    return valor ? TextoDinheiro(*valor, false) : QString();
}

// The header, then one list of cells per hour and the total's.
QList<QStringList> Linhas(const TTabelaVendasHora& tabela, const TIndicadores& indicadores)
{
    QList<QStringList> linhas{CABECALHO};
    for (size_t i = 0; i < tabela.Linhas().size(); ++i) {
        const TTabelaVendasHora::TLinha& hora = tabela.Linhas()[i];
        linhas.append({hora.HORA + u'h', TextoDinheiro(hora.VALOR, false),
                       QString::number(hora.VENDAS), Dinheiro(indicadores.Horas[i].Ticket)});
    }
    linhas.append({QStringLiteral("Total"), TextoDinheiro(indicadores.Total, false),
                   QString::number(indicadores.Vendas), Dinheiro(indicadores.Ticket)});
    return linhas;
}

} // namespace

QString TextoTabelaCopia(const TTabelaVendasHora& tabela, const TIndicadores& indicadores)
{
    QString texto;
    for (const QStringList& linha : Linhas(tabela, indicadores))
        texto += linha.join(u'\t') + u'\n';
    return texto;
}

QString HtmlTabelaCopia(const TTabelaVendasHora& tabela, const TIndicadores& indicadores)
{
    const QList<QStringList> linhas = Linhas(tabela, indicadores);
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n");
    for (qsizetype l = 0; l < linhas.size(); ++l) {
        const bool titulo = l == 0 || l == linhas.size() - 1;
        html += QStringLiteral("<tr>");
        for (qsizetype c = 0; c < linhas[l].size(); ++c) {
            const QString celula = titulo ? QStringLiteral("th") : QStringLiteral("td");
            // The hour's name on the left, figures on the right.
            const QString alinhamento = c == 0 ? QStringLiteral("left") : QStringLiteral("right");
            html += QStringLiteral("<%1 align=\"%2\">%3</%1>")
                        .arg(celula, alinhamento, linhas[l][c].toHtmlEscaped());
        }
        html += QStringLiteral("</tr>\n");
    }
    return html + QStringLiteral("</table>\n");
}

QString NomeArquivoDoDia(const QDate& dia, const QString& empresa, const QString& extensao)
{
    QString nome = QStringLiteral("vendas-por-hora-") + dia.toString(QStringLiteral("yyyy-MM-dd"));
    if (!empresa.isEmpty()) {
        QString codigo = empresa.trimmed();
        for (QChar& c : codigo)
            if (!c.isLetterOrNumber() && c != u'-' && c != u'_')
                c = u'_';
        nome += QStringLiteral("-filial-") + codigo;
    }
    return nome + u'.' + extensao;
}
