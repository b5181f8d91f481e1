#include "config/texto_ini.h"

#include "base/texto.h"
#include "config/sintaxe_ini.h"
#include "config/utf16_ini.h"

#include <algorithm>

using namespace ini;

namespace {

const QByteArray BOM_UTF8 = QByteArrayLiteral("\xEF\xBB\xBF");
const QByteArray BOM_UTF16LE = QByteArrayLiteral("\xFF\xFE");
const QByteArray BOM_UTF16BE = QByteArrayLiteral("\xFE\xFF");

} // namespace

// A name looked for in the file. An ASCII name, as every name of this
// program is, is compared on the bytes: a line's name with a byte above 127
// holds a character that no ASCII letter matches.
class TTextoIni::TNome {
public:
    TNome(const TTextoIni& ini, QStringView nome) : FIni(&ini), FNome(SemBrancos(nome).toString())
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
    const TTextoIni* FIni;
    QString FNome;
    QByteArray FMinusculas;
    bool FAscii = true;
};

TTextoIni::TTextoIni(QByteArray conteudo) : FArquivo(std::move(conteudo))
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

QByteArrayView TTextoIni::Bytes() const
{
    if (FCodificacao == TCodificacao::Utf16LE || FCodificacao == TCodificacao::Utf16BE)
        return FInterno;
    return QByteArrayView(FArquivo).sliced(FTamanhoBom);
}

QString TTextoIni::Decodificar(QByteArrayView bytes) const
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

QByteArray TTextoIni::Codificar(QStringView texto, bool utf8) const
{
    if (FCodificacao == TCodificacao::Utf16LE || FCodificacao == TCodificacao::Utf16BE)
        return TextoParaInterno(texto);
    return CodificarTexto(texto.toString(), utf8);
}

// The text after the first "=", blanks and one pair of enclosing quotes
// removed, and no more of it decoded than is kept.
QString TTextoIni::ValorDaLinha(QByteArrayView bruto) const
{
    QByteArrayView v = SemBrancos(bruto);
    if (EntreAspas(v))
        v = v.sliced(1, v.size() - 2);
    return Cortado(Decodificar(v.first(qMin(v.size(), MAX_BYTES_VALOR))));
}

const TTextoIni::TChaveEscrita* TTextoIni::Escrita(const QString& secao, const QString& chave) const
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

QString TTextoIni::Ler(const QString& secao, const QString& chave) const
{
    return Ler(secao, QStringList{chave}).front();
}

QStringList TTextoIni::Ler(const QString& secao, const QStringList& chaves) const
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
    ParaCadaLinha(Bytes(), [&](const TLinha&, QByteArrayView linha) {
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

TTextoIni::TChaveEscrita& TTextoIni::Registro(const QString& secao, const QString& chave)
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

void TTextoIni::Escrever(const QString& secao, const QString& chave, const QString& valor)
{
    TChaveEscrita& c = Registro(secao, chave);
    c.gravado = ValorGravado(valor);
    c.bruto.reset();
}

void TTextoIni::EscreverBytes(const QString& secao, const QString& chave, const QByteArray& valor)
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

bool TTextoIni::SoAsciiAlemDe(const TChaveEscrita& escrita) const
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

TTextoIni::TResolucao TTextoIni::Resolver() const
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
    ParaCadaLinha(Bytes(), [&](const TLinha& l, QByteArrayView linha) {
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
                    s.insercaoSemQuebra = l.SemQuebra();
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
            s.insercaoSemQuebra = l.SemQuebra();
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
