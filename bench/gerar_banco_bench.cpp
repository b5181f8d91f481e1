// vph-bench-db <arquivo.fdb>: makes (replacing) the benchmark's retail
// database as a local file, with the indexes a retail system keeps on orders.

#include "base/brasil.h"
#include "base/erro.h"
#include "bench/dados_bench.h"
#include "tests/fixtures/banco_varejo.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

namespace {

// Orders go in from the database itself, in one transaction, before the
// indexes are built: minutes become seconds. Numbers go through INTEGER
// variables on their way to text: in dialect 1 arithmetic gives doubles. Every 50th order returns
// one of the same branch and customer; some are not invoiced, some are transfers, some were
// imported.
QString InserirPedidos()
{
    return QStringLiteral(
               "EXECUTE BLOCK AS\n"
               "  DECLARE i INTEGER = 0;\n"
               "  DECLARE n INTEGER;\n"
               "  DECLARE m INTEGER;\n"
               "  DECLARE empresa VARCHAR(2);\n"
               "  DECLARE tipo VARCHAR(2);\n"
               "  DECLARE cliente INTEGER;\n"
               "  DECLARE dia DATE;\n"
               "  DECLARE hora VARCHAR(5);\n"
               "  DECLARE total NUMERIC(15, 2);\n"
               "  DECLARE faturado CHAR(1);\n"
               "  DECLARE oper INTEGER;\n"
               "  DECLARE devolve INTEGER;\n"
               "  DECLARE tipodev VARCHAR(2);\n"
               "  DECLARE importado VARCHAR(20);\n"
               "BEGIN\n"
               "  WHILE (i < %1) DO BEGIN\n"
               "    n = 1 + MOD(i, 3);\n"
               "    empresa = '0' || CAST(n AS VARCHAR(1));\n"
               "    tipo = '51';\n"
               "    IF (MOD(i, 10) = 1) THEN tipo = '55';\n"
               "    IF (MOD(i, 10) = 2) THEN tipo = '56';\n"
               "    IF (MOD(i, 10) = 3) THEN tipo = '60';\n"
               "    cliente = MOD(i, 5000);\n"
               "    dia = CAST('%3' AS DATE);\n"
               "    IF (i >= %2) THEN dia = dia - 1 - MOD(i, 365);\n"
               "    n = 8 + MOD(i, 11);\n"
               "    m = MOD(i, 60);\n"
               "    hora = LPAD(CAST(n AS VARCHAR(2)), 2, '0') || ':' || LPAD(CAST(m AS VARCHAR(2)), 2, '0');\n"
               "    total = MOD(i * 37, 50000) / 100.0;\n"
               "    faturado = 'S';\n"
               "    IF (MOD(i, 20) = 0) THEN faturado = 'N';\n"
               "    oper = 1;\n"
               "    IF (MOD(i, 25) = 0) THEN oper = 3;\n"
               "    devolve = NULL;\n"
               "    tipodev = NULL;\n"
               "    IF (MOD(i, 50) = 49) THEN BEGIN\n"
               "      devolve = i - 3;\n"
               "      tipodev = '51';\n"
               "      cliente = MOD(i - 3, 5000);\n"
               "      oper = 2;\n"
               "    END\n"
               "    importado = NULL;\n"
               "    IF (MOD(i, 100) = 7) THEN importado = 'IMP' || CAST(i AS VARCHAR(10));\n"
               "    IF (MOD(i, 100) = 8) THEN importado = '';\n"
               "    INSERT INTO PEDIDOC (CODEMPRESA, CODPEDIDO, TIPOPEDIDO, CODCLIENTE, DATAPEDIDO,\n"
               "      HORA, TOTALPEDIDO, FATURADO, CODOPER, CODPEDIDODEVOLUCAO,\n"
               "      TIPOPEDIDODEVOLUCAO, CODPEDIDOIMPORTADO)\n"
               "    VALUES (:empresa, :i, :tipo, :cliente, :dia, :hora, :total, :faturado, :oper,\n"
               "      :devolve, :tipodev, :importado);\n"
               "    i = i + 1;\n"
               "  END\n"
               "END")
        .arg(PEDIDOS_AO_TODO)
        .arg(PEDIDOS_NO_DIA)
        .arg(DIA_BENCH.toString(Qt::ISODate));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication aplicacao(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "uso: vph-bench-db <arquivo.fdb>\n");
        return 2;
    }
    try {
        QElapsedTimer tempo;
        tempo.start();
        BancoVarejo banco(QString::fromLocal8Bit(argv[1]), BancoVarejo::Onde::Embutido);
        banco.addFilial(QStringLiteral("01"), QStringLiteral("Loja Centro"));
        banco.addOperacao(1, QStringLiteral("S"), QStringLiteral("N"));
        banco.addOperacao(2, QStringLiteral("N"), QStringLiteral("S"));
        banco.addOperacao(3, QStringLiteral("N"), QStringLiteral("N"));
        banco.executar(QStringLiteral("DROP INDEX PEDIDOC_DATA"));
        banco.executar(QStringLiteral("DROP INDEX PEDIDOC_PEDIDO"));
        banco.executar(InserirPedidos());
        banco.executar(QStringLiteral("CREATE INDEX PEDIDOC_DATA ON PEDIDOC (DATAPEDIDO)"));
        banco.executar(QStringLiteral("CREATE UNIQUE INDEX PEDIDOC_PEDIDO ON PEDIDOC"
                                      " (CODEMPRESA, CODPEDIDO, TIPOPEDIDO, CODCLIENTE)"));
        banco.executar(QStringLiteral("ALTER TABLE CDOPERC ADD CONSTRAINT PK_CDOPERC"
                                      " PRIMARY KEY (CODOPER)"));
        std::printf("%d orders (%d on %s) written in %.1f s\n", PEDIDOS_AO_TODO, PEDIDOS_NO_DIA,
                    qPrintable(DIA_BENCH.toString(FORMATO_DATA)), tempo.elapsed() / 1000.0);
    } catch (const TErro& erro) {
        std::fprintf(stderr, "%s\n", qPrintable(erro.Texto()));
        return 1;
    }
    return 0;
}
