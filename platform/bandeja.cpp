// The notification-area icon, through Qt's tray icon.
#include "platform/area_trabalho.h"

#include "platform/mensagens.h"

#include <QIcon>
#include <QMenu>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QWidget>

namespace plataforma {

namespace {

QPointer<QSystemTrayIcon>& IconeBandeja()
{
    static QPointer<QSystemTrayIcon> icone;
    return icone;
}

QPointer<QMenu>& MenuBandeja()
{
    static QPointer<QMenu> menu;
    return menu;
}

} // namespace

void MostrarIconeBandeja(QWidget* janela, const QIcon& icone, const QString& dica)
{
    if (QSystemTrayIcon* atual = IconeBandeja(); atual && atual->parent() == janela) {
        const QSize lado(16, 16);
        if (atual->icon().pixmap(lado).toImage() != icone.pixmap(lado).toImage())
            atual->setIcon(icone);
        if (atual->toolTip() != dica)
            atual->setToolTip(dica);
        return;
    }
    RemoverIconeBandeja();
    auto* novo = new QSystemTrayIcon(icone, janela);
    novo->setToolTip(dica);
    novo->setContextMenu(MenuBandeja());
    // A right click opens the menu; bringing the gadget forward at the same
    // time would take the focus from it.
    QObject::connect(novo, &QSystemTrayIcon::activated, janela,
                     [janela](QSystemTrayIcon::ActivationReason motivo) {
                         if (motivo != QSystemTrayIcon::Context)
                             Tratando([&] { Restaurar(janela); });
                     });
    novo->show();
    IconeBandeja() = novo;
}

void DefinirMenuBandeja(QMenu* menu)
{
    MenuBandeja() = menu;
    if (IconeBandeja())
        IconeBandeja()->setContextMenu(menu);
}

void RemoverIconeBandeja()
{
    delete IconeBandeja().data();
}

} // namespace plataforma
