#include "sales_per_hour/vendas_hora_dados.h"

#include "base/erro.h"
#include "config/config.h"
#include "data/conexao.h"
#include "data/query.h"
#include "sales_per_hour/consulta_vendas.h"
#include "sales_per_hour/dias_lidos.h"

#include <map>

QDate DataDoDia(const QString& texto)
{
    const QDate data = QDate::fromString(texto, QStringLiteral("d/M/yyyy"));
    if (!data.isValid())
        throw TErro(QStringLiteral("\"%1\" não é uma data válida").arg(texto));
    return data;
}

TVendasHoraDados::TVendasHoraDados() = default;
TVendasHoraDados::~TVendasHoraDados() = default;

void TVendasHoraDados::CriarClientDataSet(const TConfig& config)
{
    FCdsTemp.Recriar(config.HoraIni(), config.HoraFim());
}

void TVendasHoraDados::ValorDasVendas(const TConfig& config, TConexao& conexao, const QString& Data)
{
    ValorDasVendas(config, conexao, Data, TComparacao::Nada, nullptr, QDate(), QDateTime());
}

void TVendasHoraDados::ValorDasVendas(const TConfig& config, TConexao& conexao, const QString& Data,
                                      TComparacao comparacao, TCacheDias* cache, const QDate& hoje,
                                      const QDateTime& agora)
{
    const QDate dia = DataDoDia(Data);
    const bool excluirImportados = config.PedidosImportados() == QStringLiteral("0");
    const bool filtrarEmpresa = !config.Empresa().isEmpty();

    // The day shown first, then its reference days; a day may be both when
    // one is shown whose reference is another's.
    std::vector<QDate> dias{dia};
    for (const QDate& referencia : DiasDeReferencia(dia, comparacao))
        dias.push_back(referencia);
    const auto chave = [&](const QDate& d) {
        return TCacheDias::TChave{d, config.Empresa(), config.HoraIni(), config.HoraFim(),
                                  excluirImportados};
    };
    std::map<QDate, std::shared_ptr<const TDiaLido>> lidos;
    std::map<QDate, std::shared_ptr<TDiaLido>> aLer;
    for (const QDate& d : dias) {
        if (lidos.contains(d) || aLer.contains(d))
            continue;
        std::shared_ptr<const TDiaLido> guardado =
            cache && d < hoje ? cache->Procurar(chave(d), agora) : nullptr;
        if (guardado)
            lidos[d] = std::move(guardado);
        else
            aLer[d] = std::make_shared<TDiaLido>();
    }

    if (!aLer.empty()) {
        QryVendas = std::make_unique<TQuery>(conexao.GetBancoDados(), conexao.GetTransaction());
        QryVendas->SetSQL(
            TextoConsultaVendas(excluirImportados, filtrarEmpresa, static_cast<int>(aLer.size())));
        int i = 0;
        for (const auto& [d, lido] : aLer)
            QryVendas->SetParam(ParametroDia(i++), d);
        if (filtrarEmpresa)
            QryVendas->SetParam(QStringLiteral("CodEmpresa"),
                                config.BytesNoArquivo(config.Empresa()));
        QryVendas->Open();
        for (int linha = 0; linha < QryVendas->Linhas(); ++linha) {
            const auto alvo =
                aLer.find(QryVendas->Value(linha, QStringLiteral("DataPedido")).toDate());
            if (alvo == aLer.end())
                continue;
            // Several groups reach one hour when it is written in different
            // ways (null, "", "00:30"; "7", "07:10"); its value is their sum,
            // rounded once: a cent rounded in each group would add up to
            // more. A long double holds the groups of a day without loss.
            alvo->second->Somar(
                QryVendas->AsString(linha, QStringLiteral("Hora")),
                QryVendas->AsString(linha, QStringLiteral("Minuto")),
                static_cast<long double>(QryVendas->AsFloat(linha, QStringLiteral("TotalPedido")))
                    - QryVendas->AsFloat(linha, QStringLiteral("TotalDevolvido")),
                static_cast<int>(QryVendas->Value(linha, QStringLiteral("Vendas")).toLongLong()));
        }
        for (auto& [d, lido] : aLer) {
            if (cache && d < hoje)
                cache->Guardar(chave(d), lido, agora);
            lidos[d] = std::move(lido);
        }
    }

    CriarClientDataSet(config);
    PreencherTabela(FCdsTemp, *lidos.at(dia));
    FComparacao = comparacao;
    FReferencias.clear();
    for (const QDate& referencia : DiasDeReferencia(dia, comparacao))
        FReferencias.push_back(lidos.at(referencia));
}

TIndicadores TVendasHoraDados::Indicadores(std::optional<QTime> agora) const
{
    std::vector<const TDiaLido*> referencias;
    for (const auto& dia : FReferencias)
        referencias.push_back(dia.get());
    return CalcularIndicadores(FCdsTemp, referencias, agora);
}
