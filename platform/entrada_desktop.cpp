#include "platform/entrada_desktop.h"

#include <QList>

#include <algorithm>
#include <iterator>

namespace plataforma {

namespace {

// Escapes of a string value, applied after the Exec quoting.
QString EscaparValor(const QString& valor)
{
    QString saida;
    for (qsizetype i = 0; i < valor.size(); ++i) {
        const QChar c = valor[i];
        if (c == u'\\')
            saida += QStringLiteral("\\\\");
        else if (c == u'\n')
            saida += QStringLiteral("\\n");
        else if (c == u'\t')
            saida += QStringLiteral("\\t");
        else if (c == u'\r')
            saida += QStringLiteral("\\r");
        else if (c == u' ' && i == 0)
            saida += QStringLiteral("\\s"); // a leading blank would be trimmed
        else
            saida += c;
    }
    return saida;
}

} // namespace

QString NomeArquivoEntrada(const QString& titulo)
{
    QString nome;
    for (const char c : titulo.toLower().toUtf8()) {
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            nome += QLatin1Char(c);
        else if (c == ' ')
            nome += u'-';
        else
            nome +=
                QStringLiteral("_%1").arg(static_cast<uchar>(c), 2, 16, QLatin1Char('0')).toUpper();
    }
    return nome + QStringLiteral(".desktop");
}

QString ArgumentoExec(const QString& programa)
{
    static const QString reservados = QStringLiteral(" \t\n\"'\\><~|&;$*?#`");
    bool citar = programa.isEmpty();
    for (const QChar c : programa)
        citar = citar || reservados.contains(c);
    QString argumento;
    for (const QChar c : programa) {
        if (citar && (c == u'"' || c == u'`' || c == u'$' || c == u'\\'))
            argumento += u'\\';
        argumento += c;
        if (c == u'%')
            argumento += u'%';
    }
    return citar ? u'"' + argumento + u'"' : argumento;
}

QByteArray TextoEntrada(const QString& titulo, const QString& programa)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=%1\n"
                          "Exec=%2\n")
        .arg(EscaparValor(titulo), EscaparValor(ArgumentoExec(programa)))
        .toUtf8();
}

QByteArray TextoEntradaOculta(const QString& titulo)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=%1\n"
                          "Hidden=true\n")
        .arg(EscaparValor(titulo))
        .toUtf8();
}

bool EntradaDesligada(const QByteArray& texto)
{
    struct TChave {
        QByteArrayView nome;
        bool desliga; // the value that keeps the program from starting
    };
    static constexpr TChave CHAVES[] = {
        {"Hidden", true},
        {"X-GNOME-Autostart-enabled", false},
        {"X-MATE-Autostart-enabled", false},
    };
    // Per key, whether its value says "do not start"; a key given twice
    // counts as written last, as GLib reads it.
    bool desliga[std::size(CHAVES)] = {};
    bool noGrupo = false;
    for (const QByteArray& linhaLida : texto.split('\n')) {
        const QByteArray linha = linhaLida.trimmed();
        if (linha.startsWith('[')) {
            noGrupo = linha == "[Desktop Entry]";
            continue;
        }
        const qsizetype igual = linha.indexOf('=');
        if (!noGrupo || igual < 0)
            continue;
        const QByteArray chave = linha.first(igual).trimmed();
        const QByteArray valor = linha.sliced(igual + 1).trimmed();
        const bool verdadeiro = valor == "true" || valor == "1";
        if (!verdadeiro && valor != "false" && valor != "0")
            continue;
        for (std::size_t i = 0; i < std::size(CHAVES); ++i)
            if (chave == CHAVES[i].nome)
                desliga[i] = verdadeiro == CHAVES[i].desliga;
    }
    return std::any_of(std::begin(desliga), std::end(desliga), [](bool d) { return d; });
}

} // namespace plataforma
