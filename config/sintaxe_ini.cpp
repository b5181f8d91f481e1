#include "config/sintaxe_ini.h"

#include <algorithm>

namespace ini {

QStringView SemBrancos(QStringView s)
{
    qsizetype ini = 0;
    qsizetype fim = s.size();
    while (ini < fim && EhBranco(s[ini].unicode()))
        ++ini;
    while (fim > ini && EhBranco(s[fim - 1].unicode()))
        --fim;
    return s.sliced(ini, fim - ini);
}

QString Cortado(QString v)
{
    if (v.size() > MAX_VALOR) {
        v.truncate(MAX_VALOR);
        // Half a character cannot be written back.
        if (v.back().isHighSurrogate())
            v.chop(1);
    }
    return v;
}

QString ValorLido(QStringView bruto)
{
    QStringView v = SemBrancos(bruto);
    if (EntreAspas(v))
        v = v.sliced(1, v.size() - 2);
    return Cortado(v.toString());
}

QString ValorGravado(const QString& valor)
{
    QString v = valor;
    v.replace(u'\n', u' ');
    const bool aspas =
        !v.isEmpty()
        && (EhBranco(v.front().unicode()) || EhBranco(v.back().unicode()) || EntreAspas(v));
    return aspas ? u'"' + v + u'"' : v;
}

QByteArray ValorGravadoBytes(const QByteArray& valor)
{
    QByteArray v = valor;
    v.replace('\n', ' ');
    const bool entreAspas =
        v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
    const bool aspas = !v.isEmpty()
                       && (EhBranco(static_cast<unsigned char>(v.front()))
                           || EhBranco(static_cast<unsigned char>(v.back())) || entreAspas);
    return aspas ? '"' + v + '"' : v;
}

bool SoAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool SoAscii(QStringView texto)
{
    return std::all_of(texto.begin(), texto.end(), [](QChar c) { return c.unicode() < 0x80; });
}

bool MesmoNome(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    const char16_t* pa = a.utf16();
    const char16_t* pb = b.utf16();
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char16_t x = pa[i];
        const char16_t y = pb[i];
        if (x != y
            && ((x < 0x80) != (y < 0x80) || QChar::toCaseFolded(x) != QChar::toCaseFolded(y)))
            return false;
    }
    return true;
}

} // namespace ini
