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

enum class TCaixa {
    Aviso, // caption "Warning", warning icon
    Nota, // empty caption, no icon
};

// What tests control. An empty function means "ask the system".
struct TGanchos {
    std::function<QDate()> hoje;
    // Set with hoje, so that both name the same day.
    std::function<QDateTime()> agora;
    std::function<QSize()> tamanhoTela;
    std::function<QList<QRect>()> areasDisponiveis;
    std::function<QPoint()> posicaoCursor;
    std::function<void(TCaixa, const QString& texto)> mensagem;
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

TGanchos& Ganchos();

// Restores every seam when a test ends.
class TGanchosRestaurados {
public:
    TGanchosRestaurados() : FSalvos(Ganchos()) {}
    ~TGanchosRestaurados() { Ganchos() = FSalvos; }
    TGanchosRestaurados(const TGanchosRestaurados&) = delete;
    TGanchosRestaurados& operator=(const TGanchosRestaurados&) = delete;

private:
    TGanchos FSalvos;
};

QDate Hoje();
// The date and time of day now.
QDateTime Agora();

// The running program file's full path.
QString ArquivoPrograma();

} // namespace plataforma
