#include "ambiente.h"
#include "platform/area_trabalho.h"
#include "platform/rotinas_desktop.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct ContaOcultacoes : QObject {
    int vezes = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Hide)
            ++vezes;
        return false;
    }
};

TEST(BarraTarefas, JanelaPrincipalViraJanelaDeFerramentaESegueVisivel)
{
    GarantirAplicacao();
    QWidget janela(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    plataforma::DefinirJanelaPrincipal(&janela);
    janela.show();

    plataforma::EscondeBarraTarefa();
    EXPECT_EQ(janela.windowType(), Qt::Tool);
    EXPECT_TRUE(janela.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(janela.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(janela.isVisible());

    // Asked again, as every refresh does, it leaves the window alone: no
    // hide and show that would make the gadget flicker.
    const Qt::WindowFlags depois = janela.windowFlags();
    ContaOcultacoes ocultacoes;
    janela.installEventFilter(&ocultacoes);
    plataforma::EscondeBarraTarefa();
    EXPECT_EQ(janela.windowFlags(), depois);
    EXPECT_TRUE(janela.isVisible());
    EXPECT_EQ(ocultacoes.vezes, 0);
    janela.removeEventFilter(&ocultacoes);

    // Closing it still ends the event loop, and with it the program.
    QTimer::singleShot(0, &janela, &QWidget::close);
    QTimer semFim;
    semFim.callOnTimeout([] { QCoreApplication::exit(1); });
    semFim.start(20000);
    EXPECT_EQ(QApplication::exec(), 0);
}

TEST(BarraTarefas, JanelaPrincipalDestruidaEEsquecida)
{
    GarantirAplicacao();
    {
        QWidget janela;
        plataforma::DefinirJanelaPrincipal(&janela);
    }
    EXPECT_EQ(plataforma::JanelaPrincipal(), nullptr);
    plataforma::EscondeBarraTarefa();
}

} // namespace
