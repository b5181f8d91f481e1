#pragma once

#include <QString>
#include <stdexcept>

// An error whose text is meant for the user: handlers let it travel up to the
// event loop's report, which shows texto() in a box.
class Erro : public std::runtime_error {
public:
    explicit Erro(const QString& texto) : std::runtime_error(texto.toStdString()), FTexto(texto) {}
    const QString& texto() const { return FTexto; }

private:
    QString FTexto;
};
