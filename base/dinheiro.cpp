#include "base/dinheiro.h"

#include "base/brasil.h"

#include <QRegularExpression>
#include <cmath>

std::optional<double> LerDinheiro(const QString& texto, bool pontoDecimal)
{
    static const QRegularExpression brasileiro(QStringLiteral(
        "^(?<inteiro>[0-9]{1,3}(?:\\.[0-9]{3})+|[0-9]+)(?:,(?<decimais>[0-9]{1,2}))?$"));
    static const QRegularExpression ponto(
        QStringLiteral("^(?<inteiro>[0-9]+)\\.(?<decimais>[0-9]{1,2})$"));
    const QString limpo = texto.trimmed();
    QRegularExpressionMatch achado = brasileiro.match(limpo);
    if (!achado.hasMatch() && pontoDecimal)
        achado = ponto.match(limpo);
    if (!achado.hasMatch())
        return std::nullopt;
    QString numero = achado.captured(QStringLiteral("inteiro")).remove(u'.');
    const QString decimais = achado.captured(QStringLiteral("decimais"));
    if (!decimais.isEmpty())
        numero += u'.' + decimais;
    bool ok = false;
    const double valor = numero.toDouble(&ok);
    if (!ok || !std::isfinite(valor))
        return std::nullopt;
    return valor;
}

QString TextoDinheiro(double valor, bool milhares)
{
    QLocale brasil = LOCALE_BRASIL;
    if (!milhares)
        brasil.setNumberOptions(QLocale::OmitGroupSeparator);
    // + 0.0 turns a negative zero into "0,00"; so does a value that rounds
    // to zero.
    QString texto = brasil.toString(valor + 0.0, 'f', 2);
    if (texto.startsWith(u'-') && brasil.toDouble(texto) == 0)
        texto.remove(0, 1);
    return texto;
}

QString TextoReais(double valor)
{
    const QString numero = TextoDinheiro(std::fabs(valor), true);
    return (valor < 0 && numero != TextoDinheiro(0, true) ? QStringLiteral("-R$ ")
                                                          : QStringLiteral("R$ "))
           + numero;
}
