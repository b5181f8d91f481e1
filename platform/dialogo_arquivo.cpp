#include "platform/dialogo_arquivo.h"

#include "platform/seams.h"

#include <QDir>
#include <QFileDialog>

namespace plataforma {

QString CaminhoSugerido(QStandardPaths::StandardLocation pasta, const QString& nome)
{
    QString local = QStandardPaths::writableLocation(pasta);
    // A fresh account may have no such folder yet: the dialog would open in
    // whatever folder the program started in.
    if (local.isEmpty() || !QDir(local).exists())
        local = QDir::homePath();
    return QDir(local).filePath(nome);
}

QString ArquivoParaSalvar(QWidget* pai, const QString& titulo, const QString& sugerido,
                          const QString& filtro)
{
    if (Ganchos().arquivoParaSalvar)
        return Ganchos().arquivoParaSalvar(titulo, sugerido, filtro);
    return QFileDialog::getSaveFileName(pai, titulo, sugerido, filtro);
}

} // namespace plataforma
