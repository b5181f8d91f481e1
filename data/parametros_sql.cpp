#include "data/parametros_sql.h"

namespace {

bool CaractereDeNome(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

} // namespace

TSqlPosicional ReescreverParametros(const QString& sql)
{
    TSqlPosicional resultado;
    resultado.sql.reserve(sql.size());
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        const QChar proximo = i + 1 < n ? sql[i + 1] : QChar();
        qsizetype fim = i + 1;
        if (c == u'\'' || c == u'"') {
            // A doubled quote inside a literal reads as its end followed by a new
            // literal, which leaves it untouched all the same.
            const qsizetype fecho = sql.indexOf(c, i + 1);
            fim = fecho < 0 ? n : fecho + 1;
        } else if (c == u'-' && proximo == u'-') {
            const qsizetype quebra = sql.indexOf(u'\n', i + 2);
            fim = quebra < 0 ? n : quebra;
        } else if (c == u'/' && proximo == u'*') {
            const qsizetype fecho = sql.indexOf(QStringLiteral("*/"), i + 2);
            fim = fecho < 0 ? n : fecho + 2;
        } else if (c == u':' && CaractereDeNome(proximo)) {
            fim = i + 1;
            while (fim < n && CaractereDeNome(sql[fim]))
                ++fim;
            resultado.nomes.append(sql.mid(i + 1, fim - i - 1).toUpper());
            resultado.sql.append(u'?');
            i = fim;
            continue;
        }
        resultado.sql.append(QStringView(sql).mid(i, fim - i));
        i = fim;
    }
    return resultado;
}
