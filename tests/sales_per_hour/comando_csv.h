#pragma once

// The CSV command run as a user runs it, with a configuration file of its own.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>

inline std::string Str(const QByteArray& bytes)
{
    return bytes.toStdString();
}

struct Resultado {
    int codigo = -1;
    QByteArray saida;
    QByteArray erros;
};

// Runs the real command with its own configuration file and config folder,
// and checks after each run that no file of its folder was written, created
// or removed: the configuration file stays byte for byte.
class Comando {
public:
    Comando() { EXPECT_TRUE(FDir.isValid()); }

    QString ini() const { return FDir.filePath(QStringLiteral("ConfigGadGet.Ini")); }
    QString caminho(const char* nome) const { return FDir.filePath(QString::fromLatin1(nome)); }

    // durante runs once the command has started.
    Resultado executar(const QStringList& argumentos,
                       const std::function<void()>& durante = {}) const
    {
        const auto antes = Conteudo();
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VANTREL_GADGETS_INI"), ini());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), FDir.filePath(QStringLiteral("config")));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(VPH_CSV), argumentos);
        if (durante)
            durante();
        Resultado r;
        if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit) {
            ADD_FAILURE() << "the command did not end normally";
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.codigo = p.exitCode();
        r.saida = p.readAllStandardOutput();
        r.erros = p.readAllStandardError();
        EXPECT_EQ(Conteudo(), antes) << "the command wrote into its folder";
        return r;
    }

private:
    // Every file under the folder with its bytes; database files left out,
    // since the engine updates their headers when it opens them, and links,
    // which may lead to a device that never ends.
    std::map<QString, QByteArray> Conteudo() const
    {
        std::map<QString, QByteArray> arquivos;
        QDirIterator it(FDir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString arquivo = it.next();
            QFile f(arquivo);
            const bool ler = !arquivo.endsWith(QLatin1String(".fdb")) && !it.fileInfo().isSymLink()
                             && f.open(QIODevice::ReadOnly);
            arquivos[arquivo] = ler ? f.readAll() : QByteArray();
        }
        return arquivos;
    }

    QTemporaryDir FDir;
};

// The configuration file is read by this process too, as the gadget reads it.
class IniDoProcesso {
public:
    explicit IniDoProcesso(const QString& caminho)
    {
        qputenv("VANTREL_GADGETS_INI", QFile::encodeName(caminho));
    }
    ~IniDoProcesso() { qunsetenv("VANTREL_GADGETS_INI"); }
};
