#pragma once

#include <chrono>
#include <firebird/Interface.h>
#include <optional>

// The attachments alive in the program, and those running a statement, so
// that another thread (the UI's, at a day change or at exit) can stop them.
// The client library allows cancelOperation from any thread.
namespace fb {

void RegistrarAnexo(Firebird::IAttachment* anexo);
void RemoverAnexo(Firebird::IAttachment* anexo);

// Marks the attachment as running a statement for the marker's lifetime.
// Only these are cancelled: a cancel asked of an idle attachment would stay
// pending and fail its next statement.
class TEmExecucao {
public:
    explicit TEmExecucao(Firebird::IAttachment* anexo);
    ~TEmExecucao();
    TEmExecucao(const TEmExecucao&) = delete;
    TEmExecucao& operator=(const TEmExecucao&) = delete;

private:
    Firebird::IAttachment* FAnexo;
};

// Whether a statement runs now.
bool HaExecucoes();

// Asks the server to stop every statement running now; it ends with an
// error in its own thread. A server out of reach never hears it.
void CancelarExecucoes();

// Closes the client side of every attachment: whatever waits on one ends
// at once with an error, and the attachment is good for nothing but to be
// dropped.
void AbortarAnexos();

using TPrazo = std::optional<std::chrono::steady_clock::time_point>;

// The moment by which the work of the calling thread must end: the limit of
// the database thread's job that runs on it; none elsewhere, or for a job
// without a limit. An attach waits no longer than that.
TPrazo PrazoDaLinha();
void DefinirPrazoDaLinha(TPrazo prazo);

} // namespace fb
