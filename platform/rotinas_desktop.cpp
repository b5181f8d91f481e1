#include "platform/rotinas_desktop.h"

#include "base/corte_texto.h"
#include "platform/area_trabalho.h"
#include "platform/icone_programa.h"
#include "platform/seams.h"
#include "platform/sessao.h"

#include <QDir>
#include <QFileInfo>

#include <cstdlib>

namespace plataforma {

namespace {

// The tip of the notification-area icon holds at most 127 characters.
constexpr qsizetype TAMANHO_DICA = 127;

QString ProgramaParaIniciar()
{
    const QFileInfo programa(ArquivoPrograma());
#ifdef Q_OS_WIN
    // Entered as an .exe whatever the file's own extension.
    return QDir::toNativeSeparators(programa.absolutePath() + u'/' + programa.completeBaseName()
                                    + QStringLiteral(".exe"));
#else
    return programa.absoluteFilePath();
#endif
}

} // namespace

void IniciarComWindows(const QString& Gadget, bool Adicionar)
{
    if (Ganchos().iniciarComWindows)
        Ganchos().iniciarComWindows(Gadget, Adicionar);
    else if (Adicionar)
        GravarInicioAutomatico(Gadget, ProgramaParaIniciar());
    else
        RemoverInicioAutomatico(Gadget);
}

void CriaIcone(QWidget* Form, const QString& Nome)
{
    if (Ganchos().criaIcone)
        Ganchos().criaIcone(Form, Nome);
    else
        MostrarIconeBandeja(Form, IconePrograma(), CortarTexto(Nome, TAMANHO_DICA));
}

void DestroiIcone()
{
    if (Ganchos().destroiIcone)
        Ganchos().destroiIcone();
    else
        RemoverIconeBandeja();
}

void EscondeBarraTarefa()
{
    if (Ganchos().escondeBarraTarefa)
        Ganchos().escondeBarraTarefa();
    else if (QWidget* janela = JanelaPrincipal())
        TirarDaBarraTarefas(janela);
}

void VerificaExeAberto(const QString& NomeForm)
{
    if (!TravarInstanciaUnica(NomeForm))
        std::exit(0);
}

} // namespace plataforma
