#include "data/firebird.h"

#include "base/erro.h"
#include "base/texto.h"
#include "platform/pasta_privada.h"

#include <QByteArray>
#include <QFile>
#include <ibase.h>

namespace fb {

Firebird::IMaster* Mestre()
{
    static Firebird::IMaster* const mestre = [] {
        // The engine's shared lock folder (/tmp/firebird) belongs to the
        // server's group, where an ordinary user's embedded engine may not
        // go: it gets one of this user's own. Two engines still never open
        // one database file at once: each locks the file itself.
        if (!qEnvironmentVariableIsSet("FIREBIRD_LOCK")) {
            const QString pasta = plataforma::PastaPrivada(QStringLiteral("firebird"));
            if (!pasta.isEmpty())
                qputenv("FIREBIRD_LOCK", QFile::encodeName(pasta));
        }
        return Firebird::fb_get_master_interface();
    }();
    return mestre;
}

Firebird::IUtil* Util()
{
    return Mestre()->getUtilInterface();
}

QString TextoDoStatus(Firebird::IStatus* status)
{
    QByteArray texto(8192, '\0');
    const unsigned tamanho = Util()->formatStatus(texto.data(), texto.size(), status);
    texto.truncate(qMin<qsizetype>(tamanho, texto.size()));
    while (texto.endsWith('\0'))
        texto.chop(1);
    return DecodificarTexto(texto);
}

TStatus::TStatus() : BaseStatusWrapper(Mestre()->getStatus()) {}

TStatus::~TStatus()
{
    dispose();
}

void TStatus::checkException(TStatus* status)
{
    if (!status->dirty || !(status->getState() & Firebird::IStatus::STATE_ERRORS))
        return;
    // The vector is code, arguments..., code, ... ended by isc_arg_end; only
    // the codes are kept.
    QList<intptr_t> codigos;
    const intptr_t* v = status->getErrors();
    while (v[0] != isc_arg_end) {
        if (v[0] == isc_arg_gds)
            codigos.append(v[1]);
        v += v[0] == isc_arg_cstring ? 3 : 2;
    }
    throw TErroFirebird(TextoDoStatus(status), std::move(codigos));
}

void Desanexar(TRef<Firebird::IAttachment>& anexo)
{
    TStatus status;
    anexo.Encerrar([&](Firebird::IAttachment* a) { a->detach(&status); });
}

void Confirmar(TRef<Firebird::ITransaction>& transacao)
{
    TStatus status;
    transacao.Encerrar([&](Firebird::ITransaction* t) { t->commit(&status); });
}

void Desfazer(TRef<Firebird::ITransaction>& transacao)
{
    TStatus status;
    transacao.Encerrar([&](Firebird::ITransaction* t) { t->rollback(&status); });
}

void Fechar(TRef<Firebird::IResultSet>& cursor)
{
    TStatus status;
    cursor.Encerrar([&](Firebird::IResultSet* c) { c->close(&status); });
}

void Liberar(TRef<Firebird::IStatement>& comando)
{
    TStatus status;
    comando.Encerrar([&](Firebird::IStatement* c) { c->free(&status); });
}

} // namespace fb
