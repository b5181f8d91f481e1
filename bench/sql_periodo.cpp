// vph-bench-sql-periodo <aaaa-mm-dd> <aaaa-mm-dd>: the statement that
// vendas-por-hora-csv --de --ate --por-filial runs, with the two days
// written in, as an isql-fb script.

#include "sales_per_hour/consulta_vendas.h"

#include <QString>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "uso: vph-bench-sql-periodo <aaaa-mm-dd> <aaaa-mm-dd>\n");
        return 2;
    }
    // The gadget's defaults: imported orders left out.
    QString sql = TextoConsultaPeriodo(true, false, true).join(u'\n');
    sql.replace(QStringLiteral(":PDe"), QStringLiteral("'%1'").arg(QString::fromLatin1(argv[1])));
    sql.replace(QStringLiteral(":PAte"), QStringLiteral("'%1'").arg(QString::fromLatin1(argv[2])));
    std::printf("SET SQL DIALECT 1;\n%s;\n", qPrintable(sql));
    return 0;
}
