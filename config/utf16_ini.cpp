#include "config/utf16_ini.h"

namespace ini {

namespace {

void AcrescentarUnidade(QByteArray& saida, char16_t u)
{
    if (u < 0x80) {
        saida.append(static_cast<char>(u));
    } else if (u < 0x800) {
        saida.append(static_cast<char>(0xC0 | (u >> 6)));
        saida.append(static_cast<char>(0x80 | (u & 0x3F)));
    } else {
        saida.append(static_cast<char>(0xE0 | (u >> 12)));
        saida.append(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
        saida.append(static_cast<char>(0x80 | (u & 0x3F)));
    }
}

char16_t Unidade(QByteArrayView bytes, qsizetype i, bool grandeExtremidade)
{
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    return grandeExtremidade ? char16_t(a << 8 | b) : char16_t(b << 8 | a);
}

// Calls f with each code unit; a unit cut at the end is left out.
template <class Funcao>
void ParaCadaUnidade(QByteArrayView b, Funcao&& f)
{
    const qsizetype n = b.size();
    for (qsizetype i = 0; i < n;) {
        const auto c = static_cast<unsigned char>(b[i]);
        const auto continuacao = [&](qsizetype k) {
            return static_cast<char16_t>(b[i + k] & 0x3F);
        };
        if (c < 0x80) {
            f(char16_t(c));
            ++i;
        } else if ((c & 0xE0) == 0xC0 && i + 1 < n) {
            f(char16_t((c & 0x1F) << 6 | continuacao(1)));
            i += 2;
        } else if ((c & 0xF0) == 0xE0 && i + 2 < n) {
            f(char16_t((c & 0x0F) << 12 | continuacao(1) << 6 | continuacao(2)));
            i += 3;
        } else {
            break;
        }
    }
}

} // namespace

QByteArray Utf16ParaInterno(QByteArrayView bytes, bool grandeExtremidade)
{
    QByteArray interno;
    interno.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        AcrescentarUnidade(interno, Unidade(bytes, i, grandeExtremidade));
    return interno;
}

QByteArray TextoParaInterno(QStringView texto)
{
    QByteArray interno;
    interno.reserve(texto.size());
    for (const QChar c : texto)
        AcrescentarUnidade(interno, c.unicode());
    return interno;
}

QString InternoParaTexto(QByteArrayView interno)
{
    QString texto;
    texto.reserve(interno.size());
    ParaCadaUnidade(interno, [&](char16_t u) { texto.append(QChar(u)); });
    return texto;
}

void InternoParaUtf16(QByteArrayView interno, bool grandeExtremidade, QByteArray& saida)
{
    ParaCadaUnidade(interno, [&](char16_t u) {
        const char alto = static_cast<char>(u >> 8);
        const char baixo = static_cast<char>(u & 0xFF);
        saida.append(grandeExtremidade ? alto : baixo);
        saida.append(grandeExtremidade ? baixo : alto);
    });
}

} // namespace ini
