// Stands in for shell/funcoes_variaveis.cpp, which this test program does not
// link: the frame's calls to the desktop are recorded.
#include "area_trabalho_falsa.h"

#include "platform/area_trabalho.h"
#include "shell/funcoes_variaveis.h"

QStringList& ChamadasAreaTrabalho()
{
    static QStringList chamadas;
    return chamadas;
}

QWidget*& JanelaDoIcone()
{
    static QWidget* janela = nullptr;
    return janela;
}

void IniciarComWindows(const QString& Gadget, bool Adicionar)
{
    ChamadasAreaTrabalho() << QStringLiteral("IniciarComWindows(%1, %2)")
                                  .arg(Gadget, Adicionar ? "true" : "false");
}

void CriaIcone(QWidget* Form, const QString& Nome)
{
    JanelaDoIcone() = Form;
    ChamadasAreaTrabalho() << QStringLiteral("CriaIcone(%1)").arg(Nome);
}

void DestroiIcone()
{
    ChamadasAreaTrabalho() << QStringLiteral("DestroiIcone");
}

void EscondeBarraTarefa()
{
    ChamadasAreaTrabalho() << QStringLiteral("EscondeBarraTarefa");
}

// The shape only matters on a real X server; the tests read the region.
void plataforma::DefinirFormaJanela(QWidget*, const QRegion&) {}
