#pragma once

// The sales gadget on a host as large as a 1200 x 800 screen, over a retail
// database with three active branches and an inactive one, with its own
// configuration file; helpers that open the dialogs by the strip's buttons.

#include "vendas_hora_sem_leitura.h"

#include "config/arquivo_ini.h"
#include "config/config.h"
#include "config_dialog/frm_configuracao.h"
#include "data/conexao.h"
#include "frame/about.h"
#include "platform/seams.h"
#include "tests/fixtures/banco_varejo.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

inline const QString SECAO = SECAO_VENDAS_HORA;

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

// Runs acao on the dialog T once it shows, closing it afterwards if acao
// left it open, while abre waits for it. False when no dialog showed. The
// dialog may wait for the database before it shows: the search goes on
// until it does, or abre returns.
template <class T>
bool Enquanto(const QWidget& host, const std::function<void()>& abre,
              const std::function<void(T&)>& acao)
{
    bool mostrado = false;
    QTimer procura;
    procura.setInterval(0);
    QObject::connect(&procura, &QTimer::timeout, [&] {
        for (T* dialogo : host.findChildren<T*>()) {
            if (!dialogo->isVisible())
                continue;
            procura.stop();
            mostrado = true;
            acao(*dialogo);
            if (dialogo->isVisible())
                dialogo->reject();
            return;
        }
    });
    procura.start();
    abre();
    return mostrado;
}

class DialogoTeste : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        pasta = new QTemporaryDir;
        banco = new BancoVarejo(pasta->filePath(QStringLiteral("loja.fdb")));
        banco->addFilial(QStringLiteral("01"), QStringLiteral("Loja Centro"));
        banco->addFilial(QStringLiteral("02"), QStringLiteral("Loja Dois"), QStringLiteral("N"));
        banco->addFilial(QStringLiteral("003"), QStringLiteral("Loja Três"));
        banco->addFilial(QStringLiteral("AB"), QStringLiteral("Loja Quatro"));
    }

    static void TearDownTestSuite()
    {
        delete banco;
        delete pasta;
    }

    void SetUp() override
    {
        ASSERT_TRUE(arquivos.isValid());
        ini = arquivos.filePath(QStringLiteral("ConfigGadGet.Ini"));
        qputenv("VANTREL_GADGETS_INI", QFile::encodeName(ini));
        plataforma::Ganchos().tamanhoTela = [] { return QSize(1200, 800); };
        plataforma::Ganchos().mensagem = [this](plataforma::TCaixa, const QString& texto) {
            mensagens << texto;
        };
        Guarda(QStringLiteral("Transparencia=100\r\nSempreVisivel=0\r\nAtualizaDados=5\r\n"
                              "PedidosImportados=0\r\n"));
        Conecta(*banco);

        host.setGeometry(0, 0, 1200, 800);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
        gadget = new TVendasHoraSemLeitura(&host);
        gadget->SetConfig(&config);
        gadget->SetConexao(&conexao);
        Posiciona(500, 100);
    }

    void TearDown() override { qunsetenv("VANTREL_GADGETS_INI"); }

    // The file with the gadget's section holding secao, and the record loaded
    // from it as the start-up loads it.
    void Guarda(const QString& secao)
    {
        EscreverIniBanco(ini, banco->acesso(), QStringLiteral("[GadGetVendHora]\r\n") + secao);
        config.CarregarIni();
        config.InstanciaVariaveis(QStringLiteral("GVH"));
    }

    void Conecta(const BancoVarejo& alvo)
    {
        const AcessoBanco& a = alvo.acesso();
        ConfigurarConexao(conexao, a);
        conexao.ConectarBanco();
    }

    void Posiciona(int x, int y)
    {
        config.setPosX(QString::number(x));
        config.setPosY(QString::number(y));
        gadget->PosicionaGadGet();
    }

    QByteArray Arquivo() const
    {
        QFile arquivo(ini);
        return arquivo.open(QIODevice::ReadOnly) ? arquivo.readAll() : QByteArray();
    }

    QString NoArquivo(const char* chave) const
    {
        return LerArquivoIni(ini).texto.Ler(SECAO, QLatin1String(chave));
    }

    // Clicks a button of the strip, which shows while the pointer is over the
    // gadget, as a user does; an error escaping the click ends in the
    // program's report.
    void ClicaNaFaixa(QWidget* botao)
    {
        gadget->RFecharMouseEnter(gadget);
        QTest::mouseClick(botao, Qt::LeftButton, {}, QPoint(11, 11));
    }

    // Opens the dialog T by the strip button; acao runs while it is shown.
    // Whatever acao leaves open is closed afterwards, so that the modal wait
    // ends. False when no dialog showed.
    template <class T>
    bool Abre(QWidget* botao, const std::function<void(T&)>& acao)
    {
        return Enquanto<T>(
            host,
            [&] {
                ClicaNaFaixa(botao);
                // With no dialog there was no modal wait to run the check in.
                QApplication::processEvents();
            },
            acao);
    }

    bool Configura(const std::function<void(TFrmConfiguracao&)>& acao)
    {
        return Abre<TFrmConfiguracao>(gadget->rtgConfig, acao);
    }

    bool AbreSobre(const std::function<void(TfrmAbout&)>& acao)
    {
        return Abre<TfrmAbout>(gadget->rtgAbout, acao);
    }

    static inline QTemporaryDir* pasta = nullptr;
    static inline BancoVarejo* banco = nullptr;

    plataforma::TGanchosRestaurados ganchos;
    QTemporaryDir arquivos;
    QString ini;
    QStringList mensagens;
    TConfig config{SECAO};
    TConexao conexao;
    // Destroyed first: it takes the gadget and both dialogs along.
    QWidget host;
    TVendasHoraSemLeitura* gadget = nullptr;
};
