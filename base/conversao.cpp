#include "base/conversao.h"

#include "base/erro.h"

int StrToInt(const QString& texto)
{
    bool ok = false;
    const int valor = texto.trimmed().toInt(&ok, 10);
    if (!ok)
        throw TErro(QStringLiteral("\"%1\" não é um valor inteiro válido").arg(texto));
    return valor;
}
