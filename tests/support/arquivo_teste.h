#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A configuration file in a folder of its own, named by VANTREL_GADGETS_INI
// while the object lives.
class ArquivoTeste {
public:
    ArquivoTeste();
    ~ArquivoTeste();
    ArquivoTeste(const ArquivoTeste&) = delete;
    ArquivoTeste& operator=(const ArquivoTeste&) = delete;

    const QString& caminho() const { return FCaminho; }
    QString pasta() const { return FPasta.path(); }

    void Gravar(const QByteArray& bytes) const;
    // The file's bytes; empty when it is missing.
    QByteArray Ler() const;
    // Names in the folder other than the file and its lock file.
    QStringList Sobras() const;

private:
    QTemporaryDir FPasta;
    QString FCaminho;
    QByteArray FVariavelAnterior;
    bool FTinhaVariavel;
};
