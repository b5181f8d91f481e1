#include "data/filiais.h"

#include "base/texto.h"
#include "data/query.h"

QString TFilial::Texto() const
{
    return DecodificarTexto(Codigo) + QStringLiteral(" - ") + Nome;
}

QList<TFilial> LerFiliaisAtivas(TQuery& busca)
{
    busca.close();
    busca.setSQL({QStringLiteral("SELECT CODEMPRESA, NOMEEMPRESA FROM FILIAIS"),
                  QStringLiteral("WHERE FILIALATIVA <> 'N'                 ")});
    busca.open();
    QList<TFilial> filiais;
    for (int linha = 0; linha < busca.linhas(); ++linha)
        filiais.append({busca.asBytes(linha, QStringLiteral("CODEMPRESA")),
                        busca.asString(linha, QStringLiteral("NOMEEMPRESA"))});
    return filiais;
}
