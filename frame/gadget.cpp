#include "frame/gadget.h"

#include "base/conversao.h"
#include "base/erro.h"
#include "config/config.h"
#include "config/fila_gravacao.h"
#include "frame/eventos.h"
#include "frame/imagens_icones.h"
#include "frame/mascara.h"
#include "frame/menu_escuro.h"
#include "frame/posicao.h"
#include "frame/retangulo.h"
#include "frame/temporizador.h"
#include "platform/area_trabalho.h"
#include "platform/mensagens.h"
#include "platform/rotinas_desktop.h"
#include "platform/tela.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QThread>
#include <QWidget>
#include <typeinfo>

namespace {

const QString NOME_MENU = QStringLiteral("rtgMenu");

// Exactly the plain rectangle, not a class made from it, and not the strip.
bool EhVistaDeConteudo(const QObject* objeto)
{
    return typeid(*objeto) == typeid(TRetangulo) && objeto->objectName() != NOME_MENU;
}

} // namespace

TGadget::TGadget(QWidget* AOwner) : QObject(AOwner), frmPrincipal(AOwner)
{
    rtgGadget = new TRetangulo(frmPrincipal);
    rtgGadget->setObjectName(QStringLiteral("rtgGadget"));
    rtgGadget->resize(600, 200);
    rtgGadget->SetPreenchimento(Qt::transparent);
    rtgGadget->SetSemContorno();
    rtgGadget->show();
    FQuadro = rtgGadget;

    rtgMenu = new TRetangulo(rtgGadget);
    rtgMenu->setObjectName(NOME_MENU);
    rtgMenu->setGeometry(570, 0, 23, 110);
    rtgMenu->SetPreenchimento(Qt::transparent);
    rtgMenu->SetSemContorno();
    rtgMenu->hide();

    const TImagensIcones& icones = ImagensIcones();
    rtgFechar = CriaBotao(icones.imgIcoFechar, 0);
    rtgFechar->setObjectName(QStringLiteral("rtgFechar"));
    TEventos::De(rtgFechar).OnClick = [this](QObject* s) { RFecharClick(s); };
    rtgMax = CriaBotao(icones.imgIcoMax, 21);
    rtgMax->setObjectName(QStringLiteral("rtgMax"));
    TEventos::De(rtgMax).OnClick = [this](QObject* s) { RMaximizarClick(s); };
    rtgMin = CriaBotao(icones.imgIcoMin, 21);
    rtgMin->setObjectName(QStringLiteral("rtgMin"));
    rtgMin->hide();
    TEventos::De(rtgMin).OnClick = [this](QObject* s) { RMinimizarClick(s); };
    rtgConfig = CriaBotao(icones.imgIcoConfig, 42);
    rtgConfig->setObjectName(QStringLiteral("rtgConfig"));
    TEventos::De(rtgConfig).OnClick = [this](QObject* s) { RConfClick(s); };
    rtgAbout = CriaBotao(icones.imgIcoAbout, 63);
    rtgAbout->setObjectName(QStringLiteral("rtgAbout"));
    TEventos::De(rtgAbout).OnClick = [this](QObject* s) { RAboutClick(s); };
    rtgMover = CriaBotao(icones.imgIcoMover, 84);
    rtgMover->setObjectName(QStringLiteral("rtgMover"));
    TEventos& mover = TEventos::De(rtgMover);
    mover.OnMouseDown = [this](QObject* s, Qt::MouseButton b, Qt::MouseButtons e, qreal x,
                               qreal y) { RMoverMouseDown(s, b, e, x, y); };
    mover.OnMouseUp = [this](QObject* s, Qt::MouseButton b, Qt::MouseButtons e, qreal x, qreal y) {
        RMoverMouseUp(s, b, e, x, y);
    };

    tmrMover = new TTemporizador(
        1, [this] { tmrMoverTimer(tmrMover); }, this);
    tmrEscMenu = new TTemporizador(
        1000, [this] { tmrEscMenuTimer(tmrEscMenu); }, this);
    tmrPrincipal = new TTemporizador(
        1000, [this] { IniciarGadget(tmrPrincipal); }, this);

    auto* bandeja = new TMenuEscuro(frmPrincipal);
    // What a click on the icon does.
    connect(
        bandeja->addAction(QStringLiteral("&Mostrar")), &QAction::triggered, this,
        [this] { plataforma::Tratando([this] { plataforma::Restaurar(frmPrincipal); }); },
        Qt::QueuedConnection);
    AcrescentaAcoesDoFrame(bandeja);
    FMenuBandeja = bandeja;
    plataforma::DefinirMenuBandeja(bandeja);

    AtualizaMascara(frmPrincipal);
    plataforma::AoMudarTelas(this, [this] { TelasMudaram(); });
}

TGadget::~TGadget()
{
    delete FMenuBandeja.data();
    delete FQuadro.data();
}

// Queued: a dialog opened from inside the menu's own event handling would
// run its loop there.
void TGadget::AcrescentaAcoesDoFrame(QMenu* Menu)
{
    const auto acao = [this, Menu](const QString& texto, auto manipulador) {
        QAction* a = Menu->addAction(texto);
        connect(
            a, &QAction::triggered, this,
            [this, a, manipulador] { plataforma::Tratando([&] { (this->*manipulador)(a); }); },
            Qt::QueuedConnection);
    };
    acao(QStringLiteral("C&onfigurar"), &TGadget::RConfClick);
    acao(QStringLiteral("&Sobre"), &TGadget::RAboutClick);
    Menu->addSeparator();
    acao(QStringLiteral("&Fechar"), &TGadget::RFecharClick);
}

TRetangulo* TGadget::CriaBotao(const QImage& icone, int y)
{
    auto* botao = new TRetangulo(rtgMenu);
    botao->setGeometry(0, y, 23, 23);
    botao->SetImagem(icone);
    botao->SetSemContorno();
    // Each tile covers the 2 rows it shares with the one above.
    botao->SetSubstituiOQueCobre(true);
    botao->show();
    TEventos& eventos = TEventos::De(botao);
    eventos.OnMouseEnter = [this](QObject* s) { RFecharMouseEnter(s); };
    eventos.OnMouseLeave = [this](QObject* s) { RFecharMouseLeave(s); };
    return botao;
}

void TGadget::PosicionaGadGet()
{
    if (FConfig && !FConfig->PosX().isEmpty() && !FConfig->PosY().isEmpty())
        MoveParaAlcance(QPoint(PosicaoLimitada(StrToInt(FConfig->PosX())),
                               PosicaoLimitada(StrToInt(FConfig->PosY()))));
    else
        ColocaEm(PosicaoPadrao());
}

void TGadget::TelasMudaram()
{
    if (!Capturar)
        PosicionaGadGet();
}

void TGadget::ColocaEm(QPoint PosicaoTela)
{
    FPosicao = PosicaoTela;
    AjustaHost();
}

// A window as large as the desktop costs memory that grows with it, and
// screenshot tools and window lists take it for what the gadget is.
void TGadget::AjustaHost()
{
    const QRect area = VistaVisivel() | rtgMenu->geometry();
    rtgGadget->move(-area.topLeft());
    frmPrincipal->setGeometry(QRect(FPosicao + area.topLeft(), area.size()));
}

QPoint TGadget::PosicaoPadrao() const
{
    const QRect area = plataforma::AreasDisponiveis().value(0);
    return QPoint(area.x() + area.width() - rtgGadget->width(), area.y() + 20);
}

QRect TGadget::VistaVisivel() const
{
    QRect vista;
    for (const QObject* filho : rtgGadget->children())
        if (EhVistaDeConteudo(filho) && static_cast<const QWidget*>(filho)->isVisibleTo(rtgGadget))
            vista |= static_cast<const QWidget*>(filho)->geometry();
    return vista.isEmpty() ? QRect(QPoint(0, 0), rtgGadget->size()) : vista;
}

bool TGadget::PonteiroSobreOGadget() const
{
    const QPoint ponteiro = plataforma::PosicaoCursor() - PosicaoNaTela();
    return VistaVisivel().contains(ponteiro)
           || (rtgMenu->isVisibleTo(rtgGadget) && rtgMenu->geometry().contains(ponteiro));
}

void TGadget::MoveParaAlcance(QPoint posicao)
{
    if (VistaAlcancavel(VistaVisivel().translated(posicao), plataforma::AreasDisponiveis()))
        ColocaEm(posicao);
    else
        ColocaEm(PosicaoPadrao());
}

QString TGadget::GetTitulo() const
{
    return FTitulo.isEmpty() ? QStringLiteral("Vantrel Gadgets") : FTitulo;
}

QString TGadget::GetVersao() const
{
    return FVersao.isEmpty() ? QStringLiteral("17.04bb") : FVersao;
}

void TGadget::SetInformacoes(const QString& Titulo, const QString& Versao, const QString& RelCons,
                             const QString& Desc)
{
    FTitulo = Titulo;
    FVersao = Versao;
    FRelCons = RelCons;
    FDescricao = Desc;
}

void TGadget::AjustaGadget(QWidget* RectBase, bool RetiraMaxMin)
{
    rtgGadget->resize(RectBase->width() + rtgMenu->width() + 10, RectBase->height() + 10);
    RectBase->move(0, 0);
    rtgMenu->move(RectBase->width() + 5, 0);
    if (RetiraMaxMin)
        this->RetiraMaxMin();
    AjustaHost();
}

void TGadget::RetiraMaxMin()
{
    rtgMax->hide();
    rtgMin->hide();
    const int subida = rtgMax->height() - 2;
    for (TRetangulo* botao : {rtgConfig, rtgAbout, rtgMover})
        botao->move(botao->x(), botao->y() - subida);
}

void TGadget::AssociaEventosComuns(QWidget* Rectang)
{
    if (!Rectang)
        return;
    TEventos& eventos = TEventos::De(Rectang);
    eventos.OnMouseDown = [this](QObject* s, Qt::MouseButton b, Qt::MouseButtons e, qreal x,
                                 qreal y) { RMoverMouseDown(s, b, e, x, y); };
    eventos.OnMouseUp = [this](QObject* s, Qt::MouseButton b, Qt::MouseButtons e, qreal x,
                               qreal y) { RMoverMouseUp(s, b, e, x, y); };
    eventos.OnMouseEnter = [this](QObject* s) { RFecharMouseEnter(s); };
    eventos.OnMouseLeave = [this](QObject* s) { RFecharMouseLeave(s); };
    // Controls only: timers, animations, layouts and the like are skipped.
    for (QObject* filho : Rectang->children())
        if (auto* controle = qobject_cast<QWidget*>(filho))
            AssociaEventosComuns(controle);
}

void TGadget::RFecharMouseEnter(QObject*)
{
    tmrEscMenu->setEnabled(false);
    if (FEsmaecendo)
        FEsmaecimentoInterrompido = true;
    rtgMenu->show();
    rtgMenu->setOpacity(1);
    for (QObject* filho : rtgGadget->children())
        if (EhVistaDeConteudo(filho))
            static_cast<TRetangulo*>(filho)->setOpacity(1);
}

void TGadget::RFecharMouseLeave(QObject*)
{
    if (!Capturar)
        tmrEscMenu->setEnabled(true);
    int transparencia = 100;
    if (FConfig) {
        try {
            transparencia = StrToInt(FConfig->Transparencia());
        } catch (const TErro&) {
            // Not a whole number: the content stays opaque.
        }
    }
    for (QObject* filho : rtgGadget->children())
        if (EhVistaDeConteudo(filho))
            static_cast<TRetangulo*>(filho)->setOpacity(transparencia / 100.0);
}

void TGadget::tmrEscMenuTimer(QObject*)
{
    if (FEsmaecendo)
        return;
    FEsmaecendo = true;
    FEsmaecimentoInterrompido = false;
    QPointer<TGadget> vivo(this);
    const auto fim = qScopeGuard([&] {
        if (vivo)
            FEsmaecendo = false;
    });
    for (int passo = 0; passo < 6; ++passo) {
        rtgMenu->setOpacity(rtgMenu->Opacity() - 0.2);
        QCoreApplication::processEvents();
        if (!vivo || FEsmaecimentoInterrompido)
            return;
        QThread::msleep(25);
    }
    rtgMenu->hide();
    tmrEscMenu->setEnabled(false);
}

void TGadget::RMoverMouseDown(QObject* Sender, Qt::MouseButton, Qt::MouseButtons Shift, qreal X,
                              qreal Y)
{
    if (!Shift.testFlag(Qt::LeftButton))
        return;
    Capturar = true;
    tmrMover->setEnabled(true);
    tmrPrincipal->setEnabled(false);
    PosIniObjeto = FPosicao;
    // Where the button went down, not where the pointer is now: a busy window
    // handles the press after the pointer has moved on, and the gadget would
    // lag behind it for the whole drag.
    MouseDownInic = static_cast<QWidget*>(Sender)->mapToGlobal(QPointF(X, Y)).toPoint();
}

void TGadget::tmrMoverTimer(QObject*)
{
    MouseDownAtu = plataforma::PosicaoCursor();
    if (Capturar)
        ColocaEm(MouseDownAtu + PosIniObjeto - MouseDownInic);
}

void TGadget::RMoverMouseUp(QObject*, Qt::MouseButton, Qt::MouseButtons, qreal, qreal)
{
    // A busy window may not have polled since the pointer's last move: the
    // drop lands where the button was let go, not one poll behind.
    tmrMoverTimer(tmrMover);
    Capturar = false;
    tmrMover->setEnabled(false);
    tmrPrincipal->setEnabled(true);
    MoveParaAlcance(PosicaoNaTela());
    if (!FConfig)
        return;
    const QPoint posicao = PosicaoNaTela();
    FConfig->setPosX(QString::number(posicao.x()));
    FConfig->setPosY(QString::number(posicao.y()));
    // Saved on the saves' thread: the gadget goes on painting and dragging
    // while the save waits for the file's lock.
    TFilaGravacao::Programa().Salvar(*FConfig, this, [](std::exception_ptr erro) {
        if (erro)
            plataforma::MostrarErro(erro);
    });
}

void TGadget::RMaximizarClick(QObject*)
{
    rtgMin->show();
    rtgMax->hide();
}

void TGadget::RMinimizarClick(QObject*)
{
    rtgMin->hide();
    rtgMax->show();
}

void TGadget::RFecharClick(QObject*)
{
    const QString titulo = GetTitulo();
    plataforma::IniciarComWindows(titulo, false);
    plataforma::DestroiIcone();
    if (!FConfig) {
        frmPrincipal->close();
        return;
    }
    FConfig->setIniWindows(QStringLiteral("0"));
    // The host closes once the file holds it; a save that fails leaves it
    // open with the error's box.
    TFilaGravacao::Programa().Salvar(*FConfig, this, [this](std::exception_ptr erro) {
        if (erro)
            plataforma::MostrarErro(erro);
        else
            frmPrincipal->close();
    });
}

void TGadget::VerificaPosForm(QWidget* Form, QWidget* rtgComp)
{
    Form->move(
        PosicaoSobreConteudo(PosicaoNaTela(), rtgComp->geometry(), Form->frameGeometry().width()));
}

void TGadget::VerificaMargens(QWidget* Form)
{
    const QRect janela = Form->frameGeometry();
    Form->move(PosicaoDentroDaArea(janela, plataforma::AreaDisponivelDe(janela)));
}
