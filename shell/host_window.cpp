#include "shell/host_window.h"

#include "base/versao.h"
#include "config/config.h"
#include "platform/area_trabalho.h"
#include "platform/rotinas_desktop.h"
#include "sales_per_hour/vendas_hora.h"
#include "shell/estilos_host.h"
#include "shell/inicializacao.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

TfrmVendasHora::TfrmVendasHora()
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowTransparentForInput)
{
    setObjectName(QStringLiteral("frmVendasHora"));
    setWindowTitle(NOME_GGT_VENDAS_HORA);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    move(0, 0);
    resize(600, 400);
    plataforma::DefinirJanelaPrincipal(this);
    plataforma::MarcarComoGadget(this);
    FormCreate();
}

TfrmVendasHora::~TfrmVendasHora() = default;

void TfrmVendasHora::FormCreate()
{
    Inic = std::make_unique<TInicializacao>(this, SECAO_VENDAS_HORA, SIGLA_VENDAS_HORA);
}

bool TfrmVendasHora::event(QEvent* e)
{
    const bool tratado = QWidget::event(e);
    // Without a window manager a shown window may never be activated, so
    // showing counts too. Queued, because taking the window off the taskbar
    // hides and shows it again.
    if (e->type() == QEvent::WindowActivate || e->type() == QEvent::Show)
        QTimer::singleShot(0, this, &TfrmVendasHora::FormActivate);
    return tratado;
}

void TfrmVendasHora::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    // A gadget lives on the desktop: whatever minimised it (show desktop, a
    // window manager's iconify-all), it comes back as soon as the desktop
    // is no longer being shown.
    if (e->type() == QEvent::WindowStateChange && isMinimized())
        plataforma::AoSairDoMinimizado(this, [this] { Mostrar(); });
}

void TfrmVendasHora::Mostrar()
{
    plataforma::Restaurar(this);
}

// Flag changes (always on top, off the taskbar) make Qt drop a tool
// window's quit-on-close; closing the host must end the program regardless.
void TfrmVendasHora::closeEvent(QCloseEvent* e)
{
    QWidget::closeEvent(e);
    if (e->isAccepted())
        QCoreApplication::quit();
}

void TfrmVendasHora::FormActivate()
{
    if (!Inic->IniciandoGadget())
        return;
    plataforma::EscondeBarraTarefa();
    Inic->SetIniciandoGadget(false);
    AplicaEstilosHost(this);
    // A construction that fails takes the controls it made along with it; an
    // error while placing or starting leaves the gadget on view, empty.
    // Either way the error goes on to the event loop's report.
    Gadget = new TVendasHora(this);
    Gadget->SetIniciandoGadget([this] { return Inic->IniciandoGadget(); });
    Gadget->SetConfig(Inic->GetConfiguracao());
    Gadget->SetConexao(Inic->GetConexao());
    Gadget->PosicionaGadGet();
    Gadget->IniciarGadget(Gadget);
}
