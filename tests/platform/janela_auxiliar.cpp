// A host-like window for the taskbar check: shown, taken off the taskbar as
// the argument says, its X11 id printed, then left running until killed.
//   nenhuma  shown only
//   uma      EscondeBarraTarefa once
//   duas     twice
//   topo     once, then always-on-top switched on (which makes a new native
//            window) and EscondeBarraTarefa again, as each gadget start does
//   bandeja  adds the tray icon, as each gadget start does
#include "platform/area_trabalho.h"
#include "platform/rotinas_desktop.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString modo = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

    QWidget janela(nullptr, Qt::FramelessWindowHint);
    janela.setWindowTitle(QStringLiteral("Form1"));
    janela.setGeometry(0, 0, 400, 300);
    plataforma::DefinirJanelaPrincipal(&janela);
    janela.show();

    QTimer::singleShot(300, [&] {
        if (modo != QLatin1String("nenhuma"))
            plataforma::EscondeBarraTarefa();
        if (modo == QLatin1String("duas"))
            plataforma::EscondeBarraTarefa();
        if (modo == QLatin1String("bandeja")) {
            plataforma::DestroiIcone();
            plataforma::CriaIcone(&janela, QStringLiteral("Vendas por Hora"));
        }
        if (modo == QLatin1String("topo")) {
            janela.setWindowFlag(Qt::WindowStaysOnTopHint, true);
            janela.show();
            plataforma::EscondeBarraTarefa();
        }
        std::printf("0x%llx\n", static_cast<unsigned long long>(janela.windowHandle()->winId()));
        std::fflush(stdout);
    });
    return app.exec();
}
