#include "sales_per_hour/vendas_periodo.h"

#include "base/texto.h"
#include "config/config.h"
#include "data/conexao.h"
#include "data/query.h"
#include "sales_per_hour/consulta_vendas.h"
#include "sales_per_hour/dias_lidos.h"

namespace {

// Turns the statement's rows, in its order, into the blocks of each branch.
class TLeitor {
public:
    TLeitor(const TConfig& config, const QDate& de, const QDate& ate,
            const std::function<void(const TBlocoVendas&)>& aCadaBloco)
        : FConfig(config),
          FAte(ate),
          FProximo(de),
          FInicio(de),
          FACadaBloco(aCadaBloco)
    {
    }

    // A branch whose rows begin: the previous one gets its remaining days.
    void NovaFilial(const QString& filial)
    {
        if (FFilial)
            FimDaFilial();
        FFilial = filial;
        FProximo = FInicio;
    }

    void Somar(const QDate& dia, const TLinhaQuery& linha)
    {
        if (dia != FDia) {
            FecharDia();
            ZerosAte(dia);
            FDia = dia;
        }
        // Several groups reach one hour when it is written in different
        // ways (null, "", "00"; "7", "07"): summed here, rounded once.
        FLido.Somar(linha.AsString(QStringLiteral("Hora")), QString(),
                    static_cast<long double>(linha.AsFloat(QStringLiteral("TotalPedido")))
                        - linha.AsFloat(QStringLiteral("TotalDevolvido")),
                    static_cast<int>(linha.Value(QStringLiteral("Vendas")).toLongLong()));
    }

    void FimDaFilial()
    {
        FecharDia();
        ZerosAte(FAte.addDays(1));
    }

private:
    void FecharDia()
    {
        if (!FDia.isValid())
            return;
        Entregar(FDia, FLido);
        FProximo = FDia.addDays(1);
        FDia = QDate();
        FLido = TDiaLido();
    }

    void ZerosAte(const QDate& limite)
    {
        const TDiaLido vazio;
        for (; FProximo < limite; FProximo = FProximo.addDays(1))
            Entregar(FProximo, vazio);
    }

    void Entregar(const QDate& dia, const TDiaLido& lido)
    {
        FTabela.Recriar(FConfig.HoraIni(), FConfig.HoraFim());
        PreencherTabela(FTabela, lido);
        const TIndicadores indicadores = CalcularIndicadores(FTabela, {}, std::nullopt);
        FACadaBloco(TBlocoVendas{dia, FFilial, FTabela, indicadores});
    }

    const TConfig& FConfig;
    const QDate FAte;
    QDate FProximo; // the first day of the branch not yet handed over
    const QDate FInicio;
    const std::function<void(const TBlocoVendas&)>& FACadaBloco;
    std::optional<QString> FFilial;
    QDate FDia; // the day being summed
    TDiaLido FLido;
    TTabelaVendasHora FTabela;
};

// A branch code as the database compares it: trailing blanks do not count.
QByteArray ChaveFilial(QByteArray bytes)
{
    while (bytes.endsWith(' '))
        bytes.chop(1);
    return bytes;
}

} // namespace

void LerVendasPeriodo(const TConfig& config, TConexao& conexao, const QDate& de, const QDate& ate,
                      bool porFilial, const std::function<void(const TBlocoVendas&)>& aCadaBloco)
{
    const bool excluirImportados = config.PedidosImportados() == QStringLiteral("0");
    const bool filtrarEmpresa = !porFilial && !config.Empresa().isEmpty();
    // Throws on a bad hour setting before anything is read.
    TTabelaVendasHora().Recriar(config.HoraIni(), config.HoraFim());

    TQuery consulta(conexao.GetBancoDados(), conexao.GetTransaction());
    consulta.SetSQL(TextoConsultaPeriodo(excluirImportados, filtrarEmpresa, porFilial));
    consulta.SetParam(QStringLiteral("PDe"), de);
    consulta.SetParam(QStringLiteral("PAte"), ate);
    if (filtrarEmpresa)
        consulta.SetParam(QStringLiteral("CodEmpresa"), config.BytesNoArquivo(config.Empresa()));

    TLeitor leitor(config, de, ate, aCadaBloco);
    std::optional<QByteArray> filial;
    consulta.Percorrer([&](const TLinhaQuery& linha) {
        if (porFilial) {
            const QByteArray bytes = linha.AsBytes(QStringLiteral("Filial"));
            if (filial != ChaveFilial(bytes)) {
                filial = ChaveFilial(bytes);
                leitor.NovaFilial(DecodificarTexto(*filial));
            }
        }
        const QVariant dia = linha.Value(QStringLiteral("DataPedido"));
        // A branch's row from FILIAIS has no day: it only opens the block.
        if (dia.isValid())
            leitor.Somar(dia.toDate(), linha);
    });
    // Without branches, the one run of days is there even without orders.
    if (!porFilial || filial)
        leitor.FimDaFilial();
}
