#include "data/conexao.h"
#include "data/query.h"
#include "tests/data/erro_de.h"
#include "tests/fixtures/banco_varejo.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Never the text of an error.
const QString kSenhaSecreta = QStringLiteral("Zq7-senha-que-nao-aparece");

void Configurar(TConexao& conexao, const AcessoBanco& a)
{
    conexao.setConfiguracao(a.LocRem, a.Protocolo, a.Servidor, a.CaminhoBanco, a.Usuario, a.Senha);
}

int ContarPedidos(TConexao& conexao)
{
    TQuery query(conexao.getBancoDados(), conexao.getTransaction());
    query.setSQL({QStringLiteral("SELECT COUNT(*) AS N FROM PEDIDOC")});
    query.open();
    return query.value(0, QStringLiteral("N")).toInt();
}

TEST(NomeDoBanco, FormaDeRedePelaLocalizacaoEProtocolo)
{
    const QString srv = QStringLiteral("srv");
    const QString caminho = QStringLiteral("C:\\dados\\loja.fdb");
    const QString anterior = QStringLiteral("anterior:/banco.fdb");
    struct Caso {
        QString locRem, protocolo, esperado;
    };
    const Caso casos[] = {
        {"R", "0", "srv:C:\\dados\\loja.fdb"},
        {"R", "1", "\\\\srv\\C:\\dados\\loja.fdb"},
        {"R", "2", "srv@C:\\dados\\loja.fdb"},
        {"L", "0", caminho},
        {"", "1", caminho},
        {"r", "0", caminho},  // the comparison with "R" keeps case
        {"R ", "0", caminho}, // and trims nothing
        {"R", "3", anterior},
        {"R", "", anterior},
        {"R", " 0", anterior},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(NomeDoBanco(c.locRem, c.protocolo, srv, caminho, anterior), c.esperado)
            << "LocRem '" << c.locRem.toStdString() << "' Protocolo '" << c.protocolo.toStdString() << "'";
    }
}

class ConexaoLocal : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString arquivo(const char* nome) const { return dir.filePath(QString::fromLatin1(nome)); }

    QTemporaryDir dir;
};

TEST_F(ConexaoLocal, ConectaEIniciaATransacao)
{
    BancoVarejo banco(arquivo("loja.fdb"));
    TConexao conexao;
    EXPECT_FALSE(conexao.conectado());
    Configurar(conexao, banco.acesso());
    EXPECT_TRUE(conexao.conectarBanco());
    EXPECT_TRUE(conexao.conectado());
    EXPECT_TRUE(conexao.getTransaction().ativa());
    EXPECT_EQ(conexao.getBancoDados().nomeBanco(), banco.arquivo());
    EXPECT_EQ(conexao.getBancoDados().dialeto(), 1u);
}

TEST_F(ConexaoLocal, ProtocoloDesconhecidoMantemONomeAnterior)
{
    BancoVarejo banco(arquivo("loja.fdb"));
    TConexao conexao;
    Configurar(conexao, banco.acesso());
    ASSERT_TRUE(conexao.conectarBanco());
    conexao.setConfiguracao(QStringLiteral("R"), QStringLiteral("9"), QStringLiteral("outro"),
                            arquivo("outro.fdb"), banco.acesso().Usuario, banco.acesso().Senha);
    EXPECT_TRUE(conexao.conectarBanco());
    EXPECT_EQ(conexao.getBancoDados().nomeBanco(), banco.arquivo());
}

TEST_F(ConexaoLocal, ProtocoloDesconhecidoNumaConexaoNovaFalha)
{
    TConexao conexao;
    conexao.setConfiguracao(QStringLiteral("R"), QStringLiteral("9"), QStringLiteral("srv"),
                            arquivo("loja.fdb"), QStringLiteral("SYSDBA"), kSenhaSecreta);
    const QString texto = ErroDe([&] { conexao.conectarBanco(); });
    EXPECT_FALSE(texto.isEmpty());
    EXPECT_FALSE(texto.contains(kSenhaSecreta));
    EXPECT_FALSE(conexao.conectado());
}

TEST_F(ConexaoLocal, ArquivoInexistenteDaOErroDoServidorSemASenha)
{
    const QString faltando = arquivo("nao-existe.fdb");
    TConexao conexao;
    conexao.setConfiguracao(QStringLiteral("L"), QString(), QString(), faltando,
                            QStringLiteral("SYSDBA"), kSenhaSecreta);
    const QString texto = ErroDe([&] { conexao.conectarBanco(); });
    EXPECT_TRUE(texto.contains(QStringLiteral("No such file or directory"))) << texto.toStdString();
    EXPECT_TRUE(texto.contains(faltando)) << texto.toStdString();
    EXPECT_FALSE(texto.contains(kSenhaSecreta));
    EXPECT_FALSE(conexao.conectado());
}

TEST_F(ConexaoLocal, SoAProximaConexaoVeOQueOutraGravou)
{
    BancoVarejo banco(arquivo("loja.fdb"));
    banco.addPedido({});
    TConexao conexao;
    Configurar(conexao, banco.acesso());
    ASSERT_TRUE(conexao.conectarBanco());
    EXPECT_EQ(ContarPedidos(conexao), 1);

    banco.addPedido({}); // committed by another attachment
    EXPECT_EQ(ContarPedidos(conexao), 1);

    ASSERT_TRUE(conexao.conectarBanco());
    EXPECT_EQ(ContarPedidos(conexao), 2);
}

TEST_F(ConexaoLocal, DialetoDoBancoQuandoMenorQueTres)
{
    const QString dialeto3 = arquivo("d3.fdb");
    CriarBancoVazio(dialeto3, QStringLiteral("SYSDBA"), QStringLiteral("masterkey"), 3);
    BancoVarejo dialeto1(arquivo("d1.fdb"));
    struct Caso {
        QString caminho;
        unsigned dialeto;
    };
    for (const Caso& c : {Caso{dialeto3, 3}, Caso{dialeto1.arquivo(), 1}}) {
        TConexao conexao;
        conexao.setConfiguracao(QStringLiteral("L"), QString(), QString(), c.caminho,
                                QStringLiteral("SYSDBA"), QStringLiteral("masterkey"));
        ASSERT_TRUE(conexao.conectarBanco());
        EXPECT_EQ(conexao.getBancoDados().dialeto(), c.dialeto);
        TQuery query(conexao.getBancoDados(), conexao.getTransaction());
        // Double quotes delimit text only in dialect 1.
        query.setSQL({QStringLiteral("SELECT \"S\" AS X FROM RDB$DATABASE")});
        if (c.dialeto == 1) {
            query.open();
            EXPECT_EQ(query.asString(0, QStringLiteral("X")), QStringLiteral("S"));
        } else {
            const QString texto = ErroDe([&] { query.open(); });
            EXPECT_TRUE(texto.contains(QStringLiteral("Column unknown"))) << texto.toStdString();
        }
    }
}

// A socket that takes connections and never answers, like a stalled server.
class ServidorMudo {
public:
    ServidorMudo()
    {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in endereco{};
        endereco.sin_family = AF_INET;
        endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t tamanho = sizeof endereco;
        if (bind(fd_, reinterpret_cast<sockaddr*>(&endereco), tamanho) != 0 || listen(fd_, 16) != 0
            || getsockname(fd_, reinterpret_cast<sockaddr*>(&endereco), &tamanho) != 0)
            ADD_FAILURE() << "no listening socket";
        porta_ = ntohs(endereco.sin_port);
        fcntl(fd_, F_SETFL, O_NONBLOCK);
    }
    ~ServidorMudo() { close(fd_); }

    int porta() const { return porta_; }
    int conexoesRecebidas()
    {
        int n = 0;
        for (int c; (c = accept(fd_, nullptr, nullptr)) >= 0; ++n)
            close(c);
        return n;
    }

private:
    int fd_ = -1;
    int porta_ = 0;
};

TEST(ConexaoServidor, ServidorQueNaoRespondeTerminaEmErro)
{
    ServidorMudo mudo;
    TConexao conexao;
    conexao.setConfiguracao(QStringLiteral("R"), QStringLiteral("0"),
                            QStringLiteral("127.0.0.1/%1").arg(mudo.porta()),
                            QStringLiteral("/tmp/loja.fdb"), QStringLiteral("SYSDBA"), kSenhaSecreta);
    QElapsedTimer relogio;
    relogio.start();
    const QString texto = ErroDe([&] { conexao.conectarBanco(); });
    // Three attempts of a few seconds each: an error, never a wait for ever.
    EXPECT_LT(relogio.elapsed(), 30000);
    EXPECT_FALSE(texto.isEmpty());
    EXPECT_FALSE(texto.contains(kSenhaSecreta));
    EXPECT_EQ(mudo.conexoesRecebidas(), 3);
    EXPECT_FALSE(conexao.conectado());
}

TEST(ConexaoServidor, PortaFechadaDizQueNaoConectou)
{
    int porta = 0;
    {
        ServidorMudo temporario;
        porta = temporario.porta();
    }
    TConexao conexao;
    conexao.setConfiguracao(QStringLiteral("R"), QStringLiteral("0"),
                            QStringLiteral("127.0.0.1/%1").arg(porta), QStringLiteral("/tmp/loja.fdb"),
                            QStringLiteral("SYSDBA"), kSenhaSecreta);
    const QString texto = ErroDe([&] { conexao.conectarBanco(); });
    EXPECT_TRUE(texto.contains(QStringLiteral("Unable to complete network request"))) << texto.toStdString();
    EXPECT_FALSE(texto.contains(kSenhaSecreta));
}

class ConexaoNoServidor : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        banco = std::make_unique<BancoVarejo>(dir.filePath(QStringLiteral("servidor.fdb")),
                                              BancoVarejo::Onde::Servidor);
    }

    QTemporaryDir dir;
    std::unique_ptr<BancoVarejo> banco;
};

TEST_F(ConexaoNoServidor, SenhaErradaDizOMotivoSemASenha)
{
    AcessoBanco acesso = banco->acesso();
    acesso.Senha = kSenhaSecreta;
    TConexao conexao;
    Configurar(conexao, acesso);
    const QString texto = ErroDe([&] { conexao.conectarBanco(); });
    EXPECT_TRUE(texto.contains(QStringLiteral("user name and password"))) << texto.toStdString();
    EXPECT_FALSE(texto.contains(kSenhaSecreta));
    EXPECT_FALSE(conexao.conectado());
}

TEST_F(ConexaoNoServidor, ConectaPeloServidorComTcp)
{
    banco->addPedido({});
    TConexao conexao;
    Configurar(conexao, banco->acesso());
    ASSERT_TRUE(conexao.conectarBanco());
    EXPECT_EQ(conexao.getBancoDados().nomeBanco(), QStringLiteral("127.0.0.1:") + banco->arquivo());
    EXPECT_EQ(ContarPedidos(conexao), 1);
}

TEST_F(ConexaoNoServidor, ConexaoDerrubadaVoltaNaReconexaoSeguinte)
{
    TConexao conexao;
    Configurar(conexao, banco->acesso());
    ASSERT_TRUE(conexao.conectarBanco());
    banco->executar(QStringLiteral(
        "DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION"));
    banco->addPedido({});

    // Ending the dead transaction reports the loss; the attachment is let go
    // all the same, so the next reconnect works.
    const QString texto = ErroDe([&] { conexao.conectarBanco(); });
    EXPECT_FALSE(texto.isEmpty());
    ASSERT_TRUE(conexao.conectarBanco());
    EXPECT_EQ(ContarPedidos(conexao), 1);
}

} // namespace
