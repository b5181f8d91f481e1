#include "tests/support/programa.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

Programa::Programa() = default;

Programa::~Programa()
{
    for (auto& p : FProcessos) {
        if (p->state() != QProcess::NotRunning) {
            p->kill();
            p->waitForFinished(5000);
        }
    }
}

void Programa::escreverIni(const QByteArray& conteudo) const
{
    QFile f(caminhoIni());
    f.open(QIODevice::WriteOnly);
    f.write(conteudo);
}

QByteArray Programa::lerIni() const
{
    QFile f(caminhoIni());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString Programa::mensagens() const
{
    QFile f(caminho(QStringLiteral("mensagens.log")));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QProcess* Programa::Iniciar(const QStringList& argumentos,
                            const std::function<void(QProcessEnvironment&)>& ajuste)
{
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("VANTREL_GADGETS_INI"), caminhoIni());
    env.insert(QStringLiteral("VANTREL_MESSAGE_LOG"), caminho(QStringLiteral("mensagens.log")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), FDir.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), caminho(QStringLiteral("config-home")));
    env.insert(QStringLiteral("XDG_CONFIG_DIRS"), caminho(QStringLiteral("config-dirs")));
    env.remove(QStringLiteral("XDG_SESSION_ID"));
    if (ajuste)
        ajuste(env);
    p->setProcessEnvironment(env);
    p->setProgram(QStringLiteral(VPH_PROGRAMA));
    p->setArguments(argumentos);
    p->start();
    p->waitForStarted();
    FProcessos.push_back(std::move(p));
    return FProcessos.back().get();
}

bool Programa::esperarMensagens(int minimo, int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        if (mensagens().count(QStringLiteral("\n--\n")) >= minimo)
            return true;
        QThread::msleep(50);
    }
    return false;
}

bool Programa::esperarMudanca(const QByteArray& antes, int ms) const
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        if (lerIni() != antes)
            return true;
        QThread::msleep(50);
    }
    return false;
}
