#include "config/texto_ini.h"

#include "base/texto.h"

#include <algorithm>

namespace {

// The read buffer of the Windows profile functions holds 2 048 characters
// with the terminator.
constexpr qsizetype MAX_VALOR = 2047;
// More bytes than MAX_VALOR characters take in any of the encodings.
constexpr qsizetype MAX_BYTES_VALOR = (MAX_VALOR + 1) * 4;

const QByteArray BOM_UTF8 = QByteArrayLiteral("\xEF\xBB\xBF");
const QByteArray BOM_UTF16LE = QByteArrayLiteral("\xFF\xFE");
const QByteArray BOM_UTF16BE = QByteArrayLiteral("\xFE\xFF");

bool EhBranco(char32_t c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

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

// The blanks are ASCII, so they are the same bytes in every encoding here.
QByteArrayView SemBrancos(QByteArrayView s)
{
    qsizetype ini = 0;
    qsizetype fim = s.size();
    while (ini < fim && EhBranco(static_cast<unsigned char>(s[ini])))
        ++ini;
    while (fim > ini && EhBranco(static_cast<unsigned char>(s[fim - 1])))
        --fim;
    return s.sliced(ini, fim - ini);
}

bool Branca(QByteArrayView linha)
{
    return SemBrancos(linha).isEmpty();
}

template <class Texto>
bool EntreAspas(Texto v)
{
    return v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
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

// A value as written by this object reads back.
QString ValorLido(QStringView bruto)
{
    QStringView v = SemBrancos(bruto);
    if (EntreAspas(v))
        v = v.sliced(1, v.size() - 2);
    return Cortado(v.toString());
}

// What to write so that the value reads back as itself: a line cannot hold a
// line break, and blanks or quotes at the ends would be stripped on reading.
QString ValorGravado(const QString& valor)
{
    QString v = valor;
    v.replace(u'\n', u' ');
    const bool aspas =
        !v.isEmpty()
        && (EhBranco(v.front().unicode()) || EhBranco(v.back().unicode()) || EntreAspas(v));
    return aspas ? u'"' + v + u'"' : v;
}

// Letter case is ignored, but a non-ASCII letter never matches an ASCII one
// (the long s is no "s"): which names match must not depend on whether the
// file decodes as UTF-8 or as Windows-1252.
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

enum class TTipo { Outra, Secao, Chave };

struct TAnalise {
    TTipo tipo = TTipo::Outra;
    QByteArrayView nome; // blanks removed
    qsizetype igual = -1; // where the key's "=" stands in the line
};

bool PodeSerCabecalho(QByteArrayView linha)
{
    qsizetype i = 0;
    while (i < linha.size() && EhBranco(static_cast<unsigned char>(linha[i])))
        ++i;
    return i < linha.size() && linha[i] == '[';
}

// '[', ']' and '=' are ASCII and no byte of a longer character: the bytes give
// the same lines and names as the decoded text.
TAnalise Analisar(QByteArrayView linha)
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

// UTF-16 held as 8-bit bytes: each code unit as UTF-8 writes a character of
// that value, a surrogate too, so that nothing is lost.
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

} // namespace

// A name looked for in the file. An ASCII name, as every name of this
// program is, is compared on the bytes: a line's name with a byte above 127
// holds a character that no ASCII letter matches.
class TextoIni::TNome {
public:
    TNome(const TextoIni& ini, QStringView nome) : FIni(&ini), FNome(SemBrancos(nome).toString())
    {
        FAscii =
            std::all_of(FNome.cbegin(), FNome.cend(), [](QChar c) { return c.unicode() < 0x80; });
        if (FAscii)
            FMinusculas = FNome.toLatin1().toLower();
    }

    bool Igual(QByteArrayView bytes) const
    {
        if (!FAscii)
            return MesmoNome(FIni->Decodificar(bytes), FNome);
        if (bytes.size() != FMinusculas.size())
            return false;
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            char c = bytes[i];
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c + ('a' - 'A'));
            if (c != FMinusculas[i])
                return false;
        }
        return true;
    }

private:
    const TextoIni* FIni;
    QString FNome;
    QByteArray FMinusculas;
    bool FAscii = true;
};

struct TextoIni::TLinha {
    qsizetype inicio = 0;
    qsizetype fim = 0; // where the text ends: before "\r\n", "\n", or at the end
    qsizetype proxima = 0; // after the line break

    bool semQuebra() const { return proxima == fim; }
};

// Where each write lands in the file.
struct TextoIni::TResolucao {
    struct TLinhaChave {
        qsizetype inicio = -1; // -1: the key is not in the section
        qsizetype igual = 0;
        qsizetype fim = 0;
    };
    struct TSecao {
        bool achada = false;
        // After the section's last non-blank line (or its header): where its
        // new keys go.
        qsizetype insercao = 0;
        bool insercaoSemQuebra = false; // that line ends the file without a break
        std::vector<TLinhaChave> chaves;
    };
    std::vector<TSecao> secoes;
};

TextoIni::TextoIni(QByteArray conteudo) : FArquivo(std::move(conteudo))
{
    if (FArquivo.startsWith(BOM_UTF8)) {
        FTamanhoBom = BOM_UTF8.size();
    } else if (FArquivo.startsWith(BOM_UTF16LE)) {
        FCodificacao = TCodificacao::Utf16LE;
        FTamanhoBom = BOM_UTF16LE.size();
    } else if (FArquivo.startsWith(BOM_UTF16BE)) {
        FCodificacao = TCodificacao::Utf16BE;
        FTamanhoBom = BOM_UTF16BE.size();
    }
    if (FCodificacao == TCodificacao::Utf8) {
        if (!Utf8Valido(Bytes()))
            FCodificacao = TCodificacao::Windows1252;
    } else {
        FInterno = Utf16ParaInterno(QByteArrayView(FArquivo).sliced(FTamanhoBom),
                                    FCodificacao == TCodificacao::Utf16BE);
        // A byte after the last whole code unit is no text; it stays last.
        if ((FArquivo.size() - FTamanhoBom) % 2 != 0)
            FCauda = FArquivo.right(1);
        // Only the byte order mark is needed of the file's own bytes.
        FArquivo = FArquivo.first(FTamanhoBom);
    }
    const QByteArrayView bytes = Bytes();
    const qsizetype quebra = bytes.indexOf('\n');
    if (quebra > 0 && bytes[quebra - 1] == '\r')
        FQuebraPadrao = "\r\n";
}

QByteArrayView TextoIni::Bytes() const
{
    if (FCodificacao == TCodificacao::Utf16LE || FCodificacao == TCodificacao::Utf16BE)
        return FInterno;
    return QByteArrayView(FArquivo).sliced(FTamanhoBom);
}

QString TextoIni::Decodificar(QByteArrayView bytes) const
{
    switch (FCodificacao) {
    case TCodificacao::Utf8:
    case TCodificacao::Windows1252:
        return DecodificarComo(bytes, FCodificacao == TCodificacao::Utf8);
    case TCodificacao::Utf16LE:
    case TCodificacao::Utf16BE:
        break;
    }
    return InternoParaTexto(bytes);
}

QByteArray TextoIni::Codificar(QStringView texto, bool utf8) const
{
    if (FCodificacao == TCodificacao::Utf16LE || FCodificacao == TCodificacao::Utf16BE)
        return TextoParaInterno(texto);
    return CodificarTexto(texto.toString(), utf8);
}

// The text after the first "=", blanks and one pair of enclosing quotes
// removed, and no more of it decoded than is kept.
QString TextoIni::ValorDaLinha(QByteArrayView bruto) const
{
    QByteArrayView v = SemBrancos(bruto);
    if (EntreAspas(v))
        v = v.sliced(1, v.size() - 2);
    return Cortado(Decodificar(v.first(qMin(v.size(), MAX_BYTES_VALOR))));
}

// Calls f(line, text of the line) for each line until it returns false.
template <class Funcao>
void TextoIni::ParaCadaLinha(Funcao&& f) const
{
    const QByteArrayView bytes = Bytes();
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

const TextoIni::TChaveEscrita* TextoIni::Escrita(const QString& secao, const QString& chave) const
{
    for (const TSecaoEscrita& s : FEscritas) {
        if (!MesmoNome(SemBrancos(s.nome), SemBrancos(secao)))
            continue;
        for (const TChaveEscrita& c : s.chaves) {
            if (MesmoNome(SemBrancos(c.nome), SemBrancos(chave)))
                return &c;
        }
        return nullptr;
    }
    return nullptr;
}

QString TextoIni::Ler(const QString& secao, const QString& chave) const
{
    return Ler(secao, QStringList{chave}).front();
}

QStringList TextoIni::Ler(const QString& secao, const QStringList& chaves) const
{
    QStringList valores(chaves.size());
    std::vector<TNome> nomes;
    std::vector<bool> falta(chaves.size(), false);
    qsizetype faltam = 0;
    for (qsizetype i = 0; i < chaves.size(); ++i) {
        nomes.emplace_back(*this, chaves[i]);
        if (const TChaveEscrita* escrita = Escrita(secao, chaves[i])) {
            valores[i] = ValorLido(escrita->gravado);
        } else {
            falta[i] = true;
            ++faltam;
        }
    }
    if (faltam == 0)
        return valores;

    const TNome nomeSecao(*this, secao);
    bool dentro = false;
    ParaCadaLinha([&](const TLinha&, QByteArrayView linha) {
        if (!dentro) {
            const TAnalise a = PodeSerCabecalho(linha) ? Analisar(linha) : TAnalise();
            dentro = a.tipo == TTipo::Secao && nomeSecao.Igual(a.nome);
            return true;
        }
        const TAnalise a = Analisar(linha);
        // Only the first section of the name counts.
        if (a.tipo == TTipo::Secao)
            return false;
        if (a.tipo != TTipo::Chave)
            return true;
        for (qsizetype i = 0; i < chaves.size(); ++i) {
            if (falta[i] && nomes[i].Igual(a.nome)) {
                valores[i] = ValorDaLinha(linha.sliced(a.igual + 1));
                falta[i] = false;
                --faltam;
            }
        }
        return faltam > 0;
    });
    return valores;
}

TextoIni::TChaveEscrita& TextoIni::Registro(const QString& secao, const QString& chave)
{
    auto s = std::find_if(FEscritas.begin(), FEscritas.end(), [&](const TSecaoEscrita& e) {
        return MesmoNome(SemBrancos(e.nome), SemBrancos(secao));
    });
    if (s == FEscritas.end()) {
        FEscritas.push_back({secao, {}});
        s = FEscritas.end() - 1;
    }
    // The key keeps the spelling it was first written with.
    auto c = std::find_if(s->chaves.begin(), s->chaves.end(), [&](const TChaveEscrita& e) {
        return MesmoNome(SemBrancos(e.nome), SemBrancos(chave));
    });
    if (c != s->chaves.end())
        return *c;
    s->chaves.push_back({chave, {}, {}});
    return s->chaves.back();
}

void TextoIni::Escrever(const QString& secao, const QString& chave, const QString& valor)
{
    TChaveEscrita& c = Registro(secao, chave);
    c.gravado = ValorGravado(valor);
    c.bruto.reset();
}

void TextoIni::EscreverBytes(const QString& secao, const QString& chave, const QByteArray& valor)
{
    const bool utf16 =
        FCodificacao == TCodificacao::Utf16LE || FCodificacao == TCodificacao::Utf16BE;
    const QByteArray gravado = ValorGravadoBytes(valor);
    TChaveEscrita& c = Registro(secao, chave);
    c.gravado = DecodificarTexto(gravado);
    c.bruto = gravado;
    if (utf16 || (FCodificacao == TCodificacao::Utf8 && !Utf8Valido(gravado) && !SoAsciiAlemDe(c)))
        Escrever(secao, chave, DecodificarTexto(valor));
}

bool TextoIni::SoAsciiAlemDe(const TChaveEscrita& escrita) const
{
    if (FTamanhoBom > 0)
        return false;
    for (const TSecaoEscrita& s : FEscritas) {
        if (!SoAscii(QStringView(s.nome)))
            return false;
        for (const TChaveEscrita& c : s.chaves) {
            if (&c != &escrita
                && !(SoAscii(QStringView(c.nome)) && SoAscii(QStringView(c.gravado))))
                return false;
        }
    }
    // The write's own line, when the file has it, is replaced.
    const TResolucao r = Resolver();
    qsizetype inicio = 0;
    qsizetype fim = 0;
    for (std::size_t i = 0; i < FEscritas.size(); ++i) {
        for (std::size_t k = 0; k < FEscritas[i].chaves.size(); ++k) {
            if (&FEscritas[i].chaves[k] == &escrita && r.secoes[i].chaves[k].inicio >= 0) {
                inicio = r.secoes[i].chaves[k].inicio;
                fim = r.secoes[i].chaves[k].fim;
            }
        }
    }
    const QByteArrayView bytes = Bytes();
    return SoAscii(bytes.first(inicio)) && SoAscii(bytes.sliced(fim));
}

TextoIni::TResolucao TextoIni::Resolver() const
{
    TResolucao r;
    std::vector<TNome> secoes;
    std::vector<std::vector<TNome>> chaves(FEscritas.size());
    for (std::size_t i = 0; i < FEscritas.size(); ++i) {
        secoes.emplace_back(*this, FEscritas[i].nome);
        for (const TChaveEscrita& c : FEscritas[i].chaves)
            chaves[i].emplace_back(*this, c.nome);
        r.secoes.push_back({});
        r.secoes.back().chaves.resize(FEscritas[i].chaves.size());
    }
    std::size_t achadas = 0;
    int dentro = -1;
    ParaCadaLinha([&](const TLinha& l, QByteArrayView linha) {
        const TAnalise a = dentro >= 0 || PodeSerCabecalho(linha) ? Analisar(linha) : TAnalise();
        if (a.tipo == TTipo::Secao) {
            if (achadas == secoes.size())
                return false;
            dentro = -1;
            for (std::size_t i = 0; i < secoes.size(); ++i) {
                TResolucao::TSecao& s = r.secoes[i];
                if (!s.achada && secoes[i].Igual(a.nome)) {
                    s.achada = true;
                    ++achadas;
                    s.insercao = l.proxima;
                    s.insercaoSemQuebra = l.semQuebra();
                    dentro = static_cast<int>(i);
                    break;
                }
            }
            return true;
        }
        if (dentro < 0)
            return true;
        TResolucao::TSecao& s = r.secoes[dentro];
        if (!Branca(linha)) {
            s.insercao = l.proxima;
            s.insercaoSemQuebra = l.semQuebra();
        }
        if (a.tipo != TTipo::Chave)
            return true;
        for (std::size_t k = 0; k < s.chaves.size(); ++k) {
            if (s.chaves[k].inicio < 0 && chaves[dentro][k].Igual(a.nome)) {
                s.chaves[k] = {l.inicio, l.inicio + a.igual, l.fim};
                break;
            }
        }
        return true;
    });
    return r;
}

QByteArray TextoIni::Montar(const TResolucao& r, bool utf8) const
{
    const QByteArrayView bytes = Bytes();
    const bool utf16 =
        FCodificacao == TCodificacao::Utf16LE || FCodificacao == TCodificacao::Utf16BE;
    const bool grandeExtremidade = FCodificacao == TCodificacao::Utf16BE;
    QByteArray saida;
    saida.reserve(FTamanhoBom + (utf16 ? 2 : 1) * bytes.size() + 1024);
    saida.append(FArquivo.first(FTamanhoBom));
    const auto acrescentar = [&](QByteArrayView b) {
        if (utf16)
            InternoParaUtf16(b, grandeExtremidade, saida);
        else
            saida.append(b);
    };
    const auto linhaNova = [&](const QString& texto) {
        acrescentar(Codificar(texto, utf8));
        acrescentar(FQuebraPadrao);
    };
    const auto valor = [&](const TChaveEscrita& c) {
        return c.bruto ? *c.bruto : Codificar(c.gravado, utf8);
    };
    const auto linhaChave = [&](const TChaveEscrita& c) {
        acrescentar(Codificar(QString(c.nome + u'='), utf8));
        acrescentar(valor(c));
        acrescentar(FQuebraPadrao);
    };

    // Replaced lines and insertions, in the order they stand in the file.
    struct TEdicao {
        qsizetype posicao;
        std::size_t secao;
        std::size_t chave; // a replaced line's key; none for an insertion
    };
    constexpr std::size_t INSERCAO = std::size_t(-1);
    std::vector<TEdicao> edicoes;
    for (std::size_t i = 0; i < r.secoes.size(); ++i) {
        const TResolucao::TSecao& s = r.secoes[i];
        if (!s.achada)
            continue;
        for (std::size_t k = 0; k < s.chaves.size(); ++k) {
            if (s.chaves[k].inicio >= 0)
                edicoes.push_back({s.chaves[k].inicio, i, k});
        }
        edicoes.push_back({s.insercao, i, INSERCAO});
    }
    std::stable_sort(edicoes.begin(), edicoes.end(),
                     [](const TEdicao& a, const TEdicao& b) { return a.posicao < b.posicao; });

    bool semQuebraNoFim = !bytes.isEmpty() && !bytes.endsWith('\n');
    qsizetype copiado = 0;
    for (const TEdicao& e : edicoes) {
        acrescentar(bytes.sliced(copiado, e.posicao - copiado));
        copiado = e.posicao;
        const TResolucao::TSecao& s = r.secoes[e.secao];
        const TSecaoEscrita& escrita = FEscritas[e.secao];
        if (e.chave != INSERCAO) {
            const TResolucao::TLinhaChave& l = s.chaves[e.chave];
            // The line keeps its key's bytes; the blanks around it go.
            acrescentar(SemBrancos(bytes.sliced(l.inicio, l.igual - l.inicio)));
            acrescentar("=");
            acrescentar(valor(escrita.chaves[e.chave]));
            copiado = l.fim;
            continue;
        }
        bool primeira = true;
        for (std::size_t k = 0; k < s.chaves.size(); ++k) {
            if (s.chaves[k].inicio >= 0)
                continue;
            if (primeira && s.insercaoSemQuebra) {
                acrescentar(FQuebraPadrao);
                semQuebraNoFim = false;
            }
            primeira = false;
            linhaChave(escrita.chaves[k]);
        }
    }
    acrescentar(bytes.sliced(copiado));

    for (std::size_t i = 0; i < r.secoes.size(); ++i) {
        if (r.secoes[i].achada)
            continue;
        if (semQuebraNoFim) {
            acrescentar(FQuebraPadrao);
            semQuebraNoFim = false;
        }
        linhaNova(u'[' + FEscritas[i].nome + u']');
        for (const TChaveEscrita& c : FEscritas[i].chaves)
            linhaChave(c);
    }
    saida.append(FCauda);
    return saida;
}

QByteArray TextoIni::Conteudo(bool* utf8) const
{
    const TResolucao r = Resolver();
    if (FCodificacao != TCodificacao::Windows1252) {
        QByteArray saida = Montar(r, true);
        // Bytes written as they are can make a UTF-8 file invalid: it then
        // reads as Windows-1252, and the written text must follow.
        if (FCodificacao == TCodificacao::Utf8
            && !Utf8Valido(QByteArrayView(saida).sliced(FTamanhoBom))) {
            saida = Montar(r, false);
            if (utf8)
                *utf8 = false;
            return saida;
        }
        if (utf8)
            *utf8 = true;
        return saida;
    }
    QByteArray saida = Montar(r, false);
    // Replacing the lines that made a file invalid UTF-8 can make it valid
    // UTF-8, and then it reads as UTF-8: the written values must follow.
    if (Utf8Valido(QByteArrayView(saida).sliced(FTamanhoBom))) {
        saida.clear();
        saida.squeeze();
        QByteArray comoUtf8 = Montar(r, true);
        if (Utf8Valido(QByteArrayView(comoUtf8).sliced(FTamanhoBom))) {
            if (utf8)
                *utf8 = true;
            return comoUtf8;
        }
        comoUtf8 = QByteArray();
        saida = Montar(r, false);
    }
    if (utf8)
        *utf8 = false;
    return saida;
}
