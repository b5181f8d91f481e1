#pragma once

// Thin C++ layer over the Firebird 3 OO API: one status wrapper whose errors
// become TErro, and one RAII holder for every interface.

#include "base/erro.h"

#include <firebird/Interface.h>

#include <QList>
#include <QString>
#include <type_traits>
#include <utility>

namespace fb {

Firebird::IMaster* Mestre();
Firebird::IUtil* Util();

// The text the client library gives for the errors of a status.
QString TextoDoStatus(Firebird::IStatus* status);

// An error the client library reported, with the codes of its status vector,
// for the callers that choose what to do by the kind of failure.
class TErroFirebird : public TErro {
public:
    TErroFirebird(const QString& texto, QList<intptr_t> codigos)
        : TErro(texto),
          FCodigos(std::move(codigos))
    {
    }
    bool Tem(intptr_t codigo) const { return FCodigos.contains(codigo); }

private:
    QList<intptr_t> FCodigos;
};

// Pass this to every call of the OO API: an error reported by the call is
// thrown as TErro carrying the library's own text.
class TStatus : public Firebird::BaseStatusWrapper<TStatus> {
public:
    TStatus();
    ~TStatus();
    TStatus(const TStatus&) = delete;
    TStatus& operator=(const TStatus&) = delete;

    static void checkException(TStatus* status);
};

// Owns one reference to a reference-counted interface, or a disposable one.
template <class I>
class TRef {
public:
    TRef() = default;
    explicit TRef(I* ptr) : FPonteiro(ptr) {}
    ~TRef() { reset(); }

    TRef(TRef&& outro) noexcept : FPonteiro(std::exchange(outro.FPonteiro, nullptr)) {}
    TRef& operator=(TRef&& outro) noexcept
    {
        if (this != &outro) {
            reset();
            FPonteiro = std::exchange(outro.FPonteiro, nullptr);
        }
        return *this;
    }
    TRef(const TRef&) = delete;
    TRef& operator=(const TRef&) = delete;

    I* get() const { return FPonteiro; }
    I* operator->() const { return FPonteiro; }
    explicit operator bool() const { return FPonteiro != nullptr; }

    void reset(I* ptr = nullptr)
    {
        if (FPonteiro) {
            if constexpr (std::is_base_of_v<Firebird::IReferenceCounted, I>)
                FPonteiro->release();
            else
                FPonteiro->dispose();
        }
        FPonteiro = ptr;
    }

    // For the calls that end the object (commit, rollback, detach, close,
    // free): in the Firebird 3 API they also release the interface when they
    // succeed. When they fail, the reference is still ours.
    template <class Chamada>
    void Encerrar(Chamada&& chamada)
    {
        if (!FPonteiro)
            return;
        chamada(FPonteiro);
        FPonteiro = nullptr;
    }

private:
    I* FPonteiro = nullptr;
};

void Desanexar(TRef<Firebird::IAttachment>& anexo);
void Confirmar(TRef<Firebird::ITransaction>& transacao);
void Desfazer(TRef<Firebird::ITransaction>& transacao);
void Fechar(TRef<Firebird::IResultSet>& cursor);
void Liberar(TRef<Firebird::IStatement>& comando);

} // namespace fb
