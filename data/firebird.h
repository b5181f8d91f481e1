#pragma once

// Thin C++ layer over the Firebird 3 OO API: one status wrapper whose errors
// become Erro, and one RAII holder for every interface.

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
class ErroFirebird : public Erro {
public:
    ErroFirebird(const QString& texto, QList<intptr_t> codigos)
        : Erro(texto),
          FCodigos(std::move(codigos))
    {
    }
    bool tem(intptr_t codigo) const { return FCodigos.contains(codigo); }

private:
    QList<intptr_t> FCodigos;
};

// Pass this to every call of the OO API: an error reported by the call is
// thrown as Erro carrying the library's own text.
class Status : public Firebird::BaseStatusWrapper<Status> {
public:
    Status();
    ~Status();
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;

    static void checkException(Status* status);
};

// Owns one reference to a reference-counted interface, or a disposable one.
template <class I>
class Ref {
public:
    Ref() = default;
    explicit Ref(I* ptr) : FPonteiro(ptr) {}
    ~Ref() { reset(); }

    Ref(Ref&& outro) noexcept : FPonteiro(std::exchange(outro.FPonteiro, nullptr)) {}
    Ref& operator=(Ref&& outro) noexcept
    {
        if (this != &outro) {
            reset();
            FPonteiro = std::exchange(outro.FPonteiro, nullptr);
        }
        return *this;
    }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;

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
    void encerrar(Chamada&& chamada)
    {
        if (!FPonteiro)
            return;
        chamada(FPonteiro);
        FPonteiro = nullptr;
    }

private:
    I* FPonteiro = nullptr;
};

void Desanexar(Ref<Firebird::IAttachment>& anexo);
void Confirmar(Ref<Firebird::ITransaction>& transacao);
void Desfazer(Ref<Firebird::ITransaction>& transacao);
void Fechar(Ref<Firebird::IResultSet>& cursor);
void Liberar(Ref<Firebird::IStatement>& comando);

} // namespace fb
