#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

// Runs the real program as a script would: offscreen, with its own
// configuration file, lock folder and message log.
class Programa {
public:
    Programa();
    ~Programa();

    QString caminhoIni() const { return FDir.filePath(QStringLiteral("ConfigGadGet.Ini")); }
    QString caminho(const QString& nome) const { return FDir.filePath(nome); }
    void escreverIni(const QByteArray& conteudo) const;
    QByteArray lerIni() const;
    QString mensagens() const;

    // Starts a copy of the program; several may run at once. ajuste changes
    // its environment last.
    QProcess* Iniciar(const QStringList& argumentos = {},
                      const std::function<void(QProcessEnvironment&)>& ajuste = {});
    // Waits for the message log to hold `minimo` messages.
    bool esperarMensagens(int minimo, int ms);
    // Waits until the configuration file differs from `antes`.
    bool esperarMudanca(const QByteArray& antes, int ms) const;

private:
    QTemporaryDir FDir;
    std::vector<std::unique_ptr<QProcess>> FProcessos;
};
