// vph-bench-view <consulta.sql> [refreshes|memoria]: starts the program as it
// starts for the user (configuration from $VANTREL_GADGETS_INI, today = the
// benchmark's day); "memoria" only shows it and runs until stopped, for its
// resident memory. Otherwise prints the time from the process's start
// ($VPH_BENCH_INICIO_NS, wall clock) to the first chart painted with data,
// then the time of a refresh (from the call to the new chart) and the UI
// thread's longest stall meanwhile: the worst lateness of a 10 ms timer;
// then, in the same run, refreshes of today with each comparison: none,
// the week before with the past days kept (warm) and the mean of four weeks
// with them read anew (cold, the clock moved on 16 minutes each time).
// Writes the sales statement, its date written in, for isql-fb.

#include "base/brasil.h"
#include "bench/dados_bench.h"
#include "config/config.h"
#include "config/indicadores.h"
#include "data/conexao.h"
#include "data/fila_banco.h"
#include "platform/seams.h"
#include "platform/sinais.h"
#include "sales_per_hour/consulta_vendas.h"
#include "sales_per_hour/grafico_vendas.h"
#include "sales_per_hour/vendas_hora.h"
#include "sales_per_hour/vendas_hora_dados.h"
#include "shell/aplicacao.h"
#include "shell/host_window.h"
#include "shell/inicializacao.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineSeries>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {

int VEZES = 10;
constexpr int PERIODO_MS = 10;

// Today's time of day for the gadget: moved on to let kept days go stale.
QDateTime AGORA_BENCH(DIA_BENCH, QTime(9, 0));

// The worst lateness of a 10 ms timer on the UI thread while it runs.
class Vigia {
public:
    Vigia()
    {
        FTique.setTimerType(Qt::PreciseTimer);
        QObject::connect(&FTique, &QTimer::timeout, [this] {
            const double ms = FDesde.nsecsElapsed() / 1e6;
            FPior = std::max(FPior, ms - PERIODO_MS);
            FDesde.restart();
        });
        FDesde.start();
        FTique.start(PERIODO_MS);
    }
    double pior() const { return std::max(FPior, FDesde.nsecsElapsed() / 1e6 - PERIODO_MS); }

private:
    QTimer FTique;
    QElapsedTimer FDesde;
    double FPior = 0;
};

// One refresh as the user sees it: from the call to its chart.
void Atualiza(TVendasHora* gadget)
{
    gadget->IniciarGadget(gadget);
    QEventLoop laco;
    QTimer olhar;
    QObject::connect(&olhar, &QTimer::timeout, [&] {
        if (!gadget->Lendo())
            laco.quit();
    });
    olhar.start(1);
    laco.exec();
}

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

// Rounds of three refreshes of today, one per comparison, so that the
// machine's drift touches all three alike: the mean of four weeks after the
// clock moved past the 15 minutes days are kept, then none, then the week
// before, whose day the first one has just read.
void MedeComparacoes(TVendasHora* gadget, TConfig& config)
{
    struct Modo {
        const char* nome;
        TComparacao comparacao;
        std::vector<double> tempos;
        double pior = 0;
    };
    Modo modos[] = {{"mean of 4 weeks, cold", TComparacao::Media4Semanas, {}, 0},
                    {"none", TComparacao::Nada, {}, 0},
                    {"week before, warm", TComparacao::SemanaPassada, {}, 0}};
    for (int i = 0; i < VEZES; ++i) {
        AGORA_BENCH = AGORA_BENCH.addSecs(16 * 60);
        for (Modo& modo : modos) {
            config.setComparacao(ValorComparacao(modo.comparacao));
            const Vigia vigia;
            QElapsedTimer tempo;
            tempo.start();
            Atualiza(gadget);
            modo.tempos.push_back(tempo.nsecsElapsed() / 1e6);
            modo.pior = std::max(modo.pior, vigia.pior());
        }
    }
    for (const Modo& modo : modos)
        std::printf("refresh of today, comparison %s: median of %d %.1f ms (min %.1f), UI "
                    "thread's longest stall %.1f ms\n",
                    modo.nome, VEZES, Mediana(modo.tempos),
                    *std::min_element(modo.tempos.begin(), modo.tempos.end()), modo.pior);
    const double nada = Mediana(modos[1].tempos);
    const double semana = Mediana(modos[2].tempos) / nada;
    const double media4 = Mediana(modos[0].tempos) / nada;
    std::printf("  week before warm / none = %.2f (goal: at most 1.05) %s\n", semana,
                semana <= 1.05 ? "ok" : "SLOWER");
    std::printf("  mean of 4 weeks cold / none = %.2f (goal: at most 2.0) %s\n", media4,
                media4 <= 2.0 ? "ok" : "SLOWER");
    config.setComparacao(QString());
}

void EscreveConsulta(const QString& arquivo, const TConfig& config)
{
    const QString texto =
        TextoConsultaVendas(config.PedidosImportados() == QStringLiteral("0"),
                            !config.Empresa().isEmpty(), 1)
            .join(u'\n')
            .replace(u':' + ParametroDia(0), u'\'' + DIA_BENCH.toString(Qt::ISODate) + u'\'');
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
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "uso: vph-bench-view <consulta.sql> [atualizacoes|memoria]\n");
        return 2;
    }
    const bool memoria = argc == 3 && std::strcmp(argv[2], "memoria") == 0;
    // 0: only the first refresh, however long it runs or whether it fails
    // (a database without its indexes), with the UI's longest stall.
    const bool soPrimeira = !memoria && argc == 3 && std::atoi(argv[2]) == 0;
    if (argc == 3)
        VEZES = std::max(1, std::atoi(argv[2]));
    plataforma::TomarSinais();
    plataforma::Ganchos().hoje = [] { return DIA_BENCH; };
    plataforma::Ganchos().agora = [] { return AGORA_BENCH; };
    TAplicacao aplicacao(argc, argv);
    plataforma::EncerrarComSinais();
    TfrmVendasHora janela;
    if (!janela.Inicializacao()->GetConexao()) {
        std::fprintf(stderr, "the program did not start: see the message log\n");
        return 1;
    }
    if (memoria) {
        janela.show();
        return aplicacao.exec();
    }
    int resultado = 1;
    if (soPrimeira) {
        // Watched from the moment the reading starts: the gadget's building
        // before it is no part of a refresh.
        std::unique_ptr<Vigia> vigia;
        auto* olhar = new QTimer(&aplicacao);
        QElapsedTimer duracao;
        bool viuLeitura = false;
        QObject::connect(olhar, &QTimer::timeout, [&] {
            TVendasHora* gadget = janela.findChild<TVendasHora*>();
            if (!gadget)
                return;
            if (gadget->Lendo() && !viuLeitura) {
                viuLeitura = true;
                duracao.start();
                vigia = std::make_unique<Vigia>();
            }
            if (viuLeitura && !gadget->Lendo()) {
                std::printf("first refresh: %.1f s, UI thread's longest stall meanwhile: %.1f ms\n",
                            duracao.elapsed() / 1e3, vigia->pior());
                vigia.reset();
                resultado = 0;
                aplicacao.quit();
            }
        });
        olhar->start(5);
        janela.show();
        aplicacao.exec();
        return resultado;
    }
    PrimeiraPintura filtro([&] {
        std::printf("start to first chart painted: %.0f ms\n", (AgoraNs() - inicio) / 1e6);
        QTimer::singleShot(0, &aplicacao, [&] {
            TVendasHora* gadget = janela.findChild<TVendasHora*>();
            TConfig& config = *janela.Inicializacao()->GetConfiguracao();
            TConexao& conexao = *janela.Inicializacao()->GetConexao();
            std::vector<double> atualizacao;
            double pior = 0;
            {
                // The day alone, as isql-fb reads it.
                config.setComparacao(ValorComparacao(TComparacao::Nada));
                const Vigia vigia;
                atualizacao = Mede([&] { Atualiza(gadget); });
                pior = vigia.pior();
            }
            TVendasHoraDados dados;
            const QString dia = DIA_BENCH.toString(FORMATO_DATA);
            const std::vector<double> consulta = Mede([&] {
                TFilaBanco::Programa().Executar([&] {
                    conexao.ConectarBanco();
                    dados.ValorDasVendas(config, conexao, dia);
                });
            });
            double soma = 0;
            for (const TTabelaVendasHora::TLinha& linha : dados.CdsTemp().Linhas())
                soma += linha.VALOR;
            std::printf("refresh (IniciarGadget), median of %d: %.1f ms (min %.1f)\n", VEZES,
                        Mediana(atualizacao),
                        *std::min_element(atualizacao.begin(), atualizacao.end()));
            std::printf("UI thread's longest stall during the refreshes: %.1f ms\n", pior);
            std::printf("  of which reconnect + sales query + table: %.1f ms (min %.1f)\n",
                        Mediana(consulta), *std::min_element(consulta.begin(), consulta.end()));
            std::printf("  day's total over %lld hours: %.2f\n",
                        static_cast<long long>(dados.CdsTemp().Linhas().size()), soma);
            MedeComparacoes(gadget, config);
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
