#include "frame/eventos.h"

#include "platform/mensagens.h"

#include <QMouseEvent>
#include <QWidget>

TEventos::TEventos(QWidget* Controle) : QObject(Controle), FControle(Controle)
{
    Controle->installEventFilter(this);
    Controle->setAttribute(Qt::WA_NoMousePropagation);
}

TEventos& TEventos::De(QWidget* Controle)
{
    if (auto* eventos = Controle->findChild<TEventos*>(QString(), Qt::FindDirectChildrenOnly))
        return *eventos;
    return *new TEventos(Controle);
}

bool TEventos::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto != FControle)
        return false;
    switch (evento->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(evento);
        if (mouse->button() == Qt::LeftButton)
            FPressionado = true;
        if (OnMouseDown)
            plataforma::Tratando([&] {
                OnMouseDown(FControle, mouse->button(), mouse->buttons() | mouse->button(),
                            mouse->position().x(), mouse->position().y());
            });
        break;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(evento);
        const bool clique = mouse->button() == Qt::LeftButton && FPressionado
                            && FControle->rect().contains(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton)
            FPressionado = false;
        if (OnMouseUp)
            plataforma::Tratando([&] {
                OnMouseUp(FControle, mouse->button(), mouse->buttons() | mouse->button(),
                          mouse->position().x(), mouse->position().y());
            });
        if (clique && OnClick)
            plataforma::Tratando([&] { OnClick(FControle); });
        break;
    }
    case QEvent::Enter:
        if (OnMouseEnter)
            plataforma::Tratando([&] { OnMouseEnter(FControle); });
        break;
    case QEvent::Leave:
        if (OnMouseLeave)
            plataforma::Tratando([&] { OnMouseLeave(FControle); });
        // Moving from a child back onto its parent, Qt tells the child that
        // the pointer left but does not tell the parent that it came back.
        for (QWidget* acima = FControle->parentWidget(); acima; acima = acima->parentWidget()) {
            auto* eventos = acima->findChild<TEventos*>(QString(), Qt::FindDirectChildrenOnly);
            if (eventos && eventos->OnMouseEnter) {
                if (acima->underMouse())
                    plataforma::Tratando([&] { eventos->OnMouseEnter(acima); });
                break;
            }
        }
        break;
    default:
        break;
    }
    return false;
}
