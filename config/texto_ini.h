#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// The bytes of an INI file, read and edited by the rules of the Windows profile
// functions. Lines that are not edited keep their bytes exactly.
class TextoIni {
public:
    explicit TextoIni(const QByteArray& conteudo);

    // Empty when the section or the key is missing.
    QString Ler(const QString& secao, const QString& chave) const;

    // Replaces the key's value where it stands, or adds the key after the last
    // non-blank line of its section, or the section at the end of the file.
    void Escrever(const QString& secao, const QString& chave, const QString& valor);

    QByteArray Conteudo() const;
    // How the text is decoded: UTF-8, or else Windows-1252.
    bool Utf8() const { return utf8_; }

private:
    enum class Tipo { Outra, Secao, Chave };

    struct Linha {
        QByteArray bytes; // without the line break
        QByteArray quebra; // "\n", "\r\n", or "" for a last line without one
        QString texto; // the decoded line, without the line break
        Tipo tipo = Tipo::Outra;
        QString nome; // section or key name, blanks removed

        // A line this object wrote: its bytes are the kept prefix followed by
        // the text encoded as the file is.
        bool gerada = false;
        QByteArray prefixo;
        QString resto;
    };

    static Linha Analisar(QByteArray bytes, QByteArray quebra, QString texto);
    static Linha Gerada(const QString& texto);
    int Secao(const QString& secao) const;
    int FimSecao(int cabecalho) const;
    int Chave(int cabecalho, const QString& chave) const;
    void TerminarLinha(int indice);
    QByteArray Montar(bool utf8) const;

    QByteArray bom_;
    std::vector<Linha> linhas_;
    QByteArray quebraPadrao_ = "\n";
    bool utf8_ = true;
};
