#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <functional>
#include <utility>

class QMenu;
class QWidget;
class TConexao;
class TConfig;
class TRetangulo;
class TTemporizador;

// The frame that every gadget of the family shares: a rectangle on the host
// window holding the gadget's content, beside it a strip of six buttons that
// shows on hover and fades out, dragging with the saved position, closing,
// the about information and the placing of dialogs over the gadget.
//
// A subclass makes the content rectangles inside rtgGadget, fits the frame
// around them with AjustaGadget, wires them with AssociaEventosComuns and
// implements RConfClick, RAboutClick and IniciarGadget. Controls call the
// handlers through the virtual table, so overrides are the ones that run.
class TGadget : public QObject {
    Q_OBJECT

public:
    // Moves the dialog Form onto the available area of the screen that holds
    // most of it: left, right, top, then bottom, so that one larger than the
    // area ends on its right and bottom edges.
    static void VerificaMargens(QWidget* Form);

    // Builds the frame on the host window AOwner, which owns the gadget.
    explicit TGadget(QWidget* AOwner);
    // Takes the frame's controls along, so that none calls into a gone gadget.
    ~TGadget() override;

    // Asks the host's start-up whether it is still starting the gadget.
    void SetIniciandoGadget(std::function<bool()> Iniciando)
    {
        FIniciandoGadget = std::move(Iniciando);
    }
    void SetConfig(TConfig* Conf) { FConfig = Conf; }
    void SetConexao(TConexao* Conex) { FConexao = Conex; }
    TConfig* Config() const { return FConfig; }
    TConexao* Conexao() const { return FConexao; }

    // Places the frame at the saved position, in desktop pixels, or at the
    // default place (the primary screen's available area, at its right edge,
    // 20 pixels down) when there is none. A saved position is kept even
    // partly off the screen, but not when too little of the view would stay
    // on the desktop to be grabbed.
    void PosicionaGadGet();

    // Screens were added, removed or moved: the frame goes where
    // PosicionaGadGet puts it now, from the saved position, which stays as
    // it is. Nothing moves during a drag, whose release places the frame.
    void TelasMudaram();

    // The frame's top-left corner in desktop pixels.
    QPoint PosicaoNaTela() const { return FPosicao; }

    QString GetTitulo() const;
    QString GetVersao() const;
    QString GetRelCons() const { return FRelCons; }
    QString GetDescricao() const { return FDescricao; }
    QString Titulo() const { return GetTitulo(); }
    QString Versao() const { return GetVersao(); }
    QString Equivalencia() const { return GetRelCons(); }
    QString Descricao() const { return GetDescricao(); }

    virtual void RFecharClick(QObject* Sender);
    virtual void RFecharMouseEnter(QObject* Sender);
    virtual void RFecharMouseLeave(QObject* Sender);
    virtual void RMaximizarClick(QObject* Sender);
    virtual void RMinimizarClick(QObject* Sender);
    virtual void RConfClick(QObject* Sender) = 0;
    virtual void RAboutClick(QObject* Sender) = 0;
    virtual void IniciarGadget(QObject* Sender) = 0;

protected:
    void SetInformacoes(const QString& Titulo, const QString& Versao, const QString& RelCons,
                        const QString& Desc);

    // Sizes the frame around RectBase, puts RectBase at (0, 0) and the strip
    // 5 pixels to its right; RetiraMaxMin also drops the view buttons.
    void AjustaGadget(QWidget* RectBase, bool RetiraMaxMin);

    // Puts the frame's top-left corner at PosicaoTela, in desktop pixels.
    void ColocaEm(QPoint PosicaoTela);

    // The host window covers exactly the visible view and the strip beside
    // it, wherever the frame is: run whenever a view shows or hides.
    void AjustaHost();
    void RetiraMaxMin();

    // Makes Rectang and every control it owns a drag handle and a hover area
    // of the gadget, replacing their press, release, enter and leave handlers.
    void AssociaEventosComuns(QWidget* Rectang);

    // Centres the dialog Form horizontally over the content rectangle
    // rtgComp, its top on the gadget's top.
    void VerificaPosForm(QWidget* Form, QWidget* rtgComp);

    // Adds the strip's "Configurar" and "Sobre" and, after a separator, its
    // "Fechar" to Menu; each runs once the menu has closed.
    void AcrescentaAcoesDoFrame(QMenu* Menu);

    // Whether the pointer is over a visible view or the strip. A popup or a
    // modal window that closes elsewhere leaves the gadget without a leave
    // event; its caller asks this to know whether the strip should fade.
    bool PonteiroSobreOGadget() const;

    void RMoverMouseDown(QObject* Sender, Qt::MouseButton Button, Qt::MouseButtons Shift, qreal X,
                         qreal Y);
    void RMoverMouseUp(QObject* Sender, Qt::MouseButton Button, Qt::MouseButtons Shift, qreal X,
                       qreal Y);
    void tmrMoverTimer(QObject* Sender);
    void tmrEscMenuTimer(QObject* Sender);

private:
    QPoint MouseDownInic;
    QPoint MouseDownAtu;
    QPoint PosIniObjeto;
    TTemporizador* tmrMover;
    TTemporizador* tmrEscMenu;
    bool Capturar = false;
    QString FTitulo;
    QString FVersao;
    QString FRelCons;
    QString FDescricao;
    // The fade lets events through; these keep a handler run in between from
    // starting a second fade, and let a pointer coming back stop this one.
    bool FEsmaecendo = false;
    bool FEsmaecimentoInterrompido = false;

protected:
    TRetangulo* rtgGadget;
    TRetangulo* rtgMenu;
    TRetangulo* rtgFechar;
    TRetangulo* rtgMax;
    TRetangulo* rtgMin;
    TRetangulo* rtgConfig;
    TRetangulo* rtgAbout;
    TRetangulo* rtgMover;
    TConfig* FConfig = nullptr;
    TConexao* FConexao = nullptr;
    std::function<bool()> FIniciandoGadget;
    TTemporizador* tmrPrincipal;
    QWidget* frmPrincipal;

private:
    TRetangulo* CriaBotao(const QImage& icone, int y);
    QPoint PosicaoPadrao() const;
    // The visible content views, in the frame's coordinates.
    QRect VistaVisivel() const;
    // Moves the frame to the default place when too little of its view
    // would be left to grab at desktop position posicao.
    void MoveParaAlcance(QPoint posicao);
    // rtgGadget belongs to the host, which may have deleted it already.
    QPointer<TRetangulo> FQuadro;
    // The tray icon's; the host owns it too.
    QPointer<QMenu> FMenuBandeja;
    // The frame's top-left corner on the desktop.
    QPoint FPosicao;
};
