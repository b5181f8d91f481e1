#include "sales_per_hour/indicadores_dia.h"

#include "sales_per_hour/arredondamento.h"
#include "sales_per_hour/dias_lidos.h"

#include <cmath>

std::vector<QDate> DiasDeReferencia(const QDate& dia, TComparacao comparacao)
{
    const int semanas = comparacao == TComparacao::Nada            ? 0
                        : comparacao == TComparacao::SemanaPassada ? 1
                                                                   : 4;
    std::vector<QDate> dias;
    for (int s = 1; s <= semanas; ++s)
        dias.push_back(dia.addDays(-7 * s));
    return dias;
}

std::optional<double> Ticket(long double valor, int vendas)
{
    if (vendas <= 0)
        return std::nullopt;
    return ArredondarCentavos(static_cast<double>(valor / vendas));
}

std::optional<int> Diferenca(double valor, double referencia)
{
    if (referencia == 0)
        return std::nullopt;
    return static_cast<int>(std::lround((valor - referencia) / std::fabs(referencia) * 100));
}

int PercentualMeta(double total, double meta)
{
    if (total <= 0 || meta <= 0)
        return 0;
    // 1e-9: a total exactly at the goal is 100, whatever the binary fraction.
    return static_cast<int>(std::floor(total / meta * 100 + 1e-9));
}

TIndicadores CalcularIndicadores(const TTabelaVendasHora& tabela,
                                 const std::vector<const TDiaLido*>& referencias,
                                 std::optional<QTime> agora)
{
    TIndicadores r;
    const auto& linhas = tabela.Linhas();
    const long double dias = static_cast<long double>(referencias.size());
    const auto media = [&](long double soma) {
        return ArredondarCentavos(static_cast<double>(soma / dias));
    };
    long double total = 0;
    long double referencia = 0;
    for (const TTabelaVendasHora::TLinha& linha : linhas) {
        const int h = linha.HORA.toInt();
        TIndicadores::THora hora;
        hora.Ticket = Ticket(linha.Exato, linha.VENDAS);
        total += linha.Exato;
        r.Vendas += linha.VENDAS;
        if (!referencias.empty()) {
            long double soma = 0;
            for (const TDiaLido* dia : referencias)
                soma += dia->Valor(h);
            referencia += soma;
            hora.Referencia = media(soma);
        }
        r.Horas.push_back(hora);
    }
    r.Total = ArredondarCentavos(static_cast<double>(total));
    r.Ticket = Ticket(total, r.Vendas);
    if (agora && !linhas.empty()) {
        const int ini = linhas.front().HORA.toInt();
        if (agora->hour() >= ini && agora->hour() <= linhas.back().HORA.toInt())
            r.HoraCorrente = agora->hour() - ini;
    }
    if (referencias.empty())
        return r;
    r.Referencia = media(referencia);
    if (!agora || linhas.empty())
        return r;

    const int hh = agora->hour();
    const int mm = agora->minute();
    long double ateAgora = 0;
    long double horaCorrente = 0;
    for (const TDiaLido* dia : referencias) {
        ateAgora += dia->ValorAte(linhas.front().HORA.toInt(), linhas.back().HORA.toInt(), hh, mm);
        horaCorrente += dia->ValorAte(hh, hh, hh, mm);
    }
    r.ReferenciaAteAgora = media(ateAgora);
    if (r.HoraCorrente)
        r.ReferenciaHoraCorrente = media(horaCorrente);
    return r;
}
