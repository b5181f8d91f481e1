#pragma once

#include "config/config.h"
#include "config/fila_gravacao.h"
#include "frame/gadget_res_det.h"
#include "frame/retangulo.h"
#include "frame/rotulo.h"
#include "frame/temporizador.h"
#include "platform/seams.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

// A two-view gadget laid out as the sales gadget lays out its views: a
// 389 x 236 detail view that sizes the frame, a 287 x 210 summary view at
// x 102 holding a label, both wired for drag and hover.
class TGadgetDuasVistas : public TGadgetResDet {
public:
    explicit TGadgetDuasVistas(QWidget* host) : TGadgetResDet(host)
    {
        SetInformacoes(QStringLiteral("Teste"), QStringLiteral("1.0"), QString(), QString());
        for (TRetangulo* vista : {rtgDetalhe, rtgResumo}) {
            vista->SetPreenchimento(QColor::fromRgba(0xFFB8B8B8));
            vista->SetRaios(10, 10);
        }
        rtgDetalhe->resize(389, 236);
        rtgResumo->setGeometry(102, 0, 287, 210);
        rotulo = new TRotulo(rtgResumo);
        rotulo->setGeometry(10, 150, 200, 15);
        rotulo->setText(QStringLiteral("Todas as Filiais"));
        rotulo->show();
        new QTimer(rtgResumo); // not a control: the wiring passes over it
        rtgDetalhe->hide();
        AjustaGadget(rtgDetalhe, false);
        AssociaEventosComuns(rtgDetalhe);
        AssociaEventosComuns(rtgResumo);
    }

    void RConfClick(QObject*) override { ++configuracoes; }
    void RAboutClick(QObject*) override { ++sobre; }

    using TGadget::AjustaGadget;
    using TGadget::ColocaEm;
    using TGadget::RetiraMaxMin;
    using TGadget::rtgAbout;
    using TGadget::rtgConfig;
    using TGadget::rtgFechar;
    using TGadget::rtgGadget;
    using TGadget::rtgMax;
    using TGadget::rtgMenu;
    using TGadget::rtgMin;
    using TGadget::rtgMover;
    using TGadget::tmrEscMenuTimer;
    using TGadget::tmrPrincipal;
    using TGadget::VerificaMargens;
    using TGadget::VerificaPosForm;
    using TGadgetResDet::ConfigLabel;
    using TGadgetResDet::rtgDetalhe;
    using TGadgetResDet::rtgResumo;

    TRotulo* rotulo;
    int configuracoes = 0;
    int sobre = 0;
};

// A 1920 x 1080 primary screen, a host window for the gadget on it, and a
// configuration over a file of its own.
class FrameTeste : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pasta.isValid());
        arquivoIni = pasta.filePath(QStringLiteral("ConfigGadGet.Ini"));
        qputenv("VANTREL_GADGETS_INI", QFile::encodeName(arquivoIni));
        EscreveIni(QStringLiteral("[GadGetVendHora]\r\nTransparencia=100\r\nAtualizaDados=1\r\n"
                                  "SempreVisivel=0\r\nIniWindows=1\r\n"));
        config = std::make_unique<TConfig>(QStringLiteral("GadGetVendHora"));
        config->CarregarIni();

        plataforma::Ganchos().tamanhoTela = [] { return QSize(1920, 1080); };
        plataforma::Ganchos().posicaoCursor = [this] { return cursor; };
        // The desktop routines are recorded instead of done: one line per call.
        plataforma::Ganchos().iniciarComWindows = [this](const QString& gadget, bool adicionar) {
            chamadas << QStringLiteral("IniciarComWindows(%1, %2)")
                            .arg(gadget, adicionar ? "true" : "false");
        };
        plataforma::Ganchos().criaIcone = [this](QWidget* janela, const QString& nome) {
            janelaDoIcone = janela;
            chamadas << QStringLiteral("CriaIcone(%1)").arg(nome);
        };
        plataforma::Ganchos().destroiIcone = [this] { chamadas << QStringLiteral("DestroiIcone"); };
        plataforma::Ganchos().escondeBarraTarefa = [this] {
            chamadas << QStringLiteral("EscondeBarraTarefa");
        };

        host = std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint);
        host->setGeometry(0, 0, 1920, 1080);
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
        gadget = new TGadgetDuasVistas(host.get());
        gadget->SetConfig(config.get());
        chamadas.clear();
    }

    void TearDown() override
    {
        host.reset();
        qunsetenv("VANTREL_GADGETS_INI");
    }

    void EscreveIni(const QString& texto)
    {
        QFile arquivo(arquivoIni);
        ASSERT_TRUE(arquivo.open(QIODevice::WriteOnly));
        arquivo.write(texto.toUtf8());
    }

    // The gadget's section as a fresh record reads it from the file.
    // The file as the saves asked so far left it (they run on their own
    // thread), their results delivered.
    std::unique_ptr<TConfig> Relido()
    {
        TFilaGravacao::Programa().Aguardar();
        QCoreApplication::processEvents();
        auto relido = std::make_unique<TConfig>(QStringLiteral("GadGetVendHora"));
        relido->CarregarIni();
        return relido;
    }

    static void Entra(QWidget* w)
    {
        QEnterEvent evento(QPointF(1, 1), QPointF(1, 1), w->mapToGlobal(QPointF(1, 1)));
        QApplication::sendEvent(w, &evento);
    }

    // Presses the left button at a point of w, the pointer there; returns that
    // point on the screen.
    QPoint Pressiona(QWidget* w, QPoint local)
    {
        cursor = w->mapToGlobal(local);
        QTest::mousePress(w, Qt::LeftButton, {}, local);
        return cursor;
    }

    static void Sai(QWidget* w)
    {
        QEvent evento(QEvent::Leave);
        QApplication::sendEvent(w, &evento);
    }

    plataforma::TGanchosRestaurados ganchosRestaurados;
    QTemporaryDir pasta;
    QString arquivoIni;
    std::unique_ptr<TConfig> config;
    QPoint cursor{0, 0};
    std::unique_ptr<QWidget> host;
    TGadgetDuasVistas* gadget = nullptr;
    QStringList chamadas;
    // The window passed to the last CriaIcone.
    QWidget* janelaDoIcone = nullptr;
};
