#include "frame/agenda_mascara.h"

#include "platform/area_trabalho.h"

#include <QObject>
#include <QTimer>
#include <QWidget>
#include <utility>

namespace {

// Lives on a host that has a managed mask.
class TAgendaMascara : public QObject {
public:
    TAgendaMascara(QWidget* host, std::function<void(QWidget*)> atualiza)
        : QObject(host),
          FHost(host),
          FAtualiza(std::move(atualiza))
    {
        plataforma::AoMudarComposicao(this, [this] { Agenda(); });
    }

    void Agenda()
    {
        if (FPendente)
            return;
        FPendente = true;
        QTimer::singleShot(0, this, [this] {
            FPendente = false;
            FAtualiza(FHost);
        });
    }

private:
    QWidget* FHost;
    std::function<void(QWidget*)> FAtualiza;
    bool FPendente = false;
};

TAgendaMascara* AgendaDe(const QWidget* host)
{
    for (QObject* filho : host->children())
        if (auto* agenda = dynamic_cast<TAgendaMascara*>(filho))
            return agenda;
    return nullptr;
}

} // namespace

void InstalaAgendaMascara(QWidget* host, std::function<void(QWidget*)> atualiza)
{
    if (!AgendaDe(host))
        new TAgendaMascara(host, std::move(atualiza));
}

void AgendaMascara(QWidget* host)
{
    if (!host)
        return;
    if (TAgendaMascara* agenda = AgendaDe(host))
        agenda->Agenda();
}
