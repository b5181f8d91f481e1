#include "base/erro.h"
#include "config/config.h"
#include "impressao_qt.h"
#include "tests/support/arquivo_teste.h"
#include "tests/support/falhas_sistema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const QByteArray ANTES = "[Configuracoes]\nSenha=x\n[GadGetVendHora]\nPosX=1\n";

void Modo(const QString& caminho, mode_t modo)
{
    ASSERT_EQ(chmod(QFile::encodeName(caminho).constData(), modo), 0) << caminho.toStdString();
}

void CriarTrava(const ArquivoTeste& a)
{
    QFile trava(a.caminho() + QStringLiteral(".lock"));
    ASSERT_TRUE(trava.open(QIODevice::WriteOnly));
    Modo(trava.fileName(), 0666);
}

struct CasoFalha {
    const char* nome;
    bool soComoRoot; // needs a file that belongs to someone else
    std::function<void(const ArquivoTeste&)> preparar;
};

void PrintTo(const CasoFalha& c, std::ostream* os)
{
    *os << c.nome;
}

class FalhaEscrita : public testing::TestWithParam<CasoFalha> {};

TEST_P(FalhaEscrita, DeixaOArquivoComoEstavaEONomeia)
{
    const CasoFalha& c = GetParam();
    if (c.soComoRoot && geteuid() != 0)
        GTEST_SKIP() << "needs root to make a file that belongs to another user";
    ArquivoTeste arquivo;
    arquivo.Gravar(ANTES);
    TConfig config(QStringLiteral("GadGetVendHora"));
    config.CarregarIni();
    config.setPosX(QStringLiteral("99"));
    c.preparar(arquivo);

    QString erro;
    {
        ComoUsuarioComum usuario;
        ASSERT_TRUE(usuario.ok());
        // Else every case would fail for the same wrong reason.
        ASSERT_EQ(access(QFile::encodeName(arquivo.pasta()).constData(), X_OK), 0);
        try {
            config.SalvarIni();
        } catch (const TErro& e) {
            erro = e.Texto();
        }
    }
    Modo(arquivo.pasta(), 0700);
    Modo(arquivo.caminho(), 0600);
    EXPECT_EQ(erro, QStringLiteral("Unable to write to ") + arquivo.caminho());
    EXPECT_EQ(arquivo.Ler(), ANTES);
    EXPECT_EQ(arquivo.Sobras(), QStringList()) << "no temporary file is left behind";
}

INSTANTIATE_TEST_SUITE_P(Config, FalhaEscrita,
                         testing::Values(CasoFalha{"arquivo_so_leitura", false,
                                                   [](const ArquivoTeste& a) {
                                                       Modo(a.pasta(), 0777);
                                                       Modo(a.caminho(), 0444);
                                                   }},
                                         CasoFalha{"arquivo_ilegivel", false,
                                                   [](const ArquivoTeste& a) {
                                                       Modo(a.pasta(), 0777);
                                                       Modo(a.caminho(), 0222);
                                                   }}),
                         [](const testing::TestParamInfo<CasoFalha>& i) {
                             return std::string(i.param.nome);
                         });

class EscritaNoLugar : public testing::TestWithParam<CasoFalha> {};

// The saver's own runtime folder while the object lives: a write in place
// keeps its copy there when the file's folder takes none.
class PastaDeSessao {
public:
    PastaDeSessao() : FAnterior(qgetenv("XDG_RUNTIME_DIR"))
    {
        if (geteuid() == 0)
            FOk = chown(QFile::encodeName(FPasta.path()).constData(), 65534, 65534) == 0;
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(FPasta.path()));
    }
    ~PastaDeSessao() { qputenv("XDG_RUNTIME_DIR", FAnterior); }
    PastaDeSessao(const PastaDeSessao&) = delete;
    PastaDeSessao& operator=(const PastaDeSessao&) = delete;

    bool ok() const { return FOk && FPasta.isValid(); }
    QStringList Copias() const
    {
        return QDir(FPasta.path() + QStringLiteral("/copias-ini")).entryList(QDir::Files);
    }

private:
    QTemporaryDir FPasta;
    QByteArray FAnterior;
    bool FOk = true;
};

// The file may be written but not replaced: it is written in place, under
// the same lock.
TEST_P(EscritaNoLugar, GravaOMesmoArquivoENaoDeixaNadaAoLado)
{
    const CasoFalha& c = GetParam();
    if (c.soComoRoot && geteuid() != 0)
        GTEST_SKIP() << "needs root to make a file that belongs to another user";
    ArquivoTeste arquivo;
    arquivo.Gravar(ANTES);
    TConfig config(QStringLiteral("GadGetVendHora"));
    config.CarregarIni();
    config.setPosX(QStringLiteral("99"));
    c.preparar(arquivo);
    struct stat antes {};
    ASSERT_EQ(stat(QFile::encodeName(arquivo.caminho()).constData(), &antes), 0);
    const PastaDeSessao sessao;
    ASSERT_TRUE(sessao.ok());
    {
        ComoUsuarioComum usuario;
        ASSERT_TRUE(usuario.ok());
        config.SalvarIni();
    }
    EXPECT_EQ(sessao.Copias(), QStringList()) << "the copy goes once the file is written";
    Modo(arquivo.pasta(), 0700);
    struct stat depois {};
    ASSERT_EQ(stat(QFile::encodeName(arquivo.caminho()).constData(), &depois), 0);
    EXPECT_EQ(depois.st_ino, antes.st_ino);
    EXPECT_EQ(depois.st_uid, antes.st_uid);
    EXPECT_TRUE(arquivo.Ler().startsWith("[Configuracoes]\nSenha=x\n[GadGetVendHora]\nPosX=99\n"))
        << arquivo.Ler().toStdString();
    EXPECT_EQ(arquivo.Sobras(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(
    Config, EscritaNoLugar,
    testing::Values(CasoFalha{"pasta_so_leitura", false,
                              [](const ArquivoTeste& a) {
                                  CriarTrava(a);
                                  Modo(a.caminho(), 0666);
                                  Modo(a.pasta(), 0555);
                              }},
                    // Nor can the lock file be made there: the file itself is locked.
                    CasoFalha{"pasta_so_leitura_sem_arquivo_de_trava", false,
                              [](const ArquivoTeste& a) {
                                  Modo(a.caminho(), 0666);
                                  Modo(a.pasta(), 0555);
                              }},
                    // In a sticky folder only the owner may replace the file.
                    CasoFalha{"pasta_sticky_arquivo_de_outro_usuario", true,
                              [](const ArquivoTeste& a) {
                                  CriarTrava(a);
                                  Modo(a.caminho(), 0666);
                                  Modo(a.pasta(), 01777);
                              }}),
    [](const testing::TestParamInfo<CasoFalha>& i) { return std::string(i.param.nome); });

TEST(FalhaEscrita, DiscoCheioDeixaOArquivoComoEstava)
{
    ArquivoTeste arquivo;
    arquivo.Gravar(ANTES);
    TConfig config(QStringLiteral("GadGetVendHora"));
    config.CarregarIni();
    config.setPosX(QStringLiteral("99"));
    QString erro;
    {
        DiscoCheio cheio;
        ASSERT_TRUE(cheio.ok());
        try {
            config.SalvarIni();
        } catch (const TErro& e) {
            erro = e.Texto();
        }
    }
    EXPECT_EQ(erro, QStringLiteral("Unable to write to ") + arquivo.caminho());
    EXPECT_EQ(arquivo.Ler(), ANTES);
    EXPECT_EQ(arquivo.Sobras(), QStringList());
}

TEST(FalhaEscrita, PastaInexistenteNaoECriada)
{
    ArquivoTeste arquivo;
    const QString caminho = arquivo.pasta() + QStringLiteral("/falta/ConfigGadGet.Ini");
    qputenv("VANTREL_GADGETS_INI", QFile::encodeName(caminho));
    TConfig config(QStringLiteral("GadGetVendHora"));
    try {
        config.SalvarIni();
        ADD_FAILURE() << "the save did not fail";
    } catch (const TErro& e) {
        EXPECT_EQ(e.Texto(), QStringLiteral("Unable to write to ") + caminho);
    }
    EXPECT_FALSE(QFileInfo::exists(arquivo.pasta() + QStringLiteral("/falta")));
}

TEST(FalhaEscrita, PastaNoLugarDoArquivoFicaIntacta)
{
    ArquivoTeste arquivo;
    ASSERT_TRUE(QDir().mkpath(arquivo.caminho() + QStringLiteral("/dentro")));
    TConfig config(QStringLiteral("GadGetVendHora"));
    try {
        config.SalvarIni();
        ADD_FAILURE() << "the save did not fail";
    } catch (const TErro& e) {
        EXPECT_EQ(e.Texto(), QStringLiteral("Unable to write to ") + arquivo.caminho());
    }
    EXPECT_TRUE(QFileInfo(arquivo.caminho() + QStringLiteral("/dentro")).isDir());
    EXPECT_EQ(arquivo.Sobras(), QStringList());
}

TEST(FalhaEscrita, SalvarQueNaoMudaNadaDeixaIntactoUmArquivoSoLeitura)
{
    ArquivoTeste arquivo;
    TConfig config(QStringLiteral("GadGetVendHora"));
    config.CarregarIni();
    config.InstanciaVariaveis(QStringLiteral("GVH"));
    config.SalvarIni();
    const QByteArray salvo = arquivo.Ler();
    Modo(arquivo.pasta(), 0777);
    Modo(arquivo.caminho(), 0444);
    {
        ComoUsuarioComum usuario;
        ASSERT_TRUE(usuario.ok());
        EXPECT_NO_THROW(config.SalvarIni());
    }
    Modo(arquivo.pasta(), 0700);
    EXPECT_EQ(arquivo.Ler(), salvo);
}

TEST(Escrita, SubstituicaoMantemAsPermissoesDoArquivo)
{
    ArquivoTeste arquivo;
    arquivo.Gravar(ANTES);
    Modo(arquivo.caminho(), 0640);
    TConfig config(QStringLiteral("GadGetVendHora"));
    config.SalvarIni();
    EXPECT_EQ(QFile::permissions(arquivo.caminho()), QFile::ReadOwner | QFile::WriteOwner
                                                         | QFile::ReadUser | QFile::WriteUser
                                                         | QFile::ReadGroup);
    EXPECT_NE(arquivo.Ler(), ANTES);
}

} // namespace
