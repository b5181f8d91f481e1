#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <cstring>

// The lines of an INI file as the Windows profile functions read them. The
// functions a read calls for each line are here, to be inlined.
namespace ini {

// The read buffer of the Windows profile functions holds 2 048 characters
// with the terminator.
constexpr qsizetype MAX_VALOR = 2047;
// More bytes than MAX_VALOR characters take in any of the encodings.
constexpr qsizetype MAX_BYTES_VALOR = (MAX_VALOR + 1) * 4;

inline bool EhBranco(char32_t c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

QStringView SemBrancos(QStringView s);

// The blanks are ASCII, so they are the same bytes in every encoding here.
inline QByteArrayView SemBrancos(QByteArrayView s)
{
    qsizetype ini = 0;
    qsizetype fim = s.size();
    while (ini < fim && EhBranco(static_cast<unsigned char>(s[ini])))
        ++ini;
    while (fim > ini && EhBranco(static_cast<unsigned char>(s[fim - 1])))
        --fim;
    return s.sliced(ini, fim - ini);
}

inline bool Branca(QByteArrayView linha)
{
    return SemBrancos(linha).isEmpty();
}

template <class Texto>
bool EntreAspas(Texto v)
{
    return v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
}

// No longer than a value read can be.
QString Cortado(QString v);
// A value as written by ValorGravado reads back.
QString ValorLido(QStringView bruto);
// What to write so that the value reads back as itself: a line cannot hold a
// line break, and blanks or quotes at the ends would be stripped on reading.
QString ValorGravado(const QString& valor);
QByteArray ValorGravadoBytes(const QByteArray& valor);

bool SoAscii(QByteArrayView bytes);
bool SoAscii(QStringView texto);

// Letter case is ignored, but a non-ASCII letter never matches an ASCII one
// (the long s is no "s"): which names match must not depend on whether the
// file decodes as UTF-8 or as Windows-1252.
bool MesmoNome(QStringView a, QStringView b);

enum class TTipo { Outra, Secao, Chave };

struct TAnalise {
    TTipo tipo = TTipo::Outra;
    QByteArrayView nome; // blanks removed
    qsizetype igual = -1; // where the key's "=" stands in the line
};

inline bool PodeSerCabecalho(QByteArrayView linha)
{
    qsizetype i = 0;
    while (i < linha.size() && EhBranco(static_cast<unsigned char>(linha[i])))
        ++i;
    return i < linha.size() && linha[i] == '[';
}

// '[', ']' and '=' are ASCII and no byte of a longer character: the bytes give
// the same lines and names as the decoded text.
inline TAnalise Analisar(QByteArrayView linha)
{
    TAnalise a;
    if (PodeSerCabecalho(linha)) {
        const qsizetype abre = linha.indexOf('[');
        const qsizetype fecha = linha.lastIndexOf(']');
        if (fecha > abre) {
            a.tipo = TTipo::Secao;
            a.nome = SemBrancos(linha.sliced(abre + 1, fecha - abre - 1));
            return a;
        }
    }
    a.igual = linha.indexOf('=');
    if (a.igual >= 0) {
        a.tipo = TTipo::Chave;
        a.nome = SemBrancos(linha.first(a.igual));
    }
    return a;
}

struct TLinha {
    qsizetype inicio = 0;
    qsizetype fim = 0; // where the text ends: before "\r\n", "\n", or at the end
    qsizetype proxima = 0; // after the line break

    bool SemQuebra() const { return proxima == fim; }
};

// Calls f(line, text of the line) for each line until it returns false.
template <class Funcao>
void ParaCadaLinha(QByteArrayView bytes, Funcao&& f)
{
    const char* dados = bytes.data();
    const qsizetype n = bytes.size();
    TLinha l;
    while (l.inicio < n) {
        const auto* quebra = static_cast<const char*>(
            std::memchr(dados + l.inicio, '\n', std::size_t(n - l.inicio)));
        l.fim = quebra ? quebra - dados : n;
        l.proxima = quebra ? l.fim + 1 : n;
        if (quebra && l.fim > l.inicio && dados[l.fim - 1] == '\r')
            --l.fim;
        if (!f(l, bytes.sliced(l.inicio, l.fim - l.inicio)))
            return;
        l.inicio = l.proxima;
    }
}

} // namespace ini
