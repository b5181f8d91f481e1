// vph-bench-view <consulta.sql>: starts the program as it starts for the user
// (configuration from $VANTREL_GADGETS_INI, today = the benchmark's day) and
// prints the time from the process's start ($VPH_BENCH_INICIO_NS, wall clock)
// to the first chart painted with data, then the time of a refresh. Writes
// the sales statement, its date written in, for isql-fb.

#include "bench/dados_bench.h"
#include "config/config.h"
#include "data/conexao.h"
#include "platform/seams.h"
#include "sales_per_hour/consulta_vendas.h"
#include "sales_per_hour/grafico_vendas.h"
#include "sales_per_hour/vendas_hora.h"
#include "sales_per_hour/vendas_hora_dados.h"
#include "shell/aplicacao.h"
#include "shell/host_window.h"
#include "shell/inicializacao.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QLineSeries>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int VEZES = 10;

qint64 AgoraNs()
{
    return QDateTime::currentMSecsSinceEpoch() * 1000000;
}

double Mediana(std::vector<double> tempos)
{
    std::sort(tempos.begin(), tempos.end());
    return tempos[tempos.size() / 2];
}

std::vector<double> Mede(const std::function<void()>& operacao)
{
    std::vector<double> tempos;
    for (int i = 0; i < VEZES; ++i) {
        QElapsedTimer tempo;
        tempo.start();
        operacao();
        tempos.push_back(tempo.nsecsElapsed() / 1e6);
    }
    return tempos;
}

// Sees the first paint of a chart that has its points.
class PrimeiraPintura : public QObject {
public:
    explicit PrimeiraPintura(std::function<void()> aoPintar) : FAoPintar(std::move(aoPintar)) {}

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override
    {
        if (!FVisto && evento->type() == QEvent::Paint) {
            const auto* grafico = qobject_cast<TGraficoVendas*>(objeto->parent());
            if (grafico && grafico->Serie() && grafico->Serie()->count() > 0) {
                FVisto = true;
                FAoPintar();
            }
        }
        return false;
    }

private:
    std::function<void()> FAoPintar;
    bool FVisto = false;
};

void EscreveConsulta(const QString& arquivo, const TConfig& config)
{
    const QString texto = TextoConsultaVendas(config.PedidosImportados() == QStringLiteral("0"),
                                              !config.Empresa().isEmpty())
                              .join(u'\n')
                              .replace(QStringLiteral(":PDataIni"),
                                       u'\'' + DIA_BENCH.toString(Qt::ISODate) + u'\'');
    QFile saida(arquivo);
    if (!saida.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(arquivo));
    saida.write("SET SQL DIALECT 1;\n" + texto.toUtf8() + ";\n");
}

} // namespace

int main(int argc, char** argv)
{
    const qint64 inicio = qEnvironmentVariableIsSet("VPH_BENCH_INICIO_NS")
                              ? qEnvironmentVariable("VPH_BENCH_INICIO_NS").toLongLong()
                              : AgoraNs();
    if (argc != 2) {
        std::fprintf(stderr, "uso: vph-bench-view <consulta.sql>\n");
        return 2;
    }
    plataforma::ganchos().hoje = [] { return DIA_BENCH; };
    TAplicacao aplicacao(argc, argv);
    TfrmVendasHora janela;
    if (!janela.inicializacao()->getConexao()) {
        std::fprintf(stderr, "the program did not start: see the message log\n");
        return 1;
    }
    int resultado = 1;
    PrimeiraPintura filtro([&] {
        std::printf("start to first chart painted: %.0f ms\n", (AgoraNs() - inicio) / 1e6);
        QTimer::singleShot(0, &aplicacao, [&] {
            TVendasHora* gadget = janela.findChild<TVendasHora*>();
            TConfig& config = *janela.inicializacao()->getConfiguracao();
            TConexao& conexao = *janela.inicializacao()->getConexao();
            const std::vector<double> atualizacao = Mede([&] { gadget->IniciarGadget(gadget); });
            TVendasHoraDados dados;
            const QString dia = DIA_BENCH.toString(QStringLiteral("dd/MM/yyyy"));
            const std::vector<double> consulta = Mede([&] {
                conexao.conectarBanco();
                dados.ValorDasVendas(config, conexao, dia);
            });
            double soma = 0;
            for (const TTabelaVendasHora::Linha& linha : dados.CdsTemp().linhas())
                soma += linha.VALOR;
            std::printf("refresh (IniciarGadget), median of %d: %.1f ms (min %.1f)\n", VEZES,
                        Mediana(atualizacao), *std::min_element(atualizacao.begin(), atualizacao.end()));
            std::printf("  of which reconnect + sales query + table: %.1f ms (min %.1f)\n",
                        Mediana(consulta), *std::min_element(consulta.begin(), consulta.end()));
            std::printf("  day's total over %lld hours: %.2f\n",
                        static_cast<long long>(dados.CdsTemp().linhas().size()), soma);
            EscreveConsulta(QString::fromLocal8Bit(argv[1]), config);
            resultado = soma > 0 ? 0 : 1;
            aplicacao.quit();
        });
    });
    aplicacao.installEventFilter(&filtro);
    QTimer::singleShot(120000, &aplicacao, [&] {
        std::fprintf(stderr, "no chart painted in 2 minutes: see the message log\n");
        aplicacao.quit();
    });
    janela.show();
    aplicacao.exec();
    return resultado;
}
