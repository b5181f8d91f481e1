#include "shell/plataforma_grafica.h"

#include "platform/mensagens.h"

#include <QByteArray>
#include <QDir>
#include <QGuiApplication>
#include <QLibraryInfo>

#include <cstdio>

namespace {

bool TemPluginWayland()
{
    const QDir pasta(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms"));
    return !pasta.entryList({QStringLiteral("libqwayland*.so")}, QDir::Files).isEmpty();
}

void Dizer(const QString& texto)
{
    std::fprintf(stderr, "vendas-por-hora: %s\n", texto.toLocal8Bit().constData());
    std::fflush(stderr);
}

} // namespace

bool EscolherPlataformaGrafica()
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return true;
    const bool x11 = qEnvironmentVariableIsSet("DISPLAY");
    const bool wayland = qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
    // Qt on Wayland cannot place windows or keep them on top; the gadget
    // relies on both, so it runs on XWayland when that is there.
    if (x11) {
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
        return true;
    }
    if (!wayland) {
        Dizer(QStringLiteral("nenhuma tela: nem DISPLAY nem WAYLAND_DISPLAY estão definidos."));
        return false;
    }
    if (TemPluginWayland()) {
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("wayland"));
        return true;
    }
    const QString falta =
        QStringLiteral("Esta sessão é Wayland sem X11 e falta o suporte de Wayland do Qt 6.\r\n"
                       "Instale o pacote qt6-wayland, ou ative o XWayland na sessão.");
    Dizer(QString(falta).replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
    // Without a platform no box can be drawn; the sink's file still gets it.
    if (qEnvironmentVariableIsSet("VANTREL_MESSAGE_LOG"))
        plataforma::MostrarMensagem(plataforma::Caixa::Aviso, falta);
    return false;
}

void AvisarLimitesDaPlataforma()
{
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    Dizer(QStringLiteral(
        "sessão Wayland sem X11: a gadget roda, mas não escolhe o seu lugar na tela (a "
        "posição salva não é usada), não fica sempre visível e pode aparecer na barra de "
        "tarefas. Para tudo isso, use uma sessão X11 ou ative o XWayland."));
}
