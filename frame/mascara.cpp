#include "frame/mascara.h"

#include "frame/retangulo.h"

#include <QPainterPath>
#include <QPointer>
#include <QRegion>
#include <QTimer>
#include <QWindow>

namespace {

// Lives on a host that has a managed mask and folds the updates that many
// moves in one pass ask for into one.
class TAgendaMascara : public QObject {
public:
    explicit TAgendaMascara(QWidget* host) : QObject(host), FHost(host) {}

    void Agenda()
    {
        if (FPendente)
            return;
        FPendente = true;
        QTimer::singleShot(0, this, [this] {
            FPendente = false;
            AtualizaMascara(FHost);
        });
    }

private:
    QWidget* FHost;
    bool FPendente = false;
};

TAgendaMascara* AgendaDe(const QWidget* host)
{
    for (QObject* filho : host->children())
        if (auto* agenda = dynamic_cast<TAgendaMascara*>(filho))
            return agenda;
    return nullptr;
}

void setTransparenteAEntrada(QWidget* host, bool transparente)
{
    const Qt::WindowFlags atuais = host->windowFlags();
    if (atuais.testFlag(Qt::WindowTransparentForInput) == transparente)
        return;
    // QWidget::setWindowFlags would hide and recreate the window; the flag
    // alone can change on the live native window.
    host->overrideWindowFlags(atuais ^ Qt::WindowTransparentForInput);
    if (QWindow* janela = host->windowHandle())
        janela->setFlag(Qt::WindowTransparentForInput, transparente);
}

} // namespace

QRegion RegiaoVisivel(const QWidget* host)
{
    QRegion regiao;
    const auto retangulos = host->findChildren<TRetangulo*>();
    for (const TRetangulo* r : retangulos) {
        if (!r->isVisibleTo(host) || !r->PintaAlgo())
            continue;
        const QPoint origem = r->mapTo(host, QPoint(0, 0));
        QRegion parte(r->Forma().toFillPolygon().toPolygon().translated(origem));
        // A child shows only inside its ancestors.
        for (const QWidget* p = r->parentWidget(); p && p != host; p = p->parentWidget())
            parte &= QRect(p->mapTo(host, QPoint(0, 0)), p->size());
        regiao += parte;
    }
    return regiao;
}

void AtualizaMascara(QWidget* host)
{
    if (!AgendaDe(host))
        new TAgendaMascara(host);
    const QRegion regiao = RegiaoVisivel(host);
    if (regiao.isEmpty()) {
        host->clearMask();
        setTransparenteAEntrada(host, true);
    } else {
        host->setMask(regiao);
        setTransparenteAEntrada(host, false);
    }
}

void AgendaMascara(QWidget* host)
{
    if (!host)
        return;
    if (TAgendaMascara* agenda = AgendaDe(host))
        agenda->Agenda();
}
