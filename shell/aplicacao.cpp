#include "shell/aplicacao.h"

#include "platform/erro.h"
#include "platform/mensagens.h"

TAplicacao::TAplicacao(int& argc, char** argv) : QApplication(argc, argv) {}

bool TAplicacao::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        MostrarErro(std::current_exception());
        return false;
    }
}

void MostrarErro(std::exception_ptr erro)
{
    QString texto;
    try {
        std::rethrow_exception(erro);
    } catch (const Erro& e) {
        texto = e.texto();
    } catch (const std::exception& e) {
        texto = QString::fromLocal8Bit(e.what());
    } catch (...) {
        texto = QStringLiteral("Erro desconhecido.");
    }
    plataforma::MostrarMensagem(plataforma::Caixa::Nota, texto);
}
