#include "sales_per_hour/leitura_vendas.h"

#include "base/erro.h"
#include "data/conexao.h"
#include "data/fila_banco.h"
#include "data/nome_filial.h"
#include "frame/temporizador.h"
#include "platform/seams.h"
#include "sales_per_hour/dias_lidos.h"

#include <QWidget>
#include <algorithm>
#include <utility>

namespace {

// The longest a database that keeps timing out waits for the next automatic
// try.
constexpr int ESPERA_MAXIMA_MS = 30 * 60 * 1000;

// The same after every cut, so that a box still open is not shown twice.
const QString AVISO_TEMPO_ESGOTADO =
    QStringLiteral("As próximas atualizações automáticas esperam cada vez mais, até 30 minutos; "
                   "mudar o dia ou salvar a configuração tenta de novo na hora.");

// The branch label when the configured code names no branch (deleted, or
// saved in an encoding other than the database's): not an empty label over
// a chart of zeros.
const QString FILIAL_NAO_ENCONTRADA = QStringLiteral("Filial %1 não encontrada");

} // namespace

TLeitura::TLeitura(const TConfig& Config, const QString& Data)
    : Config(Config),
      Data(Data),
      Comparacao(LerComparacao(Config.Comparacao())),
      Hoje(plataforma::Hoje()),
      Agora(plataforma::Agora())
{
}

std::optional<QTime> TLeitura::AgoraSeHoje() const
{
    return DataDoDia(Data) == Hoje ? std::optional<QTime>(Agora.time()) : std::nullopt;
}

TLeituraVendas::TLeituraVendas(QWidget* Ocupado, const TTemporizador* Tiques)
    : FOcupado(Ocupado),
      FTiques(Tiques),
      FCache(std::make_shared<TCacheDias>())
{
}

TLeituraVendas::~TLeituraVendas()
{
    const quint64 trabalho = std::exchange(FTrabalho, 0);
    if (!trabalho)
        return;
    TFilaBanco::Programa().Abandonar(trabalho);
    TFilaBanco::Programa().Aguardar(trabalho);
}

bool TLeituraVendas::Aceita(bool Automatica)
{
    if (!Automatica) {
        // The user's own day change or save tries at once.
        FTiquesAPular = 0;
        return true;
    }
    if (Lendo())
        return false;
    if (FTiquesAPular > 0) {
        --FTiquesAPular;
        return false;
    }
    return true;
}

void TLeituraVendas::Ler(QObject* Dono, TConexao* Conexao, const TConfig& Config,
                         const QString& Data, TFim Fim)
{
    Abandona();
    auto leitura = std::make_shared<TLeitura>(Config, Data);
    FTrabalho = TFilaBanco::Programa().Enfileirar(
        Dono,
        [leitura, Conexao, cache = FCache] {
            try {
                Conexao->ConectarBanco();
                const TLiberacaoEmbutido liberacao(*Conexao);
                const QString empresa = leitura->Config.Empresa();
                leitura->NomeFilial =
                    empresa.isEmpty()
                        ? TODAS_AS_FILIAIS
                        : NomeFilial(empresa).value_or(FILIAL_NAO_ENCONTRADA.arg(empresa));
                leitura->Dados->ValorDasVendas(leitura->Config, *Conexao, leitura->Data,
                                               leitura->Comparacao, cache.get(), leitura->Hoje,
                                               leitura->Agora);
            } catch (...) {
                if (TFilaBanco::Programa().AbortouTrabalhoAtual())
                    Conexao->Descartar();
                throw;
            }
        },
        [this, leitura, Fim = std::move(Fim)](std::exception_ptr erro) {
            FTrabalho = 0;
            if (FOcupado)
                FOcupado->unsetCursor();
            Fim(*leitura, AnotaResultado(erro));
        });
    // The quiet sign of a reading: the busy pointer.
    if (FTrabalho && FOcupado)
        FOcupado->setCursor(Qt::BusyCursor);
}

void TLeituraVendas::Abandona()
{
    if (!FTrabalho)
        return;
    TFilaBanco::Programa().Abandonar(std::exchange(FTrabalho, 0));
    if (FOcupado)
        FOcupado->unsetCursor();
}

// Asked again at every tick, a database that cannot answer in time spends
// its server on the gadget instead of the tills.
std::exception_ptr TLeituraVendas::AnotaResultado(std::exception_ptr Erro)
{
    if (!Erro) {
        FEsperaTiques = 0;
        return Erro;
    }
    try {
        std::rethrow_exception(Erro);
    } catch (const TErroTempoEsgotado& e) {
        EsperaMaisPelaProximaTentativa();
        return std::make_exception_ptr(::TErro(e.Texto() + u'\n' + AVISO_TEMPO_ESGOTADO));
    } catch (...) {
        FEsperaTiques = 0;
        return Erro;
    }
}

// Doubles the wait, in ticks of the refresh timer, up to the longest one
// (never less than one tick).
void TLeituraVendas::EsperaMaisPelaProximaTentativa()
{
    const int periodo = FTiques->Interval();
    const int maximo = periodo > 0 ? std::max(1, ESPERA_MAXIMA_MS / periodo) : 1;
    FEsperaTiques = std::min(maximo, FEsperaTiques == 0 ? 2 : FEsperaTiques * 2);
    FTiquesAPular = FEsperaTiques - 1;
}
