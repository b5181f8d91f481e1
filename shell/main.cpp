#include "base/brasil.h"
#include "config/fila_gravacao.h"
#include "data/fila_banco.h"
#include "platform/icone_programa.h"
#include "platform/mensagens.h"
#include "platform/sinais.h"
#include "shell/aplicacao.h"
#include "shell/host_window.h"
#include "shell/inicializacao.h"
#include "shell/linha_comando.h"
#include "shell/plataforma_grafica.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

namespace {

// The closing's share of the one second a program has to end: a statement
// cancelled, or else its connection closed, and the detach.
constexpr std::chrono::milliseconds PRAZO_BANCO(600);

} // namespace

int main(int argc, char** argv)
{
    QStringList argumentos;
    for (int i = 1; i < argc; ++i)
        argumentos << QString::fromLocal8Bit(argv[i]);
    const TLinhaComando linha = LerLinhaComando(argumentos);
    switch (linha.acao) {
    case TLinhaComando::TAcao::Ajuda:
    case TLinhaComando::TAcao::Versao:
        std::fputs(linha.texto.toLocal8Bit().constData(), stdout);
        return 0;
    case TLinhaComando::TAcao::Invalida:
        std::fputs(linha.texto.toLocal8Bit().constData(), stderr);
        return 1;
    case TLinhaComando::TAcao::Executar:
        break;
    }

    plataforma::TomarSinais();
    if (!EscolherPlataformaGrafica())
        return 1;

    TAplicacao app(argc, argv);
    plataforma::EncerrarComSinais();
    QApplication::setWindowIcon(plataforma::IconePrograma());
    // Qt's own windows (the save dialog where the desktop has none of its
    // own, the edits' menus) in Portuguese too.
    QTranslator traducaoQt;
    if (traducaoQt.load(LOCALE_BRASIL, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&traducaoQt);
    AvisarLimitesDaPlataforma();
    std::unique_ptr<TfrmVendasHora> janela;
    try {
        janela = std::make_unique<TfrmVendasHora>();
    } catch (...) {
        // The host window could not be made (the configuration file could
        // not be written): report it and end.
        plataforma::MostrarErro(std::current_exception());
        return 1;
    }
    int codigo = 0;
    // A start-up that did not complete has shown its message: nothing is left
    // to show, and nothing may stay on the screen or hold the instance lock.
    if (janela->Inicializacao()->IniciandoGadget() && !plataforma::Encerrando()) {
        janela->show();
        codigo = app.exec();
    }
    // A save under way ends; one still waiting for the lock stops waiting when
    // a signal ends the program.
    TFilaGravacao::Programa().Encerrar();
    TInicializacao* inic = janela->Inicializacao();
    if (!TFilaBanco::Programa().Encerrar(PRAZO_BANCO, [inic] { inic->FecharConexao(); })) {
        // The database thread is stuck in the client library and would keep
        // the process alive; the server drops the connection once it is gone.
        std::fflush(nullptr);
        std::_Exit(codigo);
    }
    return codigo;
}
