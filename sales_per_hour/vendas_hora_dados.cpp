#include "sales_per_hour/vendas_hora_dados.h"

#include "base/erro.h"
#include "config/config.h"
#include "data/conexao.h"
#include "data/query.h"
#include "sales_per_hour/arredondamento.h"
#include "sales_per_hour/consulta_vendas.h"

#include <map>

QDate DataDoDia(const QString& texto)
{
    const QDate data = QDate::fromString(texto, QStringLiteral("d/M/yyyy"));
    if (!data.isValid())
        throw Erro(QStringLiteral("\"%1\" não é uma data válida").arg(texto));
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
    QryVendas = std::make_unique<TQuery>(conexao.getBancoDados(), conexao.getTransaction());
    const bool filtrarEmpresa = !config.Empresa().isEmpty();
    QryVendas->setSQL(
        TextoConsultaVendas(config.PedidosImportados() == QStringLiteral("0"), filtrarEmpresa));
    QryVendas->setParam(QStringLiteral("PdataIni"), DataDoDia(Data));
    if (filtrarEmpresa)
        QryVendas->setParam(QStringLiteral("CodEmpresa"), config.BytesNoArquivo(config.Empresa()));
    QryVendas->open();

    CriarClientDataSet(config);
    // Several groups reach one key when the hour is written in different
    // ways (null, "", "00:30"; "7", "07:10"). The hour's value is their sum,
    // rounded once: a cent rounded in each group would add up to more. A
    // long double holds the few groups of an hour without loss.
    std::map<TTabelaVendasHora::Linha*, long double> somas;
    for (int i = 0; i < QryVendas->linhas(); ++i) {
        const QString hora = QryVendas->asString(i, QStringLiteral("Hora"));
        auto* linha = FCdsTemp.Localizar(ChaveHora(hora));
        if (!linha)
            continue;
        somas[linha] +=
            static_cast<long double>(QryVendas->asFloat(i, QStringLiteral("TotalPedido")))
            - QryVendas->asFloat(i, QStringLiteral("TotalDevolvido"));
    }
    for (const auto& [linha, soma] : somas)
        linha->VALOR = ArredondarCentavos(static_cast<double>(soma));
}
