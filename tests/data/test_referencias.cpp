// In the Firebird 3 API a successful commit, rollback, detach, close or free
// also releases the interface; Firebird 4 headers changed that. These pin the
// behaviour our holders rely on, counting references on the real library.

#include "data/firebird.h"
#include "tests/fixtures/banco_varejo.h"
#include "tests/support/erro_de.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ibase.h>

namespace {

using namespace Firebird;

// Two extra references were taken before the end call: exactly those must be
// left. The first release must not destroy the object (else it was released
// twice), the second must (else the end call did not release it).
template <class I>
void LiberarReferenciasExtras(I* interface)
{
    ASSERT_EQ(interface->release(), 1) << "released once too often";
    EXPECT_EQ(interface->release(), 0) << "the end call did not release it";
}

template <class I>
I* ComDuasReferenciasExtras(I* interface)
{
    interface->addRef();
    interface->addRef();
    return interface;
}

class Referencias : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        nome = dir.filePath(QStringLiteral("ref.fdb"));
        CriarBancoVazio(nome, QStringLiteral("SYSDBA"), QStringLiteral("masterkey"), 3);
        fb::TRef<IXpbBuilder> dpb(fb::Util()->getXpbBuilder(&status, IXpbBuilder::DPB, nullptr, 0));
        dpb->insertString(&status, isc_dpb_user_name, "SYSDBA");
        fb::TRef<IProvider> provedor(fb::Mestre()->getDispatcher());
        anexo.reset(provedor->attachDatabase(&status, nome.toLocal8Bit().constData(),
                                             dpb->getBufferLength(&status),
                                             dpb->getBuffer(&status)));
    }

    QTemporaryDir dir;
    QString nome;
    fb::TStatus status;
    fb::TRef<IAttachment> anexo;
};

TEST_F(Referencias, EncerrarLiberaAInterfaceUmaVezSo)
{
    fb::TRef<ITransaction> transacao(anexo->startTransaction(&status, 0, nullptr));
    fb::TRef<IStatement> comando(
        anexo->prepare(&status, transacao.get(), 0, "SELECT 1 FROM RDB$DATABASE", 3, 0));
    fb::TRef<IResultSet> cursor(
        comando->openCursor(&status, transacao.get(), nullptr, nullptr, nullptr, 0));

    IResultSet* c = ComDuasReferenciasExtras(cursor.get());
    fb::Fechar(cursor);
    EXPECT_FALSE(cursor);
    LiberarReferenciasExtras(c);

    IStatement* s = ComDuasReferenciasExtras(comando.get());
    fb::Liberar(comando);
    EXPECT_FALSE(comando);
    LiberarReferenciasExtras(s);

    ITransaction* t = ComDuasReferenciasExtras(transacao.get());
    fb::Desfazer(transacao);
    EXPECT_FALSE(transacao);
    LiberarReferenciasExtras(t);

    fb::TRef<ITransaction> outra(anexo->startTransaction(&status, 0, nullptr));
    t = ComDuasReferenciasExtras(outra.get());
    fb::Confirmar(outra);
    EXPECT_FALSE(outra);
    LiberarReferenciasExtras(t);

    IAttachment* a = ComDuasReferenciasExtras(anexo.get());
    fb::Desanexar(anexo);
    EXPECT_FALSE(anexo);
    LiberarReferenciasExtras(a);
}

TEST_F(Referencias, EncerramentoQueFalhaDeixaAReferenciaComQuemATem)
{
    // Detaching with a transaction still running is refused.
    fb::TRef<ITransaction> transacao(anexo->startTransaction(&status, 0, nullptr));
    const QString texto = ErroDe([&] { fb::Desanexar(anexo); });
    EXPECT_TRUE(texto.contains(QStringLiteral("open transaction"))) << texto.toStdString();
    ASSERT_TRUE(anexo);

    // The failed call released nothing: our one release is the last but the extras.
    IAttachment* a = ComDuasReferenciasExtras(anexo.get());
    anexo.reset();
    LiberarReferenciasExtras(a);
}

} // namespace
