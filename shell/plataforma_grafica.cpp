#include "shell/plataforma_grafica.h"

#include "platform/mensagens.h"
#include "platform/sessao_grafica.h"

#include <QByteArray>
#include <QDir>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QStringList>

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

QString DescreveX(const QByteArray& tela)
{
    if (tela.isEmpty())
        return QStringLiteral("o servidor X (DISPLAY não está definido)");
    return QStringLiteral("o servidor X da tela \"%1\"").arg(QString::fromLocal8Bit(tela));
}

QString DescreveWayland(const QString& soquete)
{
    return QStringLiteral("o compositor Wayland de \"%1\"").arg(soquete);
}

void DizerQueNenhumaResponde(const QStringList& tentadas)
{
    Dizer(QStringLiteral("nenhuma sessão gráfica pôde ser aberta: %1 %2.")
              .arg(tentadas.join(QStringLiteral(" e ")), tentadas.size() > 1
                                                             ? QStringLiteral("não respondem")
                                                             : QStringLiteral("não responde")));
}

// A platform named in QT_QPA_PLATFORM is the user's choice: only an X or
// Wayland display that does not answer is reported; Qt handles the rest,
// also a list of platforms, which it tries in turn.
bool PedidaResponde(const QString& pedida)
{
    if (pedida.contains(u';'))
        return true;
    const QString nome = pedida.section(u':', 0, 0);
    if (nome == QLatin1String("xcb")) {
        const QByteArray tela = qgetenv("DISPLAY");
        if (plataforma::ServidorXResponde(tela))
            return true;
        DizerQueNenhumaResponde({DescreveX(tela)});
        return false;
    }
    if (nome.startsWith(QLatin1String("wayland"))) {
        const QString soquete = plataforma::SoqueteWayland(qEnvironmentVariable("WAYLAND_DISPLAY"));
        if (plataforma::CompositorWaylandResponde(soquete))
            return true;
        DizerQueNenhumaResponde({DescreveWayland(soquete)});
        return false;
    }
    return true;
}

} // namespace

bool EscolherPlataformaGrafica()
{
    const QString pedida = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (!pedida.isEmpty())
        return PedidaResponde(pedida);
    const QByteArray x11 = qgetenv("DISPLAY");
    const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (x11.isEmpty() && wayland.isEmpty()) {
        Dizer(QStringLiteral("nenhuma tela: nem DISPLAY nem WAYLAND_DISPLAY estão definidos."));
        return false;
    }
    QStringList tentadas;
    // Qt on Wayland cannot place windows or keep them on top; the gadget
    // relies on both, so it runs on XWayland when that is there.
    if (!x11.isEmpty()) {
        if (plataforma::ServidorXResponde(x11)) {
            qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
            return true;
        }
        tentadas << DescreveX(x11);
    }
    if (!wayland.isEmpty()) {
        const QString soquete = plataforma::SoqueteWayland(wayland);
        if (!plataforma::CompositorWaylandResponde(soquete)) {
            tentadas << DescreveWayland(soquete);
        } else if (TemPluginWayland()) {
            qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("wayland"));
            return true;
        } else {
            const QString falta = QStringLiteral(
                "Esta sessão é Wayland sem X11 e falta o suporte de Wayland do Qt 6.\r\n"
                "Instale o pacote qt6-wayland, ou ative o XWayland na sessão.");
            Dizer(QString(falta).replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
            // Without a platform no box can be drawn; the sink's file still gets it.
            if (qEnvironmentVariableIsSet("VANTREL_MESSAGE_LOG"))
                plataforma::MostrarMensagem(plataforma::TCaixa::Aviso, falta);
            return false;
        }
    }
    DizerQueNenhumaResponde(tentadas);
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
