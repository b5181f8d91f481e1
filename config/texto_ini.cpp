#include "config/texto_ini.h"

#include "platform/texto.h"

#include <QStringDecoder>

namespace {

// The read buffer of the Windows profile functions holds 2 048 characters
// with the terminator.
constexpr qsizetype kMaxValor = 2047;

const QByteArray kBom = QByteArrayLiteral("\xEF\xBB\xBF");

bool EhBranco(char32_t c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

QString SemBrancos(QStringView s)
{
    qsizetype ini = 0;
    qsizetype fim = s.size();
    while (ini < fim && EhBranco(s[ini].unicode()))
        ++ini;
    while (fim > ini && EhBranco(s[fim - 1].unicode()))
        --fim;
    return s.mid(ini, fim - ini).toString();
}

QByteArray SemBrancos(const QByteArray& s)
{
    qsizetype ini = 0;
    qsizetype fim = s.size();
    while (ini < fim && EhBranco(static_cast<unsigned char>(s[ini])))
        ++ini;
    while (fim > ini && EhBranco(static_cast<unsigned char>(s[fim - 1])))
        --fim;
    return s.mid(ini, fim - ini);
}

// Decided exactly as DecodificarTexto decides it.
bool EhUtf8(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString ignorado = utf8.decode(bytes);
    return !utf8.hasError();
}

bool EntreAspas(const QString& v)
{
    return v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front();
}

QString ValorLido(QStringView bruto)
{
    QString v = SemBrancos(bruto);
    if (EntreAspas(v))
        v = v.mid(1, v.size() - 2);
    if (v.size() > kMaxValor) {
        v.truncate(kMaxValor);
        // Half a character cannot be written back.
        if (v.back().isHighSurrogate())
            v.chop(1);
    }
    return v;
}

// What to write so that the value reads back as itself: a line cannot hold a
// line break, and blanks or quotes at the ends would be stripped on reading.
QString ValorGravado(const QString& valor)
{
    QString v = valor;
    v.replace(u'\n', u' ');
    const bool aspas = !v.isEmpty()
        && (EhBranco(v.front().unicode()) || EhBranco(v.back().unicode()) || EntreAspas(v));
    return aspas ? u'"' + v + u'"' : v;
}

// Letter case is ignored, but a non-ASCII letter never matches an ASCII one
// (the long s is no "s"): which names match must not depend on whether the
// file decodes as UTF-8 or as Windows-1252.
bool MesmoNome(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char16_t x = a[i].unicode();
        const char16_t y = b[i].unicode();
        if (x != y
            && ((x < 0x80) != (y < 0x80) || QChar::toCaseFolded(x) != QChar::toCaseFolded(y)))
            return false;
    }
    return true;
}

} // namespace

TextoIni::TextoIni(const QByteArray& conteudo)
{
    QByteArray bytes = conteudo;
    if (bytes.startsWith(kBom)) {
        bom_ = kBom;
        bytes.remove(0, kBom.size());
    }
    utf8_ = EhUtf8(bytes);
    // Both encodings map the byte '\n' to the character '\n' and nothing else
    // to it, so the lines of the bytes and of the text correspond one to one.
    const QString texto = DecodificarTexto(bytes);

    qsizetype pb = 0;
    qsizetype pt = 0;
    while (pb < bytes.size()) {
        const qsizetype nb = bytes.indexOf('\n', pb);
        qsizetype nt = texto.indexOf(u'\n', pt);
        if (nb < 0 || nt < 0)
            nt = texto.size();
        const qsizetype fb = nb < 0 ? bytes.size() : nb;
        QByteArray linha = bytes.mid(pb, fb - pb);
        QString linhaTexto = texto.mid(pt, nt - pt);
        QByteArray quebra;
        if (nb >= 0) {
            quebra = "\n";
            if (linha.endsWith('\r')) {
                linha.chop(1);
                linhaTexto.chop(1);
                quebra = "\r\n";
            }
        }
        linhas_.push_back(Analisar(std::move(linha), std::move(quebra), std::move(linhaTexto)));
        pb = fb + 1;
        pt = nt + 1;
    }
    for (const Linha& l : linhas_) {
        if (!l.quebra.isEmpty()) {
            quebraPadrao_ = l.quebra;
            break;
        }
    }
}

TextoIni::Linha TextoIni::Analisar(QByteArray bytes, QByteArray quebra, QString texto)
{
    Linha l;
    l.bytes = std::move(bytes);
    l.quebra = std::move(quebra);
    l.texto = std::move(texto);
    qsizetype i = 0;
    while (i < l.texto.size() && EhBranco(l.texto[i].unicode()))
        ++i;
    if (i < l.texto.size() && l.texto[i] == u'[') {
        const qsizetype fecha = l.texto.lastIndexOf(u']');
        if (fecha > i) {
            l.tipo = Tipo::Secao;
            l.nome = SemBrancos(QStringView(l.texto).mid(i + 1, fecha - i - 1));
            return l;
        }
    }
    const qsizetype igual = l.texto.indexOf(u'=');
    if (igual >= 0) {
        l.tipo = Tipo::Chave;
        l.nome = SemBrancos(QStringView(l.texto).left(igual));
    }
    return l;
}

TextoIni::Linha TextoIni::Gerada(const QString& texto)
{
    Linha l = Analisar({}, {}, texto);
    l.gerada = true;
    l.resto = texto;
    return l;
}

int TextoIni::Secao(const QString& secao) const
{
    const QString nome = SemBrancos(secao);
    for (std::size_t i = 0; i < linhas_.size(); ++i) {
        if (linhas_[i].tipo == Tipo::Secao && MesmoNome(linhas_[i].nome, nome))
            return static_cast<int>(i);
    }
    return -1;
}

int TextoIni::FimSecao(int cabecalho) const
{
    int i = cabecalho + 1;
    while (i < static_cast<int>(linhas_.size()) && linhas_[i].tipo != Tipo::Secao)
        ++i;
    return i;
}

int TextoIni::Chave(int cabecalho, const QString& chave) const
{
    const QString nome = SemBrancos(chave);
    const int fim = FimSecao(cabecalho);
    for (int i = cabecalho + 1; i < fim; ++i) {
        if (linhas_[i].tipo == Tipo::Chave && MesmoNome(linhas_[i].nome, nome))
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
    const QString& texto = linhas_[i].texto;
    return ValorLido(QStringView(texto).mid(texto.indexOf(u'=') + 1));
}

void TextoIni::TerminarLinha(int indice)
{
    if (indice >= 0 && linhas_[indice].quebra.isEmpty())
        linhas_[indice].quebra = quebraPadrao_;
}

void TextoIni::Escrever(const QString& secao, const QString& chave, const QString& valor)
{
    const QString gravado = ValorGravado(valor);
    const int cabecalho = Secao(secao);
    if (cabecalho < 0) {
        TerminarLinha(static_cast<int>(linhas_.size()) - 1);
        for (const QString& texto : {u'[' + secao + u']', chave + u'=' + gravado}) {
            linhas_.push_back(Gerada(texto));
            linhas_.back().quebra = quebraPadrao_;
        }
        return;
    }

    const int i = Chave(cabecalho, chave);
    if (i >= 0) {
        // The key keeps the spelling it has in the file.
        Linha& l = linhas_[i];
        const QString nome = SemBrancos(QStringView(l.texto).left(l.texto.indexOf(u'=')));
        if (!l.gerada) {
            l.gerada = true;
            l.prefixo = SemBrancos(l.bytes.left(l.bytes.indexOf('='))) + '=';
        }
        // A line added by this object has no prefix: its name is in the text.
        l.resto = l.prefixo.isEmpty() ? nome + u'=' + gravado : gravado;
        l.texto = nome + u'=' + gravado;
        return;
    }

    int pos = FimSecao(cabecalho);
    while (pos > cabecalho + 1 && SemBrancos(linhas_[pos - 1].texto).isEmpty())
        --pos;
    TerminarLinha(pos - 1);
    Linha nova = Gerada(chave + u'=' + gravado);
    nova.quebra = quebraPadrao_;
    linhas_.insert(linhas_.begin() + pos, std::move(nova));
}

QByteArray TextoIni::Montar(bool utf8) const
{
    QByteArray saida = bom_;
    for (const Linha& l : linhas_) {
        if (l.gerada)
            saida += l.prefixo + CodificarTexto(l.resto, utf8);
        else
            saida += l.bytes;
        saida += l.quebra;
    }
    return saida;
}

QByteArray TextoIni::Conteudo() const
{
    QByteArray saida = Montar(utf8_);
    // Replacing the lines that made a file invalid UTF-8 can make it valid
    // UTF-8, and then it reads as UTF-8: the written values must follow.
    if (!utf8_ && EhUtf8(saida.mid(bom_.size()))) {
        QByteArray comoUtf8 = Montar(true);
        if (EhUtf8(comoUtf8.mid(bom_.size())))
            return comoUtf8;
    }
    return saida;
}
