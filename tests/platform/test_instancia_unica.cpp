#include "ambiente.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <signal.h>
#include <sys/stat.h>

namespace {

// Copies of the program under a session of its own: a temporary runtime
// folder, and a session id when given.
class InstanciaUnica : public ::testing::Test {
protected:
    std::unique_ptr<QProcess> Iniciar(const QString& sessao = QString())
    {
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        ambiente.insert(QStringLiteral("XDG_RUNTIME_DIR"), Pasta());
        ambiente.remove(QStringLiteral("XDG_SESSION_ID"));
        if (!sessao.isEmpty())
            ambiente.insert(QStringLiteral("XDG_SESSION_ID"), sessao);
        auto processo = std::make_unique<QProcess>();
        processo->setProcessEnvironment(ambiente);
        processo->start(QStringLiteral(TRAVA_AUXILIAR), {});
        return processo;
    }

    // Waits for the copy to say it holds the lock.
    static bool Travou(QProcess& processo)
    {
        while (!processo.canReadLine()) {
            if (!processo.waitForReadyRead(20000))
                return false;
        }
        return processo.readLine() == "travado\n";
    }

    static void Matar(QProcess& processo)
    {
        ::kill(static_cast<pid_t>(processo.processId()), SIGKILL);
        processo.waitForFinished(20000);
    }

    QString Pasta() const { return temp.filePath(QStringLiteral("run")); }

    QTemporaryDir temp;
};

TEST_F(InstanciaUnica, SegundaCopiaTerminaLogoComCodigoDeSaidaZero)
{
    auto primeira = Iniciar();
    ASSERT_TRUE(Travou(*primeira));
    // The runtime folder was missing; it is made private.
    struct stat pasta {};
    ASSERT_EQ(::stat(QFile::encodeName(Pasta()).constData(), &pasta), 0);
    EXPECT_EQ(pasta.st_mode & 0777, 0700u);

    auto segunda = Iniciar();
    ASSERT_TRUE(segunda->waitForFinished(20000));
    EXPECT_EQ(segunda->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(segunda->exitCode(), 0);
    EXPECT_TRUE(segunda->readAllStandardOutput().isEmpty());
    EXPECT_EQ(primeira->state(), QProcess::Running);
    Matar(*primeira);
}

TEST_F(InstanciaUnica, DonoMortoNaoBloqueiaOProximoInicio)
{
    auto primeira = Iniciar();
    ASSERT_TRUE(Travou(*primeira));
    Matar(*primeira);

    auto outra = Iniciar();
    EXPECT_TRUE(Travou(*outra));
    Matar(*outra);
}

TEST_F(InstanciaUnica, OutraSessaoTemSuaPropriaTrava)
{
    auto primeira = Iniciar(QStringLiteral("3"));
    ASSERT_TRUE(Travou(*primeira));
    auto outraSessao = Iniciar(QStringLiteral("7"));
    EXPECT_TRUE(Travou(*outraSessao));
    auto mesmaSessao = Iniciar(QStringLiteral("3"));
    ASSERT_TRUE(mesmaSessao->waitForFinished(20000));
    EXPECT_EQ(mesmaSessao->exitCode(), 0);
    Matar(*primeira);
    Matar(*outraSessao);
}

} // namespace
