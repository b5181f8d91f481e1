#include "tests/support/propriedades_ini.h"

#include "base/texto.h"
#include "config/config.h"
#include "config/texto_ini.h"

#include <QFile>
#include <algorithm>
#include <exception>
#include <optional>
#include <vector>

namespace {

const QString SECAO = QStringLiteral("GadGetVendHora");

using Leitor = const QString& (TConfig::*)() const;

struct Chave {
    const char* nome;
    Leitor ler;
    bool sempre; // written even when empty
};

#define VPH_CHAVE(Nome, sempre)                                                                    \
    Chave                                                                                          \
    {                                                                                              \
#Nome, &TConfig::Nome, sempre                                                              \
    }

// The keys a save writes, each with the field it reads back into.
const std::vector<Chave> CHAVES = {
    VPH_CHAVE(SempreVisivel, true),  VPH_CHAVE(Transparencia, true),
    VPH_CHAVE(Empresa, true),        VPH_CHAVE(AtualizaDados, true),
    VPH_CHAVE(PosX, true),           VPH_CHAVE(PosY, true),
    VPH_CHAVE(TipoDeLucro, false),   VPH_CHAVE(Listar, false),
    VPH_CHAVE(Faturados, false),     VPH_CHAVE(Margem, false),
    VPH_CHAVE(Meta, false),          VPH_CHAVE(HoraIniExp, false),
    VPH_CHAVE(HoraFimExp, false),    VPH_CHAVE(Devolucoes, false),
    VPH_CHAVE(Trocas, false),        VPH_CHAVE(Pedidos, false),
    VPH_CHAVE(TiposPedido, false),   VPH_CHAVE(TipoVenda, false),
    VPH_CHAVE(FiltroData, false),    VPH_CHAVE(DataInicial, false),
    VPH_CHAVE(DataFinal, false),     VPH_CHAVE(Periodo, false),
    VPH_CHAVE(MostraPedidos, false), VPH_CHAVE(PedidosImportados, false),
    VPH_CHAVE(Modo, true),
};

#undef VPH_CHAVE

QString Mostrar(const QString& s)
{
    return QString::fromLatin1(s.toUtf8().toPercentEncoding(" =[]\"'"));
}

// An oracle of its own for the line structure, kept apart from the code under
// test: lines split at '\n' (a UTF-16 file, with its byte order mark and an
// even size, at the code unit), names compared ignoring ASCII case.
struct Linha {
    QByteArrayView bytes; // without '\n'
    QStringView texto;
};

// Its lines are views into its own bytes and text.
struct Arquivo {
    explicit Arquivo(const QByteArray& arquivo);
    Arquivo(const Arquivo&) = delete;
    Arquivo& operator=(const Arquivo&) = delete;

    QByteArray bytes;
    QString texto;
    QByteArray bom;
    QByteArray cauda; // after the text
    qsizetype unidade = 1; // bytes per character of the line structure
    bool quebraFinal = false;
    std::vector<Linha> linhas;

    QByteArray Cr() const
    {
        if (unidade == 1)
            return "\r";
        return bom == "\xFE\xFF" ? QByteArray("\0\r", 2) : QByteArray("\r\0", 2);
    }
};

Arquivo::Arquivo(const QByteArray& arquivo) : bytes(arquivo)
{
    for (const QByteArray& marca :
         {QByteArray("\xEF\xBB\xBF"), QByteArray("\xFF\xFE"), QByteArray("\xFE\xFF")}) {
        if (bytes.startsWith(marca)) {
            bom = marca;
            break;
        }
    }
    bytes.remove(0, bom.size());
    if (bom.size() == 2) {
        // Code units as they stand, surrogates and all; an odd last byte is
        // no text.
        unidade = 2;
        if (bytes.size() % 2 != 0) {
            cauda = bytes.right(1);
            bytes.chop(1);
        }
        const bool grande = bom == "\xFE\xFF";
        for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
            const auto a = static_cast<unsigned char>(bytes[i]);
            const auto b = static_cast<unsigned char>(bytes[i + 1]);
            texto.append(QChar(grande ? char16_t(a << 8 | b) : char16_t(b << 8 | a)));
        }
    } else {
        texto = DecodificarTexto(bytes);
    }
    quebraFinal = texto.endsWith(u'\n');
    qsizetype inicio = 0;
    qsizetype inicioTexto = 0;
    while (inicio < bytes.size()) {
        qsizetype fimTexto = texto.indexOf(u'\n', inicioTexto);
        if (fimTexto < 0)
            fimTexto = texto.size();
        qsizetype fim = unidade == 2 ? fimTexto * 2 : bytes.indexOf('\n', inicio);
        if (fim < 0)
            fim = bytes.size();
        linhas.push_back({QByteArrayView(bytes).sliced(inicio, fim - inicio),
                          QStringView(texto).sliced(inicioTexto, fimTexto - inicioTexto)});
        inicio = fim + unidade;
        inicioTexto = std::min(fimTexto + 1, texto.size());
    }
}

bool Branco(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == u'\r';
}

QStringView Aparar(QStringView s)
{
    while (!s.isEmpty() && Branco(s.front()))
        s = s.mid(1);
    while (!s.isEmpty() && Branco(s.back()))
        s.chop(1);
    return s;
}

bool MesmoNomeAscii(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char16_t x = a[i].unicode();
        const char16_t y = b[i].unicode();
        const auto baixa = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
        if (baixa(x) != baixa(y))
            return false;
    }
    return true;
}

std::optional<QStringView> Cabecalho(QStringView texto)
{
    const QStringView t = Aparar(texto);
    const qsizetype fecha = t.lastIndexOf(u']');
    if (!t.startsWith(u'[') || fecha < 1)
        return std::nullopt;
    return Aparar(t.mid(1, fecha - 1));
}

// Which lines a save may change: the first line of each written key in the
// first section of that name, and the header when the section is new.
std::vector<bool> Editaveis(const Arquivo& a, const QStringList& chaves, bool cabecalhoNovo)
{
    std::vector<bool> editavel(a.linhas.size(), false);
    bool dentro = false;
    bool achada = false;
    std::vector<bool> vistas(chaves.size(), false);
    for (std::size_t i = 0; i < a.linhas.size(); ++i) {
        const QStringView texto = a.linhas[i].texto;
        if (const auto nome = Cabecalho(texto)) {
            dentro = !achada && MesmoNomeAscii(*nome, SECAO);
            if (dentro) {
                achada = true;
                editavel[i] = cabecalhoNovo;
            }
            continue;
        }
        const qsizetype igual = texto.indexOf(u'=');
        if (!dentro || igual < 0)
            continue;
        const QStringView nome = Aparar(texto.left(igual));
        for (qsizetype k = 0; k < chaves.size(); ++k) {
            if (MesmoNomeAscii(nome, chaves[k]) && !vistas[k]) {
                vistas[k] = true;
                editavel[i] = true;
            }
        }
    }
    return editavel;
}

bool TemSecao(const Arquivo& a)
{
    for (const Linha& l : a.linhas) {
        const auto nome = Cabecalho(l.texto);
        if (nome && MesmoNomeAscii(*nome, SECAO))
            return true;
    }
    return false;
}

QString CompararLinhas(const QByteArray& antes, const QByteArray& depois, const QStringList& chaves)
{
    const Arquivo a(antes);
    const Arquivo d(depois);
    if (a.bom != d.bom)
        return QStringLiteral("the byte order mark changed");
    if (a.cauda != d.cauda)
        return QStringLiteral("the byte after the text changed");
    const std::vector<bool> ea = Editaveis(a, chaves, false);
    const std::vector<bool> ed = Editaveis(d, chaves, !TemSecao(a));
    std::vector<std::size_t> ka;
    std::vector<std::size_t> kd;
    for (std::size_t i = 0; i < ea.size(); ++i)
        if (!ea[i])
            ka.push_back(i);
    for (std::size_t i = 0; i < ed.size(); ++i)
        if (!ed[i])
            kd.push_back(i);
    for (std::size_t n = 0; n < std::max(ka.size(), kd.size()); ++n) {
        if (n >= ka.size() || n >= kd.size())
            return QStringLiteral("%1 kept lines before, %2 after").arg(ka.size()).arg(kd.size());
        const QByteArrayView la = a.linhas[ka[n]].bytes;
        const QByteArrayView ld = d.linhas[kd[n]].bytes;
        // A last line without a line break gets one when lines follow it.
        const bool ultima = ka[n] == a.linhas.size() - 1 && !a.quebraFinal;
        const bool ganhouCr =
            ld.size() == la.size() + a.unidade && ld.startsWith(la) && ld.endsWith(d.Cr());
        if (la != ld && !(ultima && ganhouCr))
            return QStringLiteral("line %1 changed: '%2' became '%3'")
                .arg(ka[n] + 1)
                .arg(Mostrar(QString::fromLatin1(la)), Mostrar(QString::fromLatin1(ld)));
    }
    return {};
}

QByteArray Ler(const QString& caminho)
{
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool Gravar(const QString& caminho, const QByteArray& bytes)
{
    QFile f(caminho);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// A value with whatever the file's own last characters hold: blanks, quotes,
// NULs, high characters; but not half of a character, which no text the
// gadget is given can hold.
QString FimDoArquivo(const QByteArray& arquivo)
{
    QString fim = DecodificarTexto(arquivo).right(24);
    if (!fim.isEmpty() && fim.front().isLowSurrogate())
        fim.remove(0, 1);
    return fim.remove(u'\n');
}

QString Verificar(const QByteArray& arquivo, const QString& caminho)
{
    TConfig salvo(SECAO);
    salvo.CarregarIni();
    salvo.InstanciaVariaveis(QStringLiteral("GVH"));
    salvo.setEmpresa(FimDoArquivo(arquivo));
    salvo.SalvarIni();
    const QByteArray depois = Ler(caminho);

    TConfig relido(SECAO);
    relido.CarregarIni();
    QStringList escritas = {QStringLiteral("IniWindows"), QStringLiteral("GadGet")};
    for (const Chave& c : CHAVES) {
        const QString valor = (salvo.*c.ler)();
        if ((relido.*c.ler)() != valor)
            return QStringLiteral("%1 saved as '%2' reads back as '%3'")
                .arg(QLatin1String(c.nome), Mostrar(valor), Mostrar((relido.*c.ler)()));
        if (c.sempre || !valor.isEmpty())
            escritas << QLatin1String(c.nome);
    }
    const TTextoIni ini(depois);
    if (ini.Ler(SECAO, QStringLiteral("IniWindows")) != u"1"
        || !ini.Ler(SECAO, QStringLiteral("GadGet")).isEmpty())
        return QStringLiteral("IniWindows or GadGet not written");

    const QString linhas = CompararLinhas(arquivo, depois, escritas);
    if (!linhas.isEmpty())
        return linhas;

    salvo.SalvarIni();
    if (Ler(caminho) != depois)
        return QStringLiteral("a second save of the same record changed the file");
    return {};
}

using Edicoes = std::vector<std::pair<QString, QString>>;

QByteArray Editar(TTextoIni ini, const Edicoes& edicoes)
{
    for (const auto& [chave, valor] : edicoes)
        ini.Escrever(SECAO, chave, valor);
    return ini.Conteudo();
}

// Up to four writes, each of a key (the same key in other letter case too)
// and of a piece of the file's own text, as hostile as the file.
Edicoes EscolherEdicoes(unsigned char escolha, const QByteArray& arquivo)
{
    static const QStringList nomes = {
        QStringLiteral("PosX"), QStringLiteral("posx"),   QStringLiteral("Empresa"),
        QStringLiteral("Modo"), QStringLiteral("GadGet"), QStringLiteral("MostraPedidos"),
        QStringLiteral("Meta"),
    };
    const QString texto = DecodificarTexto(arquivo);
    Edicoes edicoes;
    const int quantas = 1 + escolha % 4;
    for (int i = 0; i < quantas; ++i) {
        const int semente = escolha / 4 + 5 * i;
        QString valor = texto.mid(texto.size() - 1 - (semente * 13) % (texto.size() + 1), 24);
        // No text the gadget is given holds a line break or half a character.
        valor.remove(u'\n');
        if (!valor.isEmpty() && valor.front().isLowSurrogate())
            valor.remove(0, 1);
        if (!valor.isEmpty() && valor.back().isHighSurrogate())
            valor.chop(1);
        edicoes.emplace_back(nomes[semente % nomes.size()], valor);
    }
    return edicoes;
}

} // namespace

QString VerificarEdicao(const QByteArray& entrada)
{
    if (entrada.isEmpty())
        return {};
    const QByteArray arquivo = entrada.mid(1);
    const Edicoes edicoes = EscolherEdicoes(static_cast<unsigned char>(entrada[0]), arquivo);
    const QByteArray depois = Editar(TTextoIni(arquivo), edicoes);

    const TTextoIni relido(depois);
    QStringList escritas;
    for (std::size_t i = 0; i < edicoes.size(); ++i) {
        const QString& chave = edicoes[i].first;
        // The last write of a key is the one that stays.
        QString esperado = edicoes[i].second;
        for (std::size_t j = i + 1; j < edicoes.size(); ++j) {
            if (MesmoNomeAscii(edicoes[j].first, chave))
                esperado = edicoes[j].second;
        }
        if (relido.Ler(SECAO, chave) != esperado)
            return QStringLiteral("%1 written as '%2' reads back as '%3'")
                .arg(chave, Mostrar(esperado), Mostrar(relido.Ler(SECAO, chave)));
        if (std::none_of(escritas.begin(), escritas.end(),
                         [&](const QString& e) { return MesmoNomeAscii(e, chave); }))
            escritas << chave;
    }
    const QString linhas = CompararLinhas(arquivo, depois, escritas);
    if (!linhas.isEmpty())
        return linhas;
    if (Editar(relido, edicoes) != depois)
        return QStringLiteral("writing the same values again changed the bytes");
    return {};
}

QString VerificarSalvamento(const QByteArray& arquivo, const QString& caminho)
{
    qputenv("VANTREL_GADGETS_INI", QFile::encodeName(caminho));
    if (!Gravar(caminho, arquivo))
        return QStringLiteral("cannot write %1").arg(caminho);
    try {
        return Verificar(arquivo, caminho);
    } catch (const std::exception& e) {
        return QStringLiteral("exception: %1").arg(QString::fromUtf8(e.what()));
    }
}
