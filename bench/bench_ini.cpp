// Figures of the configuration file code on a huge file (bench/bench_ini.sh),
// each in a process of its own, on $VANTREL_GADGETS_INI:
//   vph-bench-ini gerar LINES  writes a file of that many short lines: the
//                              shared section first, then other gadgets'
//                              sections, this gadget's section last
//   vph-bench-ini carregar     the start's load
//   vph-bench-ini salvar       a load, then one save with "PosX" changed
//   vph-bench-ini espera       the same save from an event loop, as the
//                              gadget saves at the end of a drag: the
//                              loop's longest stall during it
// Each prints one line: milliseconds and the peak of resident memory that the
// step added, in MB and as a multiple of the file's size.
#include "config/config.h"
#include "config/fila_gravacao.h"
#include "platform/caminhos.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int LINHAS_POR_SECAO = 50;

long LerStatusKb(const char* campo)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& linha : status.readAll().split('\n')) {
        if (linha.startsWith(campo))
            return linha.mid(qstrlen(campo)).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// The peak of resident memory starts again from what is resident now.
void ZerarPico()
{
    QFile limpar(QStringLiteral("/proc/self/clear_refs"));
    if (limpar.open(QIODevice::WriteOnly))
        limpar.write("5");
}

struct Medida {
    long rssAntesKb = 0;
    QElapsedTimer relogio;

    Medida()
    {
        ZerarPico();
        rssAntesKb = LerStatusKb("VmRSS:");
        relogio.start();
    }

    void Imprimir(const char* passo, const QString& extra = {}) const
    {
        const qint64 ms = relogio.elapsed();
        const double picoMb = (LerStatusKb("VmHWM:") - rssAntesKb) / 1024.0;
        const double arquivoMb = QFileInfo(plataforma::CaminhoArquivoIni()).size() / 1048576.0;
        std::printf("%-9s %7lld ms, peak memory added %7.1f MB = %.2f x the file%s\n", passo, ms,
                    picoMb, picoMb / arquivoMb, qPrintable(extra));
    }
};

int Gerar(qint64 linhas)
{
    QFile f(plataforma::CaminhoArquivoIni());
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    f.write("[Configuracoes]\r\nLocRem=L\r\nServidor=\r\nProtocolo=0\r\n"
            "CaminhoBanco=/dados/loja.fdb\r\nUsuario=SYSDBA\r\nSenha=masterkey\r\n");
    QByteArray bloco;
    for (qint64 i = 0; i < linhas; ++i) {
        if (i % LINHAS_POR_SECAO == 0)
            bloco += "[GadGetOutro" + QByteArray::number(i / LINHAS_POR_SECAO) + "]\r\n";
        else
            bloco += "Chave" + QByteArray::number(i % LINHAS_POR_SECAO) + "=valor-"
                     + QByteArray::number(i).rightJustified(16, '0') + "\r\n";
        if (bloco.size() > (1 << 20)) {
            f.write(bloco);
            bloco.clear();
        }
    }
    f.write(bloco + "[GadGetVendHora]\r\nPosX=10\r\nPosY=20\r\nPeriodo=2\r\n");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QByteArray passo = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (passo == "gerar" && argc == 3)
        return Gerar(QByteArray(argv[2]).toLongLong());
    TConfig config(SECAO_VENDAS_HORA);
    if (passo == "carregar") {
        const Medida m;
        config.CarregarIni();
        m.Imprimir("load", QStringLiteral(", PosY %1").arg(config.PosY()));
        return 0;
    }
    config.CarregarIni();
    config.InstanciaVariaveis(SIGLA_VENDAS_HORA);
    config.setPosX(QString::number(QCoreApplication::applicationPid()));
    if (passo == "salvar") {
        const Medida m;
        config.SalvarIni();
        m.Imprimir("save");
        return 0;
    }
    if (passo == "espera") {
        QElapsedTimer entreTicks;
        qint64 maiorParada = 0;
        QTimer tique;
        QObject::connect(&tique, &QTimer::timeout,
                         [&] { maiorParada = std::max(maiorParada, entreTicks.restart()); });
        tique.start(5);
        entreTicks.start();
        const Medida m;
        const bool salvou = TFilaGravacao::Programa().SalvarEsperando(config);
        m.Imprimir("save-loop", QStringLiteral(", the event loop's longest stall %1 ms%2")
                                    .arg(maiorParada)
                                    .arg(salvou ? QString() : QStringLiteral(" (not saved)")));
        TFilaGravacao::Programa().Encerrar();
        return 0;
    }
    std::fprintf(stderr, "usage: %s gerar LINES | carregar | salvar | espera\n", argv[0]);
    return 2;
}
