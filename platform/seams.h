#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>

class QWidget;

namespace plataforma {

enum class Caixa {
    Aviso, // caption "Warning", warning icon
    Nota, // empty caption, no icon
};

// What tests control. An empty function means "ask the system".
struct Ganchos {
    std::function<QDate()> hoje;
    // Set with hoje, so that both name the same day.
    std::function<QDateTime()> agora;
    std::function<QSize()> tamanhoTela;
    std::function<QList<QRect>()> areasDisponiveis;
    std::function<QPoint()> posicaoCursor;
    std::function<void(Caixa, const QString& texto)> mensagem;
    // The save dialog: the path chosen, empty when cancelled.
    std::function<QString(const QString& titulo, const QString& sugerido, const QString& filtro)>
        arquivoParaSalvar;
    std::function<QString()> arquivoPrograma;
    // The desktop routines of rotinas_desktop.h.
    std::function<void(const QString& gadget, bool adicionar)> iniciarComWindows;
    std::function<void(QWidget* janela, const QString& nome)> criaIcone;
    std::function<void()> destroiIcone;
    std::function<void()> escondeBarraTarefa;
};

Ganchos& ganchos();

// Restores every seam when a test ends.
class GanchosRestaurados {
public:
    GanchosRestaurados() : FSalvos(ganchos()) {}
    ~GanchosRestaurados() { ganchos() = FSalvos; }
    GanchosRestaurados(const GanchosRestaurados&) = delete;
    GanchosRestaurados& operator=(const GanchosRestaurados&) = delete;

private:
    Ganchos FSalvos;
};

QDate Hoje();
// The date and time of day now.
QDateTime Agora();

// The running program file's full path.
QString ArquivoPrograma();

} // namespace plataforma
