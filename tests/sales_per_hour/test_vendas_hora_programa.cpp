#include "tests/fixtures/banco_varejo.h"
#include "tests/support/programa.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// The autostart entries the gadget registered, for all users or this user.
QStringList Entradas(const Programa& prog)
{
    QStringList entradas;
    for (const char* pasta : {"config-dirs/autostart", "config-home/autostart"})
        entradas << QDir(prog.caminho(QString::fromLatin1(pasta))).entryList(QDir::Files);
    return entradas;
}

// The real program on a small retail database: the first activation builds,
// places and starts the gadget; an error in placing or starting it is shown
// once and the program goes on.
TEST(ProgramaVendasHora, ConstroiPosicionaEIniciaOGadget)
{
    struct Caso {
        const char* nome;
        QByteArray secao; // lines of the gadget's section
        bool tabelas;
        int mensagens;
        const char* trecho; // of the error's text
    };
    const Caso casos[] = {
        {"complete start", "", true, 0, ""},
        {"position not a number", "PosX=abc\r\nPosY=10\r\n", true, 1, "abc"},
        {"no sales tables", "", false, 1, "PEDIDOC"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        Programa prog;
        const QString arquivo = prog.caminho(QStringLiteral("loja.fdb"));
        if (c.tabelas) {
            // Let go of the file before the program's embedded engine opens it.
            BancoVarejo banco(arquivo);
            banco.addOperacao(1, QStringLiteral("S"), QStringLiteral("N"));
            Pedido pedido;
            pedido.dataPedido = QDate::currentDate();
            pedido.totalPedido = 12.5;
            banco.addPedido(pedido);
        } else {
            CriarBancoVazio(arquivo, QStringLiteral("SYSDBA"), QStringLiteral("masterkey"), 1);
        }
        prog.escreverIni("[Configuracoes]\r\nLocRem=L\r\nServidor=\r\nProtocolo=0\r\nCaminhoBanco="
                         + arquivo.toLocal8Bit()
                         + "\r\nUsuario=SYSDBA\r\nSenha=masterkey\r\n\r\n[GadGetVendHora]\r\n"
                         + c.secao);
        QProcess* p = prog.Iniciar();
        if (c.mensagens > 0) {
            ASSERT_TRUE(prog.esperarMensagens(c.mensagens, 15000))
                << prog.mensagens().toStdString();
        } else {
            // Built first; a box from the first refresh would follow soon after.
            QDeadlineTimer prazo(15000);
            while (Entradas(prog).isEmpty() && !prazo.hasExpired())
                QThread::msleep(100);
            QThread::msleep(3000);
        }
        const QString mensagens = prog.mensagens();
        EXPECT_EQ(mensagens.count(QStringLiteral("\n--\n")), c.mensagens)
            << mensagens.toStdString();
        if (c.mensagens > 0) {
            EXPECT_TRUE(mensagens.startsWith(u'\n')) << "a notice box, without caption";
            EXPECT_TRUE(mensagens.contains(QLatin1String(c.trecho), Qt::CaseInsensitive))
                << mensagens.toStdString();
        }
        EXPECT_FALSE(Entradas(prog).isEmpty()) << "the gadget was built";
        EXPECT_EQ(p->state(), QProcess::Running) << "the program goes on";
    }
}

} // namespace
