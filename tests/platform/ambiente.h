#pragma once

#include <QApplication>
#include <QByteArray>
#include <optional>

// Sets an environment variable for the life of the object, then puts back
// what was there.
class VariavelTemporaria {
public:
    VariavelTemporaria(const char* nome, const QString& valor) : nome_(nome)
    {
        if (qEnvironmentVariableIsSet(nome))
            antigo_ = qgetenv(nome);
        qputenv(nome, valor.toLocal8Bit());
    }
    ~VariavelTemporaria()
    {
        if (antigo_)
            qputenv(nome_, *antigo_);
        else
            qunsetenv(nome_);
    }
    void mudar(const QString& valor) { qputenv(nome_, valor.toLocal8Bit()); }
    QString valor() const { return qEnvironmentVariable(nome_); }
    VariavelTemporaria(const VariavelTemporaria&) = delete;
    VariavelTemporaria& operator=(const VariavelTemporaria&) = delete;

private:
    const char* nome_;
    std::optional<QByteArray> antigo_;
};

// The widget tests' application, made on first use and kept until exit.
inline void GarantirAplicacao()
{
    if (qApp)
        return;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char nome[] = "test_desktop";
    static char* argv[] = {nome, nullptr};
    new QApplication(argc, argv);
}
