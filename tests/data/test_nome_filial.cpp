#include "data/conexao.h"
#include "data/nome_filial.h"
#include "data/query.h"
#include "tests/fixtures/banco_varejo.h"
#include "tests/support/erro_de.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace {

class NomeFilialTeste : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        iniAnterior = qgetenv("VANTREL_GADGETS_INI");
        ini = dir.filePath(QStringLiteral("ConfigGadGet.Ini"));
        qputenv("VANTREL_GADGETS_INI", ini.toLocal8Bit());
        banco = std::make_unique<BancoVarejo>(dir.filePath(QStringLiteral("loja.fdb")));
        EscreverIniBanco(ini, banco->acesso(),
                         QStringLiteral("[GadGetVendHora]\r\nEmpresa=01\r\n"));
    }

    void TearDown() override
    {
        if (iniAnterior.isNull())
            qunsetenv("VANTREL_GADGETS_INI");
        else
            qputenv("VANTREL_GADGETS_INI", iniAnterior);
    }

    // Attachments to the fixture's database other than the fixture's own and
    // the one counting.
    int OutrosAnexos()
    {
        TConexao conexao;
        const AcessoBanco& a = banco->acesso();
        ConfigurarConexao(conexao, a);
        conexao.ConectarBanco();
        TQuery query(conexao.GetBancoDados(), conexao.GetTransaction());
        query.SetSQL(
            {QStringLiteral("SELECT COUNT(*) AS N FROM MON$ATTACHMENTS"),
             QStringLiteral(
                 "WHERE MON$SYSTEM_FLAG = 0 AND MON$ATTACHMENT_ID <> CURRENT_CONNECTION")});
        query.Open();
        return query.Value(0, QStringLiteral("N")).toInt() - 1;
    }

    QTemporaryDir dir;
    QByteArray iniAnterior;
    QString ini;
    std::unique_ptr<BancoVarejo> banco;
};

TEST_F(NomeFilialTeste, NomeDaFilialVazioOuNenhum)
{
    banco->addFilial(QStringLiteral("01"), QStringLiteral("Loja Centro"));
    banco->addFilial(QStringLiteral("02"), QString(QLatin1String("")));
    banco->executar(QStringLiteral("INSERT INTO FILIAIS (CODEMPRESA) VALUES ('03')"));
    banco->addFilial(QStringLiteral("04"), QStringLiteral("Loja Fechada"), QStringLiteral("N"));
    struct Caso {
        QString codigo;
        std::optional<QString> esperado;
    };
    const Caso casos[] = {
        {"01", "Loja Centro"},
        {"99", std::nullopt}, // no such branch
        {"02", ""}, // empty name
        {"03", ""}, // null name
        {"04", "Loja Fechada"},
        {"", std::nullopt},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(NomeFilial(c.codigo), c.esperado) << "'" << c.codigo.toStdString() << "'";
    EXPECT_EQ(OutrosAnexos(), 0) << "every lookup detached";
}

TEST_F(NomeFilialTeste, LeAsConfiguracoesDoArquivoComoEstaoAgora)
{
    banco->addFilial(QStringLiteral("01"), QStringLiteral("Loja A"));
    BancoVarejo outro(dir.filePath(QStringLiteral("outro.fdb")));
    outro.addFilial(QStringLiteral("01"), QStringLiteral("Loja B"));

    // The shared connection, loaded before the file changes.
    TConexao compartilhada;
    const AcessoBanco& a = banco->acesso();
    ConfigurarConexao(compartilhada, a);
    ASSERT_TRUE(compartilhada.ConectarBanco());
    const quint64 geracao = compartilhada.GetBancoDados().Geracao();

    EXPECT_EQ(NomeFilial(QStringLiteral("01")), QStringLiteral("Loja A"));
    EscreverIniBanco(ini, outro.acesso());
    EXPECT_EQ(NomeFilial(QStringLiteral("01")), QStringLiteral("Loja B"));

    EXPECT_TRUE(compartilhada.Conectado());
    EXPECT_EQ(compartilhada.GetBancoDados().Geracao(), geracao)
        << "the shared connection is left alone";
}

TEST_F(NomeFilialTeste, ErroChegaAQuemChamouESemAnexoEsquecido)
{
    banco->executar(QStringLiteral("DROP TABLE FILIAIS"));
    const QString texto = ErroDe([] { NomeFilial(QStringLiteral("01")); });
    EXPECT_TRUE(texto.contains(QStringLiteral("FILIAIS"))) << texto.toStdString();
    EXPECT_EQ(OutrosAnexos(), 0);

    EscreverIniBanco(ini, {QStringLiteral("L"), QString(), QString(),
                           dir.filePath(QStringLiteral("nao-existe.fdb")), QStringLiteral("SYSDBA"),
                           QStringLiteral("masterkey")});
    EXPECT_TRUE(ErroDe([] {
                    NomeFilial(QStringLiteral("01"));
                }).contains(QStringLiteral("nao-existe.fdb")));
}

TEST_F(NomeFilialTeste, PeloServidor)
{
    BancoVarejo remoto(dir.filePath(QStringLiteral("remoto.fdb")), BancoVarejo::Onde::Servidor);
    remoto.addFilial(QStringLiteral("07"), QStringLiteral("Loja Remota"));
    EscreverIniBanco(ini, remoto.acesso());
    EXPECT_EQ(NomeFilial(QStringLiteral("07")), QStringLiteral("Loja Remota"));
}

} // namespace
