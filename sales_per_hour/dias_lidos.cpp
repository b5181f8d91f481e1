#include "sales_per_hour/dias_lidos.h"

#include "sales_per_hour/arredondamento.h"
#include "sales_per_hour/tabela_vendas_hora.h"

#include <algorithm>

namespace {

bool Algarismo(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The first minute mm of the hour at which ":mm" is not before resto, the
// way the texts compare; 60 when none is.
int PrimeiroMinuto(const QString& resto)
{
    if (resto.size() == 3 && resto.at(0) == u':' && Algarismo(resto.at(1))
        && Algarismo(resto.at(2))) {
        const int mm = resto.mid(1).toInt();
        return mm < 60 ? mm : 60;
    }
    for (int mm = 0; mm < 60; ++mm) {
        if (resto <= QStringLiteral(":%1").arg(mm, 2, 10, QLatin1Char('0')))
            return mm;
    }
    return 60;
}

} // namespace

void TDiaLido::Somar(const QString& hora, const QString& resto, long double valor, int vendas)
{
    const QString chave = ChaveHora(hora);
    if (chave.size() != 2 || !Algarismo(chave.at(0)) || !Algarismo(chave.at(1)))
        return;
    const int h = chave.toInt();
    if (h > 23)
        return;
    const int minuto = PrimeiroMinuto(resto);
    for (TGrupo& grupo : FGrupos) {
        if (grupo.Hora == h && grupo.Minuto == minuto) {
            grupo.Valor += valor;
            grupo.Vendas += vendas;
            return;
        }
    }
    FGrupos.push_back({h, minuto, vendas, valor});
}

long double TDiaLido::Valor(int h) const
{
    long double soma = 0;
    for (const TGrupo& grupo : FGrupos)
        if (grupo.Hora == h)
            soma += grupo.Valor;
    return soma;
}

int TDiaLido::Vendas(int h) const
{
    int soma = 0;
    for (const TGrupo& grupo : FGrupos)
        if (grupo.Hora == h)
            soma += grupo.Vendas;
    return soma;
}

long double TDiaLido::ValorAte(int ini, int fim, int hh, int mm) const
{
    long double soma = 0;
    for (const TGrupo& grupo : FGrupos) {
        if (grupo.Hora < ini || grupo.Hora > fim)
            continue;
        if (grupo.Hora < hh || (grupo.Hora == hh && grupo.Minuto <= mm))
            soma += grupo.Valor;
    }
    return soma;
}

void PreencherTabela(TTabelaVendasHora& tabela, const TDiaLido& dia)
{
    // Each row, found by its key, takes its hour's figures.
    for (const TTabelaVendasHora::TLinha& zerada : tabela.Linhas()) {
        TTabelaVendasHora::TLinha* linha = tabela.Localizar(zerada.HORA);
        const int h = linha->HORA.toInt();
        linha->Exato = dia.Valor(h);
        linha->VALOR = ArredondarCentavos(static_cast<double>(linha->Exato));
        linha->VENDAS = dia.Vendas(h);
    }
}

bool TCacheDias::Valida(const TEntrada& entrada, const QDateTime& agora)
{
    // A clock set back makes no entry good for longer.
    const qint64 idade = entrada.Lido.secsTo(agora);
    return idade >= 0 && idade < VALIDADE_SEGUNDOS;
}

std::shared_ptr<const TDiaLido> TCacheDias::Procurar(const TChave& chave, const QDateTime& agora)
{
    const std::lock_guard trava(FTrava);
    const auto entrada = FDias.find(chave);
    if (entrada == FDias.end() || !Valida(entrada->second, agora))
        return nullptr;
    return entrada->second.Dia;
}

void TCacheDias::Guardar(const TChave& chave, std::shared_ptr<const TDiaLido> dia,
                         const QDateTime& agora)
{
    const std::lock_guard trava(FTrava);
    std::erase_if(FDias, [&](const auto& par) { return !Valida(par.second, agora); });
    FDias[chave] = {std::move(dia), agora};
}
