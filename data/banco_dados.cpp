#include "data/banco_dados.h"

#include "platform/erro.h"

#include <ibase.h>

namespace {

constexpr unsigned kDialetoPedido = 3;
constexpr int kTempoLimiteConexaoSegundos = 3;

unsigned DialetoDoBanco(Firebird::IAttachment* anexo)
{
    fb::Status status;
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

} // namespace

void TBancoDados::anexar(const QString& usuario, const QString& senha)
{
    fb::Status status;
    fb::Ref<Firebird::IXpbBuilder> dpb(
        fb::Util()->getXpbBuilder(&status, Firebird::IXpbBuilder::DPB, nullptr, 0));
    dpb->insertString(&status, isc_dpb_user_name, usuario.toUtf8().constData());
    dpb->insertString(&status, isc_dpb_password, senha.toUtf8().constData());
    dpb->insertInt(&status, isc_dpb_connect_timeout, kTempoLimiteConexaoSegundos);
    // A local file is for the embedded engine alone: the loopback provider
    // would hand the name and the password to a server on this machine, whose
    // delay after failed logins then holds up a plain "file not found".
    dpb->insertString(&status, isc_dpb_config, "Providers=Remote,Engine12");

    fb::Ref<Firebird::IProvider> provedor(fb::Mestre()->getDispatcher());
    fb::Ref<Firebird::IAttachment> anexo(provedor->attachDatabase(
        &status, FNomeBanco.toLocal8Bit().constData(), dpb->getBufferLength(&status),
        dpb->getBuffer(&status)));
    FDialeto = qMin(kDialetoPedido, DialetoDoBanco(anexo.get()));
    FAnexo = std::move(anexo);
}

void TBancoDados::desanexar()
{
    // A failed detach (a broken network, say) leaves an attachment that no
    // later call could end: drop it all the same, then report.
    try {
        fb::Desanexar(FAnexo);
    } catch (...) {
        FAnexo.reset();
        throw;
    }
}

void TTransacao::iniciar(TBancoDados& banco)
{
    if (!banco.anexado())
        throw Erro(QStringLiteral("Banco de dados não conectado"));
    fb::Status status;
    FTransacao.reset(banco.anexo()->startTransaction(&status, 0, nullptr));
    ++FGeracao;
}

void TTransacao::desativar()
{
    if (!FTransacao)
        return;
    ++FGeracao;
    try {
        fb::Desfazer(FTransacao);
    } catch (...) {
        FTransacao.reset();
        throw;
    }
}
