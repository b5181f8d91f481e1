#include "data/filiais.h"

#include "base/texto.h"
#include "data/query.h"

QString TFilial::Texto() const
{
    return DecodificarTexto(Codigo) + QStringLiteral(" - ") + Nome;
}

QList<TFilial> LerFiliaisAtivas(TQuery& busca)
{
    busca.Close();
    busca.SetSQL({QStringLiteral("SELECT CODEMPRESA, NOMEEMPRESA FROM FILIAIS"),
                  QStringLiteral("WHERE FILIALATIVA <> 'N'                 ")});
    busca.Open();
    QList<TFilial> filiais;
    for (int linha = 0; linha < busca.Linhas(); ++linha)
        filiais.append({busca.AsBytes(linha, QStringLiteral("CODEMPRESA")),
                        busca.AsString(linha, QStringLiteral("NOMEEMPRESA"))});
    return filiais;
}
