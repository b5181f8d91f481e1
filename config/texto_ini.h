#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>
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

    // The same with the value's own bytes, whatever the file's encoding: a
    // value that must reach another program byte for byte. Bytes that are
    // not UTF-8 make a UTF-8 file read as Windows-1252; when other text of
    // the file is not plain ASCII, and would read otherwise then, the text
    // the bytes stand for is written in the file's encoding instead.
    void EscreverBytes(const QString& secao, const QString& chave, const QByteArray& valor);

    QByteArray Conteudo() const;
    // How the text is decoded: UTF-8, or else Windows-1252.
    bool Utf8() const { return FUtf8; }

private:
    enum class Tipo { Outra, Secao, Chave };

    struct Linha {
        // Where the line lies in the file's bytes and in its decoded text,
        // without the line break; lines never edited are not copied.
        qsizetype inicioBytes = 0;
        qsizetype tamanhoBytes = 0;
        qsizetype inicioTexto = 0;
        qsizetype tamanhoTexto = 0;
        QByteArrayView quebra; // "\n", "\r\n", or "" for a last line without one
        Tipo tipo = Tipo::Outra;
        // Section or key name, blanks removed, within the line's text.
        qsizetype inicioNome = 0;
        qsizetype tamanhoNome = 0;

        // A line this object wrote: its text is its own, its bytes are the
        // kept prefix followed by resto encoded as the file is, or by bruto
        // as it is (the name then encoded as the file is, when no prefix was
        // kept).
        bool gerada = false;
        QString escrito;
        QByteArray prefixo;
        QString resto;
        std::optional<QByteArray> bruto;
    };

    QStringView Texto(const Linha& l) const;
    QStringView Nome(const Linha& l) const;
    QByteArrayView Bytes(const Linha& l) const;
    void Analisar(Linha& l) const;
    Linha Gerada(const QString& texto) const;
    int Secao(QStringView secao) const;
    int FimSecao(int cabecalho) const;
    int Chave(int cabecalho, QStringView chave) const;
    void TerminarLinha(int indice);
    // Writes the value: valor is the line's text after "=", bruto its bytes
    // when they are to be written as they are.
    void Gravar(const QString& secao, const QString& chave, const QString& valor,
                const std::optional<QByteArray>& bruto);
    // Whether every line but that one (-1: none) is plain ASCII.
    bool SoAsciiAlemDa(int linha) const;
    QByteArray Montar(bool utf8) const;

    QByteArray FBom;
    QByteArray FBytes; // the file without the byte order mark
    QString FTexto; // FBytes decoded
    std::vector<Linha> FLinhas;
    QByteArrayView FQuebraPadrao = "\n";
    bool FUtf8 = true;
};
