#include "shell/funcoes_variaveis.h"

#include "platform/area_trabalho.h"
#include "platform/corte_texto.h"
#include "platform/icone_programa.h"
#include "platform/seams.h"

#include <QDir>
#include <QFileInfo>

#include <cstdlib>

namespace {

// The tip of the notification-area icon holds at most 127 characters.
constexpr qsizetype TAMANHO_DICA = 127;

QString ProgramaParaIniciar()
{
    const QFileInfo programa(plataforma::ArquivoPrograma());
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
    if (Adicionar)
        plataforma::GravarInicioAutomatico(Gadget, ProgramaParaIniciar());
    else
        plataforma::RemoverInicioAutomatico(Gadget);
}

void CriaIcone(QWidget* Form, const QString& Nome)
{
    plataforma::MostrarIconeBandeja(Form, plataforma::IconePrograma(),
                                    plataforma::CortarTexto(Nome, TAMANHO_DICA));
}

void DestroiIcone()
{
    plataforma::RemoverIconeBandeja();
}

void EscondeBarraTarefa()
{
    if (QWidget* janela = plataforma::JanelaPrincipal())
        plataforma::TirarDaBarraTarefas(janela);
}

void VerificaExeAberto(const QString& NomeForm)
{
    if (!plataforma::TravarInstanciaUnica(NomeForm))
        std::exit(0);
}
