#pragma once

#include <QString>
#include <stdexcept>

// An error whose text is meant for the user: handlers let it travel up to the
// event loop's report, which shows Texto() in a box.
class TErro : public std::runtime_error {
public:
    explicit TErro(const QString& texto) : std::runtime_error(texto.toStdString()), FTexto(texto) {}
    const QString& Texto() const { return FTexto; }

private:
    QString FTexto;
};
