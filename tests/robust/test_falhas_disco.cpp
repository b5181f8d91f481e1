// The save at the end of a drag on a disk that refuses it: the file stays as
// it was, a box names it, and the gadget goes on.

#include "config/fila_gravacao.h"
#include "tests/support/arquivo_teste.h"
#include "tests/support/falhas_sistema.h"
#include "tests/support/gadget_vendas_hora.h"

#include <QFile>
#include <cstdio>
#include <functional>
#include <sys/stat.h>

namespace {

const QByteArray ANTES = "[Configuracoes]\r\nCaminhoBanco=/x.fdb\r\n"
                         "[GadGetVendHora]\r\nPosX=100\r\nPosY=50\r\nPeriodo=2\r\n"
                         "[Outro]\r\nMeta=5\r\n";

void Modo(const QString& caminho, mode_t modo)
{
    ASSERT_EQ(chmod(QFile::encodeName(caminho).constData(), modo), 0) << caminho.toStdString();
}

class ArrastoSemDisco : public VendasHoraTeste {
protected:
    void SetUp() override
    {
        VendasHoraTeste::SetUp();
        qputenv("VANTREL_GADGETS_INI", QFile::encodeName(arquivo.caminho()));
        plataforma::Ganchos().posicaoCursor = [this] { return cursor; };
        arquivo.Gravar(ANTES);
        config.CarregarIni();
        Constroi();
    }

    // Drags the gadget by (dx, dy) and releases it, the release inside
    // soltura.
    void Arrastar(QPoint deslocamento, const std::function<void(std::function<void()>)>& soltura)
    {
        QWidget* vista = Controle<QWidget>("rtgResumo");
        const QPoint destino = gadget->PosicaoNaTela() + deslocamento;
        cursor = vista->mapToGlobal(QPoint(5, 5));
        QTest::mousePress(vista, Qt::LeftButton, {}, QPoint(5, 5));
        cursor += deslocamento;
        ASSERT_TRUE(QTest::qWaitFor([&] { return gadget->PosicaoNaTela() == destino; }, 2000));
        // The save runs on its own thread: it ends inside soltura, and its box
        // comes back here.
        soltura([&] {
            QTest::mouseRelease(vista, Qt::LeftButton, {}, QPoint(5, 5));
            TFilaGravacao::Programa().Aguardar();
        });
        QCoreApplication::processEvents();
    }

    ArquivoTeste arquivo;
    QPoint cursor;
};

TEST_F(ArrastoSemDisco, ArquivoFicaComoEstavaEACaixaONomeia)
{
    struct Caso {
        const char* nome;
        std::function<void(std::function<void()>)> soltura;
    };
    const Caso casos[] = {
        {"read-only file",
         [&](std::function<void()> soltar) {
             Modo(arquivo.pasta(), 0777);
             Modo(arquivo.caminho(), 0444);
             {
                 ComoUsuarioComum usuario;
                 ASSERT_TRUE(usuario.ok());
                 soltar();
             }
             Modo(arquivo.pasta(), 0700);
             Modo(arquivo.caminho(), 0600);
         }},
        {"full disk",
         [&](std::function<void()> soltar) {
             DiscoCheio cheio;
             ASSERT_TRUE(cheio.ok());
             soltar();
         }},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        mensagens.clear();
        Arrastar(QPoint(-30, 20), c.soltura);
        EXPECT_EQ(mensagens,
                  QStringList{QStringLiteral("Unable to write to ") + arquivo.caminho()});
        EXPECT_EQ(arquivo.Ler(), ANTES) << "byte for byte";
        EXPECT_EQ(arquivo.Sobras(), QStringList()) << "no temporary file is left behind";
        std::printf("%s at the end of a drag: box \"%s\", file unchanged: %s\n", c.nome,
                    qPrintable(mensagens.value(0)), arquivo.Ler() == ANTES ? "yes" : "no");

        // With the disk writable again, the next drag saves.
        mensagens.clear();
        Arrastar(QPoint(10, 10), [](std::function<void()> soltar) { soltar(); });
        EXPECT_EQ(mensagens, QStringList());
        const QPoint onde = gadget->PosicaoNaTela();
        TConfig relido(QStringLiteral("GadGetVendHora"));
        relido.CarregarIni();
        EXPECT_EQ(relido.PosX(), QString::number(onde.x()));
        EXPECT_EQ(relido.PosY(), QString::number(onde.y()));
        const QByteArray depois = arquivo.Ler();
        EXPECT_TRUE(
            depois.startsWith("[Configuracoes]\r\nCaminhoBanco=/x.fdb\r\n[GadGetVendHora]\r\n"));
        EXPECT_TRUE(depois.contains("\r\nPeriodo=2\r\n"));
        EXPECT_TRUE(depois.endsWith("\r\n[Outro]\r\nMeta=5\r\n"));
        arquivo.Gravar(ANTES);
    }
}

} // namespace
