#include "base/texto.h"

#include <QList>
#include <QStringDecoder>
#include <array>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; 0 marks the five
// unassigned bytes, which decode as themselves.
constexpr std::array<char16_t, 32> CP1252_ALTO = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

QString DecodificarCp1252(QByteArrayView bytes)
{
    QString texto(bytes.size(), Qt::Uninitialized);
    QChar* saida = texto.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        const char16_t alto = (b >= 0x80 && b <= 0x9F) ? CP1252_ALTO[b - 0x80] : 0;
        *saida++ = QChar(alto ? alto : char16_t(b));
    }
    return texto;
}

char CodificarCp1252(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < CP1252_ALTO.size(); ++i) {
        const char16_t alto = CP1252_ALTO[i] ? CP1252_ALTO[i] : char16_t(0x80 + i);
        if (alto == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

bool Continuacao(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// A byte order mark that begins the bytes is text like any other: they may
// be a piece cut from a longer text.
QString DeUtf8(QByteArrayView bytes, bool* valido = nullptr)
{
    QStringDecoder decodificador(QStringDecoder::Utf8,
                                 QStringDecoder::Flag::Stateless
                                     | QStringDecoder::Flag::ConvertInitialBom);
    QString texto = decodificador.decode(bytes);
    if (valido)
        *valido = !decodificador.hasError();
    return texto;
}

} // namespace

QString DecodificarTexto(const QByteArray& bytes, bool* utf8)
{
    bool valido = false;
    QString texto = DeUtf8(bytes, &valido);
    if (utf8)
        *utf8 = valido;
    return valido ? texto : DecodificarCp1252(bytes);
}

QByteArray CodificarTexto(const QString& texto, bool utf8)
{
    if (utf8)
        return texto.toUtf8();
    QByteArray bytes;
    const QList<uint> ucs4 = texto.toUcs4();
    for (const uint c : ucs4)
        bytes.append(CodificarCp1252(c));
    return bytes;
}

bool Utf8Valido(QByteArrayView bytes)
{
    constexpr qsizetype PEDACO = 1 << 16;
    // Cut only before a byte that begins a character: then the whole is valid
    // exactly when every piece is.
    qsizetype inicio = 0;
    while (inicio < bytes.size()) {
        qsizetype fim = qMin(inicio + PEDACO, bytes.size());
        for (qsizetype recuo = 0; fim < bytes.size() && recuo < 3 && Continuacao(bytes[fim]);
             ++recuo)
            --fim;
        QStringDecoder decodificador(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString ignorado = decodificador.decode(bytes.sliced(inicio, fim - inicio));
        if (decodificador.hasError())
            return false;
        inicio = fim;
    }
    return true;
}

QString DecodificarComo(QByteArrayView bytes, bool utf8)
{
    return utf8 ? DeUtf8(bytes) : DecodificarCp1252(bytes);
}
