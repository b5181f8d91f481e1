#include "shell/aplicacao.h"

#include "frame/fonte_rotulos.h"
#include "platform/mensagens.h"

TAplicacao::TAplicacao(int& argc, char** argv) : QApplication(argc, argv)
{
    RegistraTahoma();
}

bool TAplicacao::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        plataforma::MostrarErro(std::current_exception());
        return false;
    }
}
