#include "config/texto_ini.h"

#include "base/texto.h"
#include "config/sintaxe_ini.h"
#include "config/utf16_ini.h"

#include <algorithm>

// The bytes of the file with the writes laid out in it.

using namespace ini;

QByteArray TTextoIni::Montar(const TResolucao& r, bool utf8) const
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

QByteArray TTextoIni::Conteudo(bool* utf8) const
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
