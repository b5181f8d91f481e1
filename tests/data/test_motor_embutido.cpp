// The embedded engine as the shop's user runs it: it must open a local file,
// and never while another engine (the server, another user's gadget) has
// that file open.
#include "tests/fixtures/banco_varejo.h"
#include "tests/support/erro_de.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>
#include <ibase.h>
#include <memory>
#include <unistd.h>

namespace {

constexpr uid_t NINGUEM = 65534;

// The embedded engine alone, as a local file is opened.
fb::TRef<Firebird::IAttachment> Anexar(const QString& nome, const char* provedores)
{
    fb::TStatus status;
    fb::TRef<Firebird::IXpbBuilder> dpb(
        fb::Util()->getXpbBuilder(&status, Firebird::IXpbBuilder::DPB, nullptr, 0));
    dpb->insertString(&status, isc_dpb_user_name, "SYSDBA");
    dpb->insertString(&status, isc_dpb_password, SenhaSysdba().toUtf8().constData());
    dpb->insertString(&status, isc_dpb_config, provedores);
    fb::TRef<Firebird::IProvider> provedor(fb::Mestre()->getDispatcher());
    return fb::TRef<Firebird::IAttachment>(
        provedor->attachDatabase(&status, QFile::encodeName(nome).constData(),
                                 dpb->getBufferLength(&status), dpb->getBuffer(&status)));
}

fb::TRef<Firebird::IAttachment> AnexarEmbutido(const QString& arquivo)
{
    return Anexar(arquivo, "Providers=Engine12");
}

fb::TRef<Firebird::IAttachment> AnexarNoServidor(const QString& arquivo)
{
    return Anexar(QStringLiteral("127.0.0.1:") + arquivo, "Providers=Remote");
}

// A database file that the server, this process and another user may all
// open.
class BancoCompartilhado {
public:
    BancoCompartilhado()
    {
        EXPECT_TRUE(FDir.isValid());
        QFile::setPermissions(FDir.path(), QFile::Permissions(0x7777));
        {
            BancoVarejo banco(arquivo(), BancoVarejo::Onde::Embutido);
            banco.addFilial(QStringLiteral("01"), QStringLiteral("Loja"));
        }
        QFile::setPermissions(arquivo(), QFile::Permissions(0x6666));
    }
    QString arquivo() const { return FDir.filePath(QStringLiteral("loja.fdb")); }
    QString pasta() const { return FDir.path(); }

private:
    QTemporaryDir FDir;
};

// Another user's embedded engine (isql-fb, with a lock folder of its own):
// as root, the user nobody; else this user with another lock folder, which is
// what sets two users' engines apart.
class OutroUsuario {
public:
    explicit OutroUsuario(const BancoCompartilhado& banco)
    {
        FTravas = banco.pasta() + QStringLiteral("/travas-do-outro");
        QDir().mkdir(FTravas);
        if (geteuid() == 0) {
            EXPECT_EQ(chown(QFile::encodeName(FTravas).constData(), NINGUEM, NINGUEM), 0);
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("FIREBIRD_LOCK"), FTravas);
        env.insert(QStringLiteral("HOME"), banco.pasta());
        FIsql.setProcessEnvironment(env);
        FIsql.setProcessChannelMode(QProcess::MergedChannels);
        QStringList argumentos = {QStringLiteral("-q")};
        QString programa = QStringLiteral("isql-fb");
        if (geteuid() == 0) {
            argumentos =
                QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                            QStringLiteral("--clear-groups"), programa}
                + argumentos;
            programa = QStringLiteral("setpriv");
        }
        FIsql.start(programa, argumentos);
        EXPECT_TRUE(FIsql.waitForStarted());
        FIsql.write(
            ("CONNECT '" + QFile::encodeName(banco.arquivo())
             + "' USER 'SYSDBA' PASSWORD 'x';\nSELECT 'ABERTO' || COUNT(*) FROM FILIAIS;\n"));
    }

    ~OutroUsuario()
    {
        FIsql.closeWriteChannel();
        if (!FIsql.waitForFinished(10000))
            FIsql.kill();
        FIsql.waitForFinished();
    }

    // Waits for the answer to its query: "ABERTO1" once it has the file open.
    QString resposta()
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 20000 && !FSaida.contains("ABERTO") && !FSaida.contains("failed")) {
            FIsql.waitForReadyRead(200);
            FSaida += FIsql.readAll();
        }
        return QString::fromUtf8(FSaida);
    }

    // All it said, once it has ended.
    QString tudo()
    {
        FIsql.closeWriteChannel();
        FIsql.waitForFinished(20000);
        FSaida += FIsql.readAll();
        return QString::fromUtf8(FSaida);
    }

private:
    QString FTravas;
    QProcess FIsql;
    QByteArray FSaida;
};

bool RecusaPorEstarAberto(const QString& erro)
{
    return erro.contains(QStringLiteral("lock")) || erro.contains(QStringLiteral("already opened"));
}

TEST(MotorEmbutido, AbreUmArquivoLocal)
{
    QTemporaryDir dir;
    const QString arquivo = dir.filePath(QStringLiteral("loja.fdb"));
    {
        BancoVarejo banco(arquivo, BancoVarejo::Onde::Embutido);
        banco.addFilial(QStringLiteral("01"), QStringLiteral("Loja"));
    }
    fb::TRef<Firebird::IAttachment> anexo = AnexarEmbutido(arquivo);
    EXPECT_TRUE(anexo);
    fb::Desanexar(anexo);
}

struct Dono {
    const char* nome;
    // Opens the file through another engine and keeps it open while the
    // returned object lives.
    std::function<std::shared_ptr<void>(const BancoCompartilhado&)> abrir;
    // The other engine tries to open the file that we hold; returns its error.
    std::function<QString(const BancoCompartilhado&)> tentar;
};

void PrintTo(const Dono& d, std::ostream* os)
{
    *os << d.nome;
}

class UmMotorPorArquivo : public testing::TestWithParam<Dono> {};

TEST_P(UmMotorPorArquivo, OOutroMotorERecusadoNosDoisSentidos)
{
    BancoCompartilhado banco;
    {
        const std::shared_ptr<void> outro = GetParam().abrir(banco);
        ASSERT_TRUE(outro);
        const QString erro = ErroDe([&] { AnexarEmbutido(banco.arquivo()); });
        EXPECT_TRUE(RecusaPorEstarAberto(erro)) << erro.toStdString();
    }
    fb::TRef<Firebird::IAttachment> nosso = AnexarEmbutido(banco.arquivo());
    ASSERT_TRUE(nosso);
    const QString erro = GetParam().tentar(banco);
    EXPECT_TRUE(RecusaPorEstarAberto(erro)) << erro.toStdString();
    fb::Desanexar(nosso);
}

INSTANTIATE_TEST_SUITE_P(
    Motores, UmMotorPorArquivo,
    testing::Values(Dono{"servidor",
                         [](const BancoCompartilhado& b) -> std::shared_ptr<void> {
                             return std::shared_ptr<void>(
                                 new fb::TRef<Firebird::IAttachment>(AnexarNoServidor(b.arquivo())),
                                 [](void* p) {
                                     auto* anexo = static_cast<fb::TRef<Firebird::IAttachment>*>(p);
                                     fb::Desanexar(*anexo);
                                     delete anexo;
                                 });
                         },
                         [](const BancoCompartilhado& b) {
                             return ErroDe([&] { AnexarNoServidor(b.arquivo()); });
                         }},
                    Dono{"motor_embutido_de_outro_usuario",
                         [](const BancoCompartilhado& b) -> std::shared_ptr<void> {
                             auto outro = std::make_shared<OutroUsuario>(b);
                             const QString r = outro->resposta();
                             EXPECT_TRUE(r.contains(QStringLiteral("ABERTO1"))) << r.toStdString();
                             return outro;
                         },
                         [](const BancoCompartilhado& b) {
                             OutroUsuario outro(b);
                             return outro.tudo();
                         }}),
    [](const testing::TestParamInfo<Dono>& i) { return std::string(i.param.nome); });

} // namespace
