// Refreshes the sales-per-hour gadget many times in a row (2 000 unless told)
// against a retail database on the local server, through the event loop as
// the refresh timer does, and prints the process's memory (VmRSS), its open
// file descriptors and the server's user attachments to that database at a
// few points. Exits 1 when a refresh fails or one of the figures grows beyond
// noise.
// Usage: vph-soak [refreshes]

#include "config/config.h"
#include "data/conexao.h"
#include "data/configurar_conexao.h"
#include "data/query.h"
#include "platform/mensagens.h"
#include "platform/seams.h"
#include "sales_per_hour/vendas_hora.h"
#include "shell/aplicacao.h"
#include "shell/estilos_host.h"
#include "tests/fixtures/banco_varejo.h"
#include "tests/support/ambiente_qt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>

namespace {

// Beyond these the soak fails. RSS is compared with the figure after the
// warm-up, when caches of fonts, styles and the client library are full; over
// 2 000 refreshes it then drifts by a few hundred kB, while one line series
// left behind per refresh adds some 2.7 MB.
constexpr long CRESCIMENTO_RSS_KB = 1024;
constexpr int CRESCIMENTO_DESCRITORES = 2;
constexpr int CRESCIMENTO_ANEXOS = 0;
constexpr int AQUECIMENTO = 100;

long RssKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray linha; !(linha = status.readLine()).isEmpty();)
        if (linha.startsWith("VmRSS:"))
            return linha.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

int Descritores()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

// Counts, on an attachment of its own, the user attachments to the database,
// itself included.
class Anexos {
public:
    explicit Anexos(const AcessoBanco& a) { ConfigurarConexao(FConexao, a); }

    int contar()
    {
        FConexao.ConectarBanco(); // the monitoring tables hold per transaction
        TQuery query(FConexao.GetBancoDados(), FConexao.GetTransaction());
        query.SetSQL({QStringLiteral(
            "SELECT COUNT(*) AS N FROM MON$ATTACHMENTS WHERE MON$SYSTEM_FLAG = 0")});
        query.Open();
        return query.Value(0, QStringLiteral("N")).toInt();
    }

private:
    TConexao FConexao;
};

struct Medida {
    int refresh;
    long rssKb;
    int descritores;
    int anexos;
};

void CriarVendas(BancoVarejo& banco)
{
    banco.addFilial(QStringLiteral("01"), QStringLiteral("Loja Centro"));
    banco.addOperacao(1, QStringLiteral("S"), QStringLiteral("N"));
    QList<Pedido> pedidos;
    for (int hora = 8; hora <= 18; ++hora) {
        Pedido p;
        p.dataPedido = plataforma::Hoje();
        p.hora = QStringLiteral("%1:30").arg(hora, 2, 10, QLatin1Char('0'));
        p.totalPedido = 10.0 * hora + 0.25;
        pedidos << p;
    }
    banco.addPedidos(pedidos);
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir pasta;
    PrepararAmbienteQt(pasta);
    TAplicacao aplicacao(argc, argv);
    const int total = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 2000;
    if (total < AQUECIMENTO) {
        std::fprintf(stderr, "usage: %s [refreshes, at least %d]\n", argv[0], AQUECIMENTO);
        return 2;
    }

    int falhas = 0;
    plataforma::Ganchos().mensagem = [&](plataforma::TCaixa, const QString& texto) {
        if (falhas++ == 0)
            std::fprintf(stderr, "refresh failed: %s\n", qPrintable(texto));
    };

    BancoVarejo banco(pasta.filePath(QStringLiteral("soak.fdb")), BancoVarejo::Onde::Servidor);
    CriarVendas(banco);
    const QString ini = pasta.filePath(QStringLiteral("ConfigGadGet.Ini"));
    EscreverIniBanco(ini, banco.acesso());
    qputenv("VANTREL_GADGETS_INI", ini.toLocal8Bit());

    // As the start-up leaves them, with a branch so that every refresh also
    // makes the branch-name lookup's own connection.
    TConfig config(QStringLiteral("GadGetVendHora"));
    config.CarregarIni();
    config.InstanciaVariaveis(QStringLiteral("GVH"));
    config.setEmpresa(QStringLiteral("01"));
    TConexao conexao;
    ConfigurarConexao(conexao, config);
    QWidget host;
    host.resize(1200, 800);
    AplicaEstilosHost(&host);
    host.show();
    auto* gadget = new TVendasHora(&host);
    gadget->SetConfig(&config);
    gadget->SetConexao(&conexao);
    gadget->PosicionaGadGet();

    Anexos anexos(banco.acesso());
    QList<Medida> medidas;
    const auto medir = [&](int feitos) {
        medidas << Medida{feitos, RssKb(), Descritores(), anexos.contar()};
        const Medida& m = medidas.last();
        std::printf("soak: after %5d refreshes: VmRSS %7ld kB, descriptors %4d, attachments %d\n",
                    m.refresh, m.rssKb, m.descritores, m.anexos);
        std::fflush(stdout);
    };
    QList<int> pontos = {1, AQUECIMENTO, total / 4, total / 2, 3 * total / 4, total};
    std::sort(pontos.begin(), pontos.end());
    pontos.erase(std::unique(pontos.begin(), pontos.end()), pontos.end());
    medir(0);

    // One refresh per event-loop turn, as timer ticks come, so that what the
    // program releases later (deferred deletes) is released here too.
    int feitos = 0;
    QTimer tique;
    tique.setInterval(0);
    QObject::connect(&tique, &QTimer::timeout, gadget, [&] {
        if (feitos == total) {
            tique.stop();
            aplicacao.quit();
            return;
        }
        ++feitos;
        gadget->IniciarGadget(&tique);
        if (pontos.contains(feitos))
            QTimer::singleShot(0, gadget, [&, n = feitos] { medir(n); });
    });
    tique.start();
    aplicacao.exec();

    // The shared connection attaches at the first refresh and stays.
    const Medida& antes = medidas[1];
    const Medida& aquecido = medidas[pontos.indexOf(AQUECIMENTO) + 1];
    const Medida& depois = medidas.last();
    const long rss = depois.rssKb - aquecido.rssKb;
    const int descritores = depois.descritores - antes.descritores;
    const int anexosMais = depois.anexos - antes.anexos;
    std::printf("soak: %d refreshes, %d failed; VmRSS %+ld kB since refresh %d (limit %+ld), "
                "descriptors %+d (limit %+d), attachments %+d (limit %+d) since refresh 1\n",
                feitos, falhas, rss, aquecido.refresh, CRESCIMENTO_RSS_KB, descritores,
                CRESCIMENTO_DESCRITORES, anexosMais, CRESCIMENTO_ANEXOS);
    const bool ok = falhas == 0 && rss <= CRESCIMENTO_RSS_KB
                    && descritores <= CRESCIMENTO_DESCRITORES && anexosMais <= CRESCIMENTO_ANEXOS;
    std::printf("soak: %s\n", ok ? "OK" : "FAILED");
    return ok ? 0 : 1;
}
