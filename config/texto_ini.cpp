#include "config/texto_ini.h"

#include "base/texto.h"

#include <QStringDecoder>
#include <algorithm>

namespace {

// The read buffer of the Windows profile functions holds 2 048 characters
// with the terminator.
constexpr qsizetype MAX_VALOR = 2047;

const QByteArray BOM = QByteArrayLiteral("\xEF\xBB\xBF");

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

// Decided exactly as DecodificarTexto decides it.
bool EhUtf8(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString ignorado = utf8.decode(bytes);
    return !utf8.hasError();
}

bool EntreAspas(QStringView v)
{
    return v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front();
}

QString ValorLido(QStringView bruto)
{
    QStringView v = SemBrancos(bruto);
    if (EntreAspas(v))
        v = v.sliced(1, v.size() - 2);
    if (v.size() > MAX_VALOR) {
        v.truncate(MAX_VALOR);
        // Half a character cannot be written back.
        if (v.back().isHighSurrogate())
            v.chop(1);
    }
    return v.toString();
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

// The same for a value written as its bytes.
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

// Letter case is ignored, but a non-ASCII letter never matches an ASCII one
// (the long s is no "s"): which names match must not depend on whether the
// file decodes as UTF-8 or as Windows-1252.
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

} // namespace

TextoIni::TextoIni(const QByteArray& conteudo) : FBytes(conteudo)
{
    if (FBytes.startsWith(BOM)) {
        FBom = BOM;
        FBytes.remove(0, BOM.size());
    }
    FTexto = DecodificarTexto(FBytes, &FUtf8);

    // Both encodings map the byte '\n' to the character '\n' and nothing else
    // to it, so the lines of the bytes and of the text correspond one to one.
    FLinhas.reserve(FBytes.count('\n') + 1);
    qsizetype pb = 0;
    qsizetype pt = 0;
    while (pb < FBytes.size()) {
        const qsizetype nb = FBytes.indexOf('\n', pb);
        qsizetype nt = FTexto.indexOf(u'\n', pt);
        if (nb < 0 || nt < 0)
            nt = FTexto.size();
        const qsizetype fb = nb < 0 ? FBytes.size() : nb;
        Linha l;
        l.inicioBytes = pb;
        l.tamanhoBytes = fb - pb;
        l.inicioTexto = pt;
        l.tamanhoTexto = nt - pt;
        if (nb >= 0) {
            l.quebra = "\n";
            if (l.tamanhoBytes > 0 && FBytes.at(fb - 1) == '\r') {
                --l.tamanhoBytes;
                --l.tamanhoTexto;
                l.quebra = "\r\n";
            }
        }
        Analisar(l);
        FLinhas.push_back(l);
        pb = fb + 1;
        pt = nt + 1;
    }
    for (const Linha& l : FLinhas) {
        if (!l.quebra.isEmpty()) {
            FQuebraPadrao = l.quebra;
            break;
        }
    }
}

QStringView TextoIni::Texto(const Linha& l) const
{
    return l.gerada ? QStringView(l.escrito)
                    : QStringView(FTexto).sliced(l.inicioTexto, l.tamanhoTexto);
}

QStringView TextoIni::Nome(const Linha& l) const
{
    return Texto(l).sliced(l.inicioNome, l.tamanhoNome);
}

QByteArrayView TextoIni::Bytes(const Linha& l) const
{
    return QByteArrayView(FBytes).sliced(l.inicioBytes, l.tamanhoBytes);
}

void TextoIni::Analisar(Linha& l) const
{
    const QStringView texto = Texto(l);
    l.tipo = Tipo::Outra;
    QStringView nome;
    qsizetype i = 0;
    while (i < texto.size() && EhBranco(texto[i].unicode()))
        ++i;
    const qsizetype fecha = i < texto.size() && texto[i] == u'[' ? texto.lastIndexOf(u']') : -1;
    if (fecha > i) {
        l.tipo = Tipo::Secao;
        nome = SemBrancos(texto.sliced(i + 1, fecha - i - 1));
    } else if (const qsizetype igual = texto.indexOf(u'='); igual >= 0) {
        l.tipo = Tipo::Chave;
        nome = SemBrancos(texto.first(igual));
    }
    l.inicioNome = nome.isNull() ? 0 : nome.data() - texto.data();
    l.tamanhoNome = nome.size();
}

TextoIni::Linha TextoIni::Gerada(const QString& texto) const
{
    Linha l;
    l.gerada = true;
    l.escrito = texto;
    l.resto = texto;
    Analisar(l);
    return l;
}

int TextoIni::Secao(QStringView secao) const
{
    const QStringView nome = SemBrancos(secao);
    for (std::size_t i = 0; i < FLinhas.size(); ++i) {
        if (FLinhas[i].tipo == Tipo::Secao && MesmoNome(Nome(FLinhas[i]), nome))
            return static_cast<int>(i);
    }
    return -1;
}

int TextoIni::FimSecao(int cabecalho) const
{
    int i = cabecalho + 1;
    while (i < static_cast<int>(FLinhas.size()) && FLinhas[i].tipo != Tipo::Secao)
        ++i;
    return i;
}

int TextoIni::Chave(int cabecalho, QStringView chave) const
{
    const QStringView nome = SemBrancos(chave);
    const int fim = FimSecao(cabecalho);
    for (int i = cabecalho + 1; i < fim; ++i) {
        if (FLinhas[i].tipo == Tipo::Chave && MesmoNome(Nome(FLinhas[i]), nome))
            return i;
    }
    return -1;
}

QString TextoIni::Ler(const QString& secao, const QString& chave) const
{
    const int cabecalho = Secao(secao);
    if (cabecalho < 0)
        return {};
    const int i = Chave(cabecalho, chave);
    if (i < 0)
        return {};
    const QStringView texto = Texto(FLinhas[i]);
    return ValorLido(texto.sliced(texto.indexOf(u'=') + 1));
}

void TextoIni::TerminarLinha(int indice)
{
    if (indice >= 0 && FLinhas[indice].quebra.isEmpty())
        FLinhas[indice].quebra = FQuebraPadrao;
}

void TextoIni::Escrever(const QString& secao, const QString& chave, const QString& valor)
{
    Gravar(secao, chave, ValorGravado(valor), std::nullopt);
}

void TextoIni::EscreverBytes(const QString& secao, const QString& chave, const QByteArray& valor)
{
    const int cabecalho = Secao(secao);
    const int linha = cabecalho < 0 ? -1 : Chave(cabecalho, chave);
    if (FUtf8 && !EhUtf8(valor) && !SoAsciiAlemDa(linha)) {
        Escrever(secao, chave, DecodificarTexto(valor));
        return;
    }
    const QByteArray gravado = ValorGravadoBytes(valor);
    Gravar(secao, chave, DecodificarTexto(gravado), gravado);
}

bool TextoIni::SoAsciiAlemDa(int linha) const
{
    if (!FBom.isEmpty())
        return false;
    for (std::size_t i = 0; i < FLinhas.size(); ++i) {
        const Linha& l = FLinhas[i];
        if (static_cast<int>(i) == linha)
            continue;
        const bool ascii = l.gerada ? SoAscii(QStringView(l.escrito)) && SoAscii(l.prefixo)
                                          && (!l.bruto || SoAscii(*l.bruto))
                                    : SoAscii(Bytes(l));
        if (!ascii)
            return false;
    }
    return true;
}

void TextoIni::Gravar(const QString& secao, const QString& chave, const QString& gravado,
                      const std::optional<QByteArray>& bruto)
{
    const int cabecalho = Secao(secao);
    if (cabecalho < 0) {
        TerminarLinha(static_cast<int>(FLinhas.size()) - 1);
        for (const QString& texto : {u'[' + secao + u']', chave + u'=' + gravado}) {
            FLinhas.push_back(Gerada(texto));
            FLinhas.back().quebra = FQuebraPadrao;
        }
        FLinhas.back().bruto = bruto;
        return;
    }

    const int i = Chave(cabecalho, chave);
    if (i >= 0) {
        // The key keeps the spelling it has in the file.
        Linha& l = FLinhas[i];
        const QStringView nome = Nome(l);
        QString escrito;
        escrito.reserve(nome.size() + 1 + gravado.size());
        escrito.append(nome).append(u'=').append(gravado);
        if (!l.gerada) {
            const QByteArrayView bytes = Bytes(l);
            l.gerada = true;
            l.prefixo = SemBrancos(bytes.first(bytes.indexOf('='))).toByteArray() + '=';
        }
        // A line added by this object has no prefix: its name is in the text.
        l.escrito = std::move(escrito);
        l.resto = l.prefixo.isEmpty() ? l.escrito : gravado;
        l.bruto = bruto;
        Analisar(l);
        return;
    }

    int pos = FimSecao(cabecalho);
    while (pos > cabecalho + 1 && SemBrancos(Texto(FLinhas[pos - 1])).isEmpty())
        --pos;
    TerminarLinha(pos - 1);
    Linha nova = Gerada(chave + u'=' + gravado);
    nova.quebra = FQuebraPadrao;
    nova.bruto = bruto;
    FLinhas.insert(FLinhas.begin() + pos, std::move(nova));
}

QByteArray TextoIni::Montar(bool utf8) const
{
    QByteArray saida;
    saida.reserve(FBom.size() + FBytes.size() + 64);
    saida += FBom;
    for (const Linha& l : FLinhas) {
        if (l.gerada && l.bruto) {
            const QStringView texto(l.escrito);
            saida += l.prefixo.isEmpty()
                         ? CodificarTexto(texto.first(texto.indexOf(u'=') + 1).toString(), utf8)
                         : l.prefixo;
            saida += *l.bruto;
        } else if (l.gerada) {
            saida += l.prefixo;
            saida += CodificarTexto(l.resto, utf8);
        } else
            saida += Bytes(l);
        saida += l.quebra;
    }
    return saida;
}

QByteArray TextoIni::Conteudo() const
{
    QByteArray saida = Montar(FUtf8);
    // Replacing the lines that made a file invalid UTF-8 can make it valid
    // UTF-8, and bytes written as they are can make it invalid: the file then
    // reads in the other encoding, and the written text must follow.
    const bool utf8 = EhUtf8(QByteArrayView(saida).sliced(FBom.size()));
    if (utf8 != FUtf8) {
        QByteArray outra = Montar(utf8);
        if (EhUtf8(QByteArrayView(outra).sliced(FBom.size())) == utf8)
            return outra;
    }
    return saida;
}
