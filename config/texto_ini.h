#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The bytes of an INI file, read and edited by the rules of the Windows profile
// functions. Lines that are not edited keep their bytes exactly. Nothing is
// kept per line: a read goes once over the text and the writes are applied
// when the content is built, so that a huge file costs little more than its
// own bytes.
class TTextoIni {
public:
    explicit TTextoIni(QByteArray conteudo);

    // Empty when the section or the key is missing.
    QString Ler(const QString& secao, const QString& chave) const;
    // Several keys of one section in one pass: one value per key, in order.
    QStringList Ler(const QString& secao, const QStringList& chaves) const;

    // Replaces the key's value where it stands, or adds the key after the last
    // non-blank line of its section, or the section at the end of the file.
    void Escrever(const QString& secao, const QString& chave, const QString& valor);

    // The same with the value's own bytes, whatever the file's encoding: a
    // value that must reach another program byte for byte. Bytes that are
    // not UTF-8 make a UTF-8 file read as Windows-1252; when other text of
    // the file is not plain ASCII, and would read otherwise then (or the file
    // is UTF-16), the text the bytes stand for is written in the file's
    // encoding instead.
    void EscreverBytes(const QString& secao, const QString& chave, const QByteArray& valor);

    // The file with the writes; utf8, when given, tells whether its text then
    // reads as Unicode (UTF-8, or UTF-16) instead of Windows-1252.
    QByteArray Conteudo(bool* utf8 = nullptr) const;
    // How the text is decoded: Unicode (UTF-8, or UTF-16 after its byte order
    // mark, as Windows reads such a file), or else Windows-1252.
    bool Utf8() const { return FCodificacao != TCodificacao::Windows1252; }

private:
    enum class TCodificacao { Utf8, Windows1252, Utf16LE, Utf16BE };

    struct TChaveEscrita {
        QString nome; // as first written
        QString gravado; // the value as the line holds it
        std::optional<QByteArray> bruto; // bytes written as they are
    };
    struct TSecaoEscrita {
        QString nome;
        std::vector<TChaveEscrita> chaves;
    };

    class TNome;

    // Where each write lands in the file.
    struct TResolucao {
        struct TLinhaChave {
            qsizetype inicio = -1; // -1: the key is not in the section
            qsizetype igual = 0;
            qsizetype fim = 0;
        };
        struct TSecao {
            bool achada = false;
            // After the section's last non-blank line (or its header): where
            // its new keys go.
            qsizetype insercao = 0;
            bool insercaoSemQuebra = false; // that line ends the file without a break
            std::vector<TLinhaChave> chaves;
        };
        std::vector<TSecao> secoes;
    };

    // The text as 8-bit bytes: the file's own after the byte order mark, or,
    // for UTF-16, each code unit as UTF-8 would write it (a surrogate too), so
    // that the same line and name rules apply.
    QByteArrayView Bytes() const;
    QString Decodificar(QByteArrayView bytes) const;
    QByteArray Codificar(QStringView texto, bool utf8) const;
    QString ValorDaLinha(QByteArrayView linha) const;
    const TChaveEscrita* Escrita(const QString& secao, const QString& chave) const;
    TChaveEscrita& Registro(const QString& secao, const QString& chave);
    // Whether every byte of the file and of the writes, but the line of that
    // write, is plain ASCII.
    bool SoAsciiAlemDe(const TChaveEscrita& escrita) const;
    TResolucao Resolver() const;
    QByteArray Montar(const TResolucao& r, bool utf8) const;

    QByteArray FArquivo;
    qsizetype FTamanhoBom = 0;
    TCodificacao FCodificacao = TCodificacao::Utf8;
    QByteArray FInterno; // the 8-bit form of a UTF-16 text
    QByteArray FCauda; // a UTF-16 file's odd last byte
    QByteArrayView FQuebraPadrao = "\n";
    std::vector<TSecaoEscrita> FEscritas; // in the order first written
};
