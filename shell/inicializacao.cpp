#include "shell/inicializacao.h"

#include "base/erro.h"
#include "config/arquivo_ini.h"
#include "config/config.h"
#include "config/fila_gravacao.h"
#include "data/conexao.h"
#include "data/configurar_conexao.h"
#include "data/fila_banco.h"
#include "platform/caminhos.h"
#include "platform/mensagens.h"
#include "platform/rotinas_desktop.h"
#include "platform/seams.h"
#include "shell/mensagens_inicio.h"

#include <QCoreApplication>
#include <QWidget>

#include <cstdio>

namespace {

// The request is queued: the event loop acts on it once it runs.
void EncerrarAplicacao()
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                              Qt::QueuedConnection);
}

// An administrator finds on standard error what the box's fixed text does not
// say.
void Relatar(const QString& motivo)
{
    std::fprintf(stderr, "vendas-por-hora: %s\n", motivo.toLocal8Bit().constData());
    std::fflush(stderr);
}

// A start-up message, with the reason when there is one.
void Avisar(const QString& texto, const QString& motivo)
{
    if (!motivo.isEmpty())
        Relatar(motivo);
    plataforma::MostrarMensagem(plataforma::TCaixa::Aviso, texto, motivo);
}

} // namespace

TInicializacao::TInicializacao(QWidget* Form, const QString& SecaoIni, const QString& SiglaGgt)
{
    plataforma::VerificaExeAberto(Form->objectName());

    // A folder, a FIFO or a device in the file's place is no file to use.
    const QString caminho = plataforma::CaminhoArquivoIni();
    if (!ArquivoIniUtilizavel(caminho)) {
        Avisar(MSG_GADGETS_NAO_CONFIGURADAS, MotivoArquivoIniInutilizavel(caminho));
        EncerrarAplicacao();
        return;
    }
    FConfiguracao = std::make_unique<TConfig>(SecaoIni);
    FConfiguracao->CarregarIni();

    const TConfig& c = *FConfiguracao;
    if (!BancoInformado(c)) {
        // A file that could not be read tells why.
        Avisar(MSG_BANCO_NAO_INFORMADO, c.MotivoSemLeitura());
        EncerrarAplicacao();
        return;
    }

    try {
        FConexao = std::make_unique<TConexao>();
        ConfigurarConexao(*FConexao, c);
        TConexao* conexao = FConexao.get();
        // False: a signal ends the program while it waits.
        if (!TFilaBanco::Programa().Executar([conexao] { conexao->ConectarBanco(); }))
            return;
    } catch (const std::exception& e) {
        // The box keeps to its fixed text, but for a refused login, which
        // only the user can mend; an administrator finds any reason on
        // standard error. Connection errors never carry the password.
        const TErro* erro = dynamic_cast<const TErro*>(&e);
        Relatar(erro ? erro->Texto() : QString::fromLocal8Bit(e.what()));
        const bool loginRecusado = dynamic_cast<const TErroLoginRecusado*>(&e) != nullptr;
        plataforma::MostrarMensagem(plataforma::TCaixa::Nota,
                                    loginRecusado
                                        ? MSG_FALHA_CONEXAO + QStringLiteral("\r\nMotivo: ")
                                              + MOTIVO_LOGIN_RECUSADO
                                        : MSG_FALHA_CONEXAO);
        EncerrarAplicacao();
        return;
    }

    FConfiguracao->InstanciaVariaveis(SiglaGgt);
    // A wait for the file's lock lets a signal end the program meanwhile.
    if (!TFilaGravacao::Programa().SalvarEsperando(*FConfiguracao))
        return;
    FIniciandoGadget = true;
}

TInicializacao::~TInicializacao() = default;

void TInicializacao::FecharConexao()
{
    FConexao.reset();
}
