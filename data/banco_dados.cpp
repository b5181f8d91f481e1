#include "data/banco_dados.h"

#include "base/erro.h"
#include "data/cancelamento.h"
#include "platform/caminhos.h"
#include "platform/limite_rede.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <ibase.h>

namespace {

constexpr unsigned DIALETO_PEDIDO = 3;
constexpr int TEMPO_LIMITE_CONEXAO_SEGUNDOS = 3;
constexpr int TENTATIVAS = 3;
constexpr int PAUSA_ENTRE_TENTATIVAS_MS = 250;
// The embedded engine's page cache lives in our process while a refresh
// runs: 256 pages are plenty for its query, the engine's default is 2048.
// The engine ignores a DPB's num_buffers, not its configuration.
constexpr const char* PROVEDOR_EMBUTIDO = "Providers=Engine12\nDefaultDbCachePages=256";
constexpr std::chrono::milliseconds LIMITE_CONEXAO(TENTATIVAS* TEMPO_LIMITE_CONEXAO_SEGUNDOS * 1000
                                                   + (TENTATIVAS - 1) * PAUSA_ENTRE_TENTATIVAS_MS
                                                   + 500);

unsigned DialetoDoBanco(Firebird::IAttachment* anexo)
{
    fb::TStatus status;
    const unsigned char itens[] = {isc_info_db_sql_dialect, isc_info_end};
    unsigned char resposta[16] = {};
    anexo->getInfo(&status, sizeof itens, itens, sizeof resposta, resposta);
    if (resposta[0] != isc_info_db_sql_dialect)
        return 1; // servers too old to answer know only dialect 1
    const unsigned tamanho = resposta[1] | (resposta[2] << 8);
    unsigned dialeto = 0;
    for (unsigned i = 0; i < tamanho && i < 4; ++i)
        dialeto |= unsigned(resposta[3 + i]) << (8 * i);
    return dialeto;
}

// The server resolves a relative name against its own folder, not ours.
QString NoServidorLocal(const QString& caminho)
{
    const QFileInfo arquivo(caminho);
    const QString nome =
        arquivo.isRelative() && arquivo.exists() ? arquivo.absoluteFilePath() : caminho;
    return plataforma::ServidorLocal() + u':' + nome;
}

} // namespace

const QString MOTIVO_LOGIN_RECUSADO =
    QStringLiteral("login recusado pelo servidor. Confira o usuário e a senha do banco de dados "
                   "em \"Vozirav - Iraziv iv Izirodur\".");

TErroLoginRecusado::TErroLoginRecusado()
    : TErro(QStringLiteral("Não foi possível conectar ao banco de dados: ") + MOTIVO_LOGIN_RECUSADO)
{
}

bool NenhumServidorResponde(const fb::TErroFirebird& erro)
{
    return erro.Tem(isc_net_connect_err) || erro.Tem(isc_net_lookup_err);
}

void TBancoDados::Conectar(bool local, const QString& usuario, const QString& senha)
{
    FLocal = local;
    FUsuario = usuario;
    FSenha = senha;
    FLiberado = false;
    // The connect timeout bounds only the wait for the server's first
    // answer; a server that stalls later in the login is given up when one
    // that never answers would be, or when the job that attaches is out of
    // time: nothing else could stop an attach under way.
    std::chrono::milliseconds limiteConexao = LIMITE_CONEXAO;
    if (const fb::TPrazo prazo = fb::PrazoDaLinha()) {
        const auto resta = std::chrono::duration_cast<std::chrono::milliseconds>(
            *prazo - std::chrono::steady_clock::now());
        if (resta <= std::chrono::milliseconds(0))
            throw TErro(QStringLiteral("O tempo da leitura acabou antes da conexão ao banco de "
                                       "dados."));
        limiteConexao = std::min(limiteConexao, resta);
    }
    const plataforma::TLimiteRede limite(limiteConexao);
    for (int tentativa = 1;; ++tentativa) {
        try {
            AnexarUmaVez();
            return;
        } catch (const fb::TErroFirebird& e) {
            if (limite.Estourou()) {
                throw TErro(QStringLiteral("O servidor de banco de dados não concluiu a conexão em "
                                           "%1 segundos.\n")
                                .arg(limiteConexao.count() / 1000)
                            + e.Texto());
            }
            // A refused login is refused again, each time more slowly.
            if (e.Tem(isc_login))
                throw TErroLoginRecusado();
            if (tentativa == TENTATIVAS)
                throw;
            QThread::msleep(PAUSA_ENTRE_TENTATIVAS_MS);
        }
    }
}

void TBancoDados::AnexarUmaVez()
{
    if (FLocal) {
        AnexarLocal();
        return;
    }
    AnexarPor(FNomeBanco, "Providers=Remote,Engine12");
    FViaEmbutido = false;
}

void TBancoDados::AnexarLocal()
{
    // The embedded engine holding the file would keep the server, and the
    // shop's system through it, out of its own database: whatever a server
    // that answers says, a refused login included, is the answer.
    try {
        AnexarPor(NoServidorLocal(FNomeBanco), "Providers=Remote");
        FViaEmbutido = false;
        return;
    } catch (const fb::TErroFirebird& e) {
        if (!NenhumServidorResponde(e))
            throw;
    }
    AnexarPor(FNomeBanco, PROVEDOR_EMBUTIDO);
    FViaEmbutido = true;
}

void TBancoDados::AnexarPor(const QString& nome, const char* provedores)
{
    fb::TStatus status;
    fb::TRef<Firebird::IXpbBuilder> dpb(
        fb::Util()->getXpbBuilder(&status, Firebird::IXpbBuilder::DPB, nullptr, 0));
    dpb->insertString(&status, isc_dpb_user_name, FUsuario.toUtf8().constData());
    dpb->insertString(&status, isc_dpb_password, FSenha.toUtf8().constData());
    dpb->insertInt(&status, isc_dpb_connect_timeout, TEMPO_LIMITE_CONEXAO_SEGUNDOS);
    dpb->insertString(&status, isc_dpb_config, provedores);

    fb::TRef<Firebird::IProvider> provedor(fb::Mestre()->getDispatcher());
    fb::TRef<Firebird::IAttachment> anexo(
        provedor->attachDatabase(&status, nome.toLocal8Bit().constData(),
                                 dpb->getBufferLength(&status), dpb->getBuffer(&status)));
    FDialeto = qMin(DIALETO_PEDIDO, DialetoDoBanco(anexo.get()));
    fb::RegistrarAnexo(anexo.get());
    FAnexo = std::move(anexo);
}

void TBancoDados::Desanexar()
{
    ++FGeracao;
    FLiberado = false;
    if (!FAnexo)
        return;
    // Known to the canceller until the detach ends: a detach over a network
    // gone silent waits, and only closing the attachment ends it.
    Firebird::IAttachment* const anexo = FAnexo.get();
    const auto esquecer = qScopeGuard([anexo] { fb::RemoverAnexo(anexo); });
    // A failed detach (a broken network, say) leaves an attachment that no
    // later call could end: drop it all the same, then report.
    try {
        fb::Desanexar(FAnexo);
    } catch (...) {
        FAnexo.reset();
        throw;
    }
}

void TBancoDados::LiberarEmbutido()
{
    if (!FAnexo || !FViaEmbutido)
        return;
    FLiberado = true;
    fb::RemoverAnexo(FAnexo.get());
    // Between queries no transaction is open, so the local engine has
    // nothing to refuse the detach for; should it fail, the attachment goes
    // all the same and the next query attaches anew.
    try {
        fb::Desanexar(FAnexo);
    } catch (const TErro&) {
        FAnexo.reset();
    }
}

bool TBancoDados::PrepararConsulta()
{
    if (FAnexo)
        return false;
    if (!FLiberado)
        throw TErro(QStringLiteral("Banco de dados não conectado"));
    Conectar(FLocal, FUsuario, FSenha);
    return true;
}

void TBancoDados::Descartar()
{
    ++FGeracao;
    FLiberado = false;
    if (!FAnexo)
        return;
    fb::RemoverAnexo(FAnexo.get());
    FAnexo.reset();
}

void TTransacao::Iniciar(TBancoDados& banco)
{
    if (!banco.Anexado())
        throw TErro(QStringLiteral("Banco de dados não conectado"));
    fb::TStatus status;
    fb::TRef<Firebird::IXpbBuilder> tpb(
        fb::Util()->getXpbBuilder(&status, Firebird::IXpbBuilder::TPB, nullptr, 0));
    // Read-only read committed is started pre-committed: however long the
    // query runs, it holds back no garbage collection of the shop's database
    // (a snapshot keeps the oldest one where it stands). A record version
    // read never waits on a writer's lock; nowait makes sure of it.
    tpb->insertTag(&status, isc_tpb_read);
    tpb->insertTag(&status, isc_tpb_read_committed);
    tpb->insertTag(&status, isc_tpb_rec_version);
    tpb->insertTag(&status, isc_tpb_nowait);
    FTransacao.reset(banco.Anexo()->startTransaction(&status, tpb->getBufferLength(&status),
                                                     tpb->getBuffer(&status)));
}

void TTransacao::Encerrar()
{
    fb::Confirmar(FTransacao);
}

void TTransacao::Descartar()
{
    FTransacao.reset();
}

void TTransacao::Desativar()
{
    if (!FTransacao)
        return;
    try {
        fb::Desfazer(FTransacao);
    } catch (...) {
        FTransacao.reset();
        throw;
    }
}
