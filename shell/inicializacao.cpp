#include "shell/inicializacao.h"

#include "config/arquivo_ini.h"
#include "config/config.h"
#include "data/conexao.h"
#include "platform/mensagens.h"
#include "platform/seams.h"
#include "shell/funcoes_variaveis.h"
#include "shell/mensagens_inicio.h"

#include <QCoreApplication>
#include <QWidget>

namespace {

// The request is queued: the event loop acts on it once it runs.
void EncerrarAplicacao()
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                              Qt::QueuedConnection);
}

} // namespace

TInicializacao::TInicializacao(QWidget* Form, const QString& SecaoIni, const QString& SiglaGgt)
{
    VerificaExeAberto(Form->objectName());

    // A folder, a FIFO or a device in the file's place is no file to use.
    if (!ArquivoIniUtilizavel(plataforma::CaminhoArquivoIni())) {
        plataforma::MostrarMensagem(plataforma::Caixa::Aviso, MSG_GADGETS_NAO_CONFIGURADAS);
        EncerrarAplicacao();
        return;
    }
    FConfiguracao = std::make_unique<TConfig>(SecaoIni);
    FConfiguracao->CarregarIni();

    const TConfig& c = *FConfiguracao;
    if (c.CaminhoBanco().isEmpty() || c.Usuario().isEmpty() || c.Senha().isEmpty()) {
        plataforma::MostrarMensagem(plataforma::Caixa::Aviso, MSG_BANCO_NAO_INFORMADO);
        return;
    }

    try {
        FConexao = std::make_unique<TConexao>();
        FConexao->setConfiguracao(c.LocRem(), c.Protocolo(), c.Servidor(), c.CaminhoBanco(),
                                  c.Usuario(), c.Senha());
        FConexao->conectarBanco();
    } catch (const std::exception&) {
        // The start-up shows its own message; the server's text is not shown.
        plataforma::MostrarMensagem(plataforma::Caixa::Nota, MSG_FALHA_CONEXAO);
        EncerrarAplicacao();
        return;
    }

    FConfiguracao->InstanciaVariaveis(SiglaGgt);
    FConfiguracao->SalvarIni();
    FIniciandoGadget = true;
}

TInicializacao::~TInicializacao() = default;
