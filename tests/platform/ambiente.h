#pragma once

#include <QApplication>
#include <QByteArray>
#include <optional>

// Sets an environment variable for the life of the object, then puts back
// what was there.
class VariavelTemporaria {
public:
    VariavelTemporaria(const char* nome, const QString& valor) : FNome(nome)
    {
        if (qEnvironmentVariableIsSet(nome))
            FAntigo = qgetenv(nome);
        qputenv(nome, valor.toLocal8Bit());
    }
    ~VariavelTemporaria()
    {
        if (FAntigo)
            qputenv(FNome, *FAntigo);
        else
            qunsetenv(FNome);
    }
    void mudar(const QString& valor) { qputenv(FNome, valor.toLocal8Bit()); }
    QString valor() const { return qEnvironmentVariable(FNome); }
    VariavelTemporaria(const VariavelTemporaria&) = delete;
    VariavelTemporaria& operator=(const VariavelTemporaria&) = delete;

private:
    const char* FNome;
    std::optional<QByteArray> FAntigo;
};

// The widget tests' application, made on first use and kept until exit.
inline void GarantirAplicacao()
{
    if (qApp)
        return;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char nome[] = "test_platform";
    static char* argv[] = {nome, nullptr};
    new QApplication(argc, argv);
}
