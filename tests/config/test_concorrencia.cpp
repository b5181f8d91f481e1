#include "config/config.h"
#include "config/texto_ini.h"
#include "impressao_qt.h"
#include "tests/support/arquivo_teste.h"

#include <QProcess>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

constexpr int VEZES = 1000;

const QByteArray COMUM = "[Configuracoes]\nCaminhoBanco=/x.fdb\n[Outro]\nMeta=5\n";

// Every state of the file that a reader can see is whole: the first one, or
// one that ends with the last key of a save.
bool Inteiro(const QByteArray& bytes)
{
    return bytes == COMUM || bytes.endsWith("GadGet=\n");
}

TEST(Concorrencia, DoisProcessosSalvandoSuasSecoesNaoPerdemNada)
{
    ArquivoTeste arquivo;
    arquivo.Gravar(COMUM);

    const QStringList secoes = {QStringLiteral("GadGetA"), QStringLiteral("GadGetB")};
    std::vector<std::unique_ptr<QProcess>> processos;
    for (const QString& secao : secoes) {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::ForwardedChannels);
        p->start(QStringLiteral(INI_WRITER), {secao, QString::number(VEZES)});
        ASSERT_TRUE(p->waitForStarted()) << p->errorString().toStdString();
        processos.push_back(std::move(p));
    }

    int leituras = 0;
    int rasgadas = 0;
    const auto rodando = [&] {
        for (const auto& p : processos) {
            if (p->state() != QProcess::NotRunning && !p->waitForFinished(1))
                return true;
        }
        return false;
    };
    while (rodando()) {
        ++leituras;
        if (!Inteiro(arquivo.Ler()))
            ++rasgadas;
    }
    for (const auto& p : processos) {
        EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p->exitCode(), 0);
    }
    EXPECT_EQ(rasgadas, 0) << "of " << leituras << " reads during the saves";

    const QByteArray final = arquivo.Ler();
    EXPECT_TRUE(final.startsWith(COMUM));
    const TTextoIni ini(final);
    for (const QString& secao : secoes) {
        EXPECT_EQ(final.count("[" + secao.toLatin1() + "]\n"), 1);
        EXPECT_EQ(ini.Ler(secao, QStringLiteral("PosX")), QString::number(VEZES - 1));
        EXPECT_EQ(ini.Ler(secao, QStringLiteral("Transparencia")), "100");
        EXPECT_EQ(ini.Ler(secao, QStringLiteral("IniWindows")), "1");
    }
    EXPECT_EQ(ini.Ler(QStringLiteral("Outro"), QStringLiteral("Meta")), "5");
    std::printf(
        "writers: %d saves each; %d reads during the saves, %d torn; final PosX %s and %s\n", VEZES,
        leituras, rasgadas, qPrintable(ini.Ler(secoes[0], QStringLiteral("PosX"))),
        qPrintable(ini.Ler(secoes[1], QStringLiteral("PosX"))));
}

} // namespace
