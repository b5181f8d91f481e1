#include "data/cancelamento.h"

#include "data/firebird.h"

#include <QList>
#include <ibase.h>
#include <mutex>

namespace fb {

namespace {

std::mutex gTrava;
// Each entry holds a reference of its own, so that an attachment ended by
// its thread meanwhile is still a valid object to the canceller.
QList<Firebird::IAttachment*> gAnexos;
QList<Firebird::IAttachment*> gEmExecucao;

void Acrescentar(QList<Firebird::IAttachment*>& lista, Firebird::IAttachment* anexo)
{
    anexo->addRef();
    const std::lock_guard trava(gTrava);
    lista.append(anexo);
}

void Tirar(QList<Firebird::IAttachment*>& lista, Firebird::IAttachment* anexo)
{
    {
        const std::lock_guard trava(gTrava);
        if (!lista.removeOne(anexo))
            return;
    }
    anexo->release();
}

// The call runs outside the lock: over a silent network it may take a while.
void ParaCada(const QList<Firebird::IAttachment*>& lista, int modo)
{
    QList<Firebird::IAttachment*> copia;
    {
        const std::lock_guard trava(gTrava);
        copia = lista;
        for (Firebird::IAttachment* anexo : copia)
            anexo->addRef();
    }
    for (Firebird::IAttachment* anexo : copia) {
        // An attachment already ended or broken has nothing left to stop.
        TStatus status;
        try {
            anexo->cancelOperation(&status, modo);
        } catch (...) {
        }
        anexo->release();
    }
}

} // namespace

void RegistrarAnexo(Firebird::IAttachment* anexo)
{
    Acrescentar(gAnexos, anexo);
}

void RemoverAnexo(Firebird::IAttachment* anexo)
{
    Tirar(gAnexos, anexo);
}

TEmExecucao::TEmExecucao(Firebird::IAttachment* anexo) : FAnexo(anexo)
{
    Acrescentar(gEmExecucao, FAnexo);
}

TEmExecucao::~TEmExecucao()
{
    Tirar(gEmExecucao, FAnexo);
}

bool HaExecucoes()
{
    const std::lock_guard trava(gTrava);
    return !gEmExecucao.isEmpty();
}

void CancelarExecucoes()
{
    ParaCada(gEmExecucao, fb_cancel_raise);
}

void AbortarAnexos()
{
    ParaCada(gAnexos, fb_cancel_abort);
}

namespace {

thread_local TPrazo gPrazo;

} // namespace

TPrazo PrazoDaLinha()
{
    return gPrazo;
}

void DefinirPrazoDaLinha(TPrazo prazo)
{
    gPrazo = prazo;
}

} // namespace fb
