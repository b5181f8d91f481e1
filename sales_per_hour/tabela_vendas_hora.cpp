#include "sales_per_hour/tabela_vendas_hora.h"

#include "base/conversao.h"

void TTabelaVendasHora::Recriar(const QString& horaIni, const QString& horaFim)
{
    FLinhas.clear();
    const int ini = StrToInt(horaIni);
    const int fim = StrToInt(horaFim);
    for (long long h = ini; h <= fim; ++h)
        FLinhas.push_back({ChaveHora(QString::number(h)), 0.0});
}

TTabelaVendasHora::TLinha* TTabelaVendasHora::Localizar(const QString& hora)
{
    for (TLinha& linha : FLinhas) {
        if (linha.HORA == hora)
            return &linha;
    }
    return nullptr;
}

QString ChaveHora(const QString& hora)
{
    return hora.rightJustified(2, u'0');
}
