// Start at log-on and the single-instance lock on freedesktop systems.
#include "platform/sessao.h"

#include "base/erro.h"
#include "platform/caminhos.h"
#include "platform/entrada_desktop.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plataforma {

namespace {

bool GravarEntrada(const QString& pasta, const QString& arquivo, const QByteArray& texto)
{
    if (!QDir().mkpath(pasta))
        return false;
    // Written beside and renamed over, so a session starting meanwhile never
    // reads half an entry.
    QSaveFile entrada(pasta + u'/' + arquivo);
    if (!entrada.open(QIODevice::WriteOnly))
        return false;
    // Readable by every user whatever the umask.
    entrada.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                           | QFileDevice::WriteUser | QFileDevice::ReadGroup
                           | QFileDevice::ReadOther);
    entrada.write(texto);
    return entrada.commit();
}

bool MesmaPasta(const QString& a, const QString& b)
{
    return QDir(a) == QDir(b);
}

// The user's own "do not start" for this program, as desktop session
// settings write it. The hidden entry that closing the gadget writes is
// ours, and the next start by hand takes it back.
bool DesligadaPeloUsuario(const QString& caminho, const QString& nome)
{
    QFile entrada(caminho);
    if (!entrada.open(QIODevice::ReadOnly))
        return false;
    // An entry is a few lines; more than this is not one session settings wrote.
    const QByteArray texto = entrada.read(64 * 1024);
    return texto != TextoEntradaOculta(nome) && EntradaDesligada(texto);
}

} // namespace

void GravarInicioAutomatico(const QString& nome, const QString& programa)
{
    const QString arquivo = NomeArquivoEntrada(nome);
    const QByteArray texto = TextoEntrada(nome, programa);
    const QString geral = DiretorioInicioAutomaticoGeral();
    const QString usuario = DiretorioInicioAutomaticoUsuario();
    const bool mesma = MesmaPasta(geral, usuario);
    // The user's "do not start" stays as it is and keeps hiding the entry
    // for all users, which is still written for the others.
    const bool desligada = DesligadaPeloUsuario(usuario + u'/' + arquivo, nome);
    if (!(desligada && mesma) && GravarEntrada(geral, arquivo, texto)) {
        // This user's entry of the same name would hide the one just written,
        // with what may be an older path.
        if (!mesma && !desligada)
            QFile::remove(usuario + u'/' + arquivo);
        return;
    }
    if (desligada)
        return;
    if (!GravarEntrada(usuario, arquivo, texto))
        throw TErro(QStringLiteral("Failed to set data for '%1'").arg(nome));
}

void RemoverInicioAutomatico(const QString& nome)
{
    const QString arquivo = NomeArquivoEntrada(nome);
    const QString geral = DiretorioInicioAutomaticoGeral();
    const QString usuario = DiretorioInicioAutomaticoUsuario();
    const bool mesma = MesmaPasta(geral, usuario);
    // Already off for this user, by the user's own entry, which stays.
    const bool desligada = DesligadaPeloUsuario(usuario + u'/' + arquivo, nome);
    if (!(desligada && mesma))
        QFile::remove(geral + u'/' + arquivo);
    if (desligada)
        return;
    QFile::remove(usuario + u'/' + arquivo);
    // An entry for all users that this user may not delete would start the
    // program again at the next log-on; the user's own hidden entry of the
    // same name overrides it. Like the deletion, a failure here goes
    // unreported: the close goes on.
    if (QFileInfo::exists(geral + u'/' + arquivo) && !mesma)
        GravarEntrada(usuario, arquivo, TextoEntradaOculta(nome));
}

bool TravarInstanciaUnica(const QString& nome)
{
    // Descriptors of the locks this process holds, open until it ends: a
    // second open of the same file would conflict with our own lock.
    static QHash<QString, int> travas;

    const QByteArray pasta = QFile::encodeName(DiretorioLock());
    if (::mkdir(pasta.constData(), 0700) != 0 && errno != EEXIST)
        return true;
    // A folder that another user made (under /tmp) could be used to keep us
    // from starting at all.
    struct stat info {};
    if (::lstat(pasta.constData(), &info) != 0 || !S_ISDIR(info.st_mode)
        || info.st_uid != ::geteuid())
        return true;

    QString sessao = qEnvironmentVariable("XDG_SESSION_ID");
    sessao.replace(u'/', u'_');
    const QString caminho = QFile::decodeName(pasta) + u'/' + nome
                            + (sessao.isEmpty() ? QString() : u'-' + sessao)
                            + QStringLiteral(".lock");
    if (travas.contains(caminho))
        return true;

    const int fd = ::open(QFile::encodeName(caminho).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        travas.insert(caminho, fd);
        return true;
    }
    const int erro = errno;
    ::close(fd);
    return erro != EWOULDBLOCK;
}

} // namespace plataforma
