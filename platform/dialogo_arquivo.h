#pragma once

#include <QStandardPaths>
#include <QString>

class QWidget;

namespace plataforma {

// The path of nome in the user's folder of that kind (pictures, documents),
// or in the home folder when the system names none or it does not exist.
QString CaminhoSugerido(QStandardPaths::StandardLocation pasta, const QString& nome);

// The desktop's dialog for saving a file over pai, starting at sugerido and
// showing the files filtro names ("Imagem PNG (*.png)"): the path chosen,
// empty when the user cancels.
QString ArquivoParaSalvar(QWidget* pai, const QString& titulo, const QString& sugerido,
                          const QString& filtro);

} // namespace plataforma
