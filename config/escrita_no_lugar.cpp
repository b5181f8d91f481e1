#include "config/escrita_no_lugar.h"

#include "config/escrita_direta.h"
#include "platform/pasta_privada.h"

#include <QCryptographicHash>
#include <QFile>
#include <QList>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace arquivo {

namespace {

const QByteArray SUFIXO_COPIA = QByteArrayLiteral(".copia");
// The first line of a copy: this mark, then the size and SHA-1 of the contents
// it keeps and of the contents the write was to leave.
const QByteArray MARCA_COPIA = QByteArrayLiteral("vendas-por-hora-copia 1");

enum class TEscrita { Feita, Intacta, Interrompida };

// The bytes over the file's own, when it is still the file that was read.
TEscrita Sobrescrever(const QByteArray& destino, const struct stat& lido, QByteArrayView bytes)
{
    const int fd = ::open(destino.constData(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0)
        return TEscrita::Intacta;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_dev != lido.st_dev
        || info.st_ino != lido.st_ino) {
        ::close(fd);
        return TEscrita::Intacta;
    }
    // The room, claimed without changing the size: a full disk stops the
    // write before it begins.
    if (bytes.size() > info.st_size
        && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes.size())) != 0
        && errno != EOPNOTSUPP && errno != ENOSYS) {
        ::close(fd);
        return TEscrita::Intacta;
    }
    const bool ok =
        EscreverTudo(fd, bytes) && ::ftruncate(fd, bytes.size()) == 0 && ::fsync(fd) == 0;
    return Fechar(fd) && ok ? TEscrita::Feita : TEscrita::Interrompida;
}

QByteArray Resumo(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

const QString PASTA_COPIAS = QStringLiteral("copias-ini");

// Where a copy goes when the file's folder takes none: this user's private
// folder, named after the file's device and inode, which a write in place
// keeps.
QByteArray CaminhoCopiaPrivada(const QString& pasta, const struct stat& info)
{
    if (pasta.isEmpty())
        return {};
    return QFile::encodeName(pasta) + '/' + QByteArray::number(quint64(info.st_dev)) + '-'
           + QByteArray::number(quint64(info.st_ino)) + SUFIXO_COPIA;
}

// Where a copy of the file may stand.
QList<QByteArray> CaminhosCopia(const QByteArray& destino, const struct stat& info)
{
    QList<QByteArray> caminhos{destino + SUFIXO_COPIA};
    const QByteArray privada =
        CaminhoCopiaPrivada(plataforma::PastaPrivadaExistente(PASTA_COPIAS), info);
    if (!privada.isEmpty())
        caminhos << privada;
    return caminhos;
}

// A copy that cannot be removed (another user's, in a folder where only the
// owner may remove a file) is emptied, so that it is never put back again.
void Descartar(const QByteArray& caminho)
{
    if (::unlink(caminho.constData()) == 0 || errno == ENOENT)
        return;
    const int fd =
        ::open(caminho.constData(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0)
        ::close(fd);
}

int CriarCopia(const QByteArray& caminho)
{
    for (int tentativa = 0; tentativa < 2; ++tentativa) {
        const int fd =
            ::open(caminho.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
        if (::unlink(caminho.constData()) != 0)
            return -1;
    }
    return -1;
}

// Whoever may write the file may read its copy, and nobody else: the copy
// gets the file's group and mode (without the group's bits when the group
// could not be given).
void DarModoDoArquivo(int fd, const struct stat& arquivo)
{
    struct stat info {};
    if (::fstat(fd, &info) == 0 && info.st_gid != arquivo.st_gid) [[maybe_unused]]
        const int r = ::fchown(fd, static_cast<uid_t>(-1), arquivo.st_gid);
    mode_t modo = arquivo.st_mode & 0666;
    if (::fstat(fd, &info) != 0 || info.st_gid != arquivo.st_gid)
        modo &= ~S_IRWXG;
    ::fchmod(fd, modo);
}

// The copy of atual, flushed to disk with its name; its path, or empty when no
// copy could be made.
QByteArray FazerCopia(const QByteArray& destino, const TLeituraArquivo& atual,
                      const QByteArray& novo)
{
    const QByteArray cabecalho = MARCA_COPIA + ' ' + QByteArray::number(atual.bytes.size()) + ' '
                                 + Resumo(atual.bytes) + ' ' + QByteArray::number(novo.size()) + ' '
                                 + Resumo(novo) + '\n';
    // Beside the file; the private folder is asked for only when that fails.
    for (const bool aoLado : {true, false}) {
        const QByteArray caminho =
            aoLado ? destino + SUFIXO_COPIA
                   : CaminhoCopiaPrivada(plataforma::PastaPrivada(PASTA_COPIAS), atual.info);
        const int fd = caminho.isEmpty() ? -1 : CriarCopia(caminho);
        if (fd < 0)
            continue;
        if (aoLado)
            DarModoDoArquivo(fd, atual.info);
        bool ok = EscreverTudo(fd, cabecalho)
                  && EscreverTudo(fd, atual.bytes, static_cast<off_t>(cabecalho.size()))
                  && ::fsync(fd) == 0;
        ok = Fechar(fd) && ok && SincronizarPasta(caminho);
        if (ok)
            return caminho;
        ::unlink(caminho.constData());
    }
    return {};
}

struct TCopiaLida {
    bool legivel = false;
    bool inteira = false;
    QByteArray anterior;
    qsizetype tamanhoNovo = -1;
    QByteArray resumoNovo;
};

TCopiaLida AbrirCopia(const QByteArray& caminho)
{
    TCopiaLida c;
    TLeituraArquivo l = Ler(caminho);
    c.legivel = l.lida && l.existe;
    const qsizetype fimLinha = l.bytes.indexOf('\n');
    if (!c.legivel || fimLinha < 0)
        return c;
    const QList<QByteArray> campos = l.bytes.left(fimLinha).split(' ');
    if (campos.size() != 6 || campos[0] + ' ' + campos[1] != MARCA_COPIA)
        return c;
    bool numeros = false;
    const qsizetype tamanhoAnterior = campos[2].toLongLong(&numeros);
    if (!numeros)
        return c;
    c.tamanhoNovo = campos[4].toLongLong(&numeros);
    if (!numeros || tamanhoAnterior != l.bytes.size() - fimLinha - 1)
        return c;
    l.bytes.remove(0, fimLinha + 1);
    // A copy cut by a kill, or by a crash of the machine, is no copy: the file
    // was not touched before the copy was whole on disk.
    c.inteira = Resumo(l.bytes) == campos[3];
    c.anterior = std::move(l.bytes);
    c.resumoNovo = campos[5];
    return c;
}

// The file holds the write's whole contents: nothing to put back.
bool Concluida(const TCopiaLida& c, const QByteArray& bytes)
{
    return bytes.size() == c.tamanhoNovo && Resumo(bytes) == c.resumoNovo;
}

} // namespace

bool EscreverNoLugar(const QByteArray& destino, const TLeituraArquivo& atual,
                     const QByteArray& novo)
{
    const QByteArray copia = FazerCopia(destino, atual, novo);
    if (copia.isEmpty())
        return false;
    switch (Sobrescrever(destino, atual.info, novo)) {
    case TEscrita::Feita:
        Descartar(copia);
        return true;
    case TEscrita::Intacta:
        Descartar(copia);
        return false;
    case TEscrita::Interrompida:
        break;
    }
    // The old contents back at once; the copy stays when that fails too.
    if (Sobrescrever(destino, atual.info, atual.bytes) == TEscrita::Feita)
        Descartar(copia);
    return false;
}

bool HaCopia(const QByteArray& destino, const struct stat& info)
{
    for (const QByteArray& caminho : CaminhosCopia(destino, info)) {
        struct stat estado {};
        if (::lstat(caminho.constData(), &estado) == 0)
            return true;
    }
    return false;
}

TCopia LerCopia(const QByteArray& destino, const TLeituraArquivo& atual)
{
    TCopia resultado;
    for (const QByteArray& caminho : CaminhosCopia(destino, atual.info)) {
        struct stat estado {};
        if (::lstat(caminho.constData(), &estado) != 0)
            continue;
        TCopiaLida c = AbrirCopia(caminho);
        if (!c.inteira || Concluida(c, atual.bytes))
            continue;
        resultado.existe = true;
        resultado.anterior = std::move(c.anterior);
        break;
    }
    return resultado;
}

bool RestaurarCopia(const QByteArray& destino, const struct stat& info)
{
    for (const QByteArray& caminho : CaminhosCopia(destino, info)) {
        struct stat estado {};
        if (::lstat(caminho.constData(), &estado) != 0)
            continue;
        const TCopiaLida c = AbrirCopia(caminho);
        // Not ours to read: made by someone whose copy never got the file's
        // mode, so it was never whole.
        if (!c.legivel)
            continue;
        if (!c.inteira) {
            Descartar(caminho);
            continue;
        }
        const TLeituraArquivo atual = Ler(destino);
        if (!atual.lida)
            return false;
        if (atual.existe && !Concluida(c, atual.bytes) && atual.bytes != c.anterior) {
            // Replaced when we may, so that readers never see part of it; else
            // in place, the copy staying until it is done.
            switch (Substituir(destino, c.anterior, &atual.info)) {
            case TGravacao::Feita:
                break;
            case TGravacao::SemSubstituir:
                if (Sobrescrever(destino, atual.info, c.anterior) != TEscrita::Feita)
                    return false;
                break;
            case TGravacao::Falhou:
                return false;
            }
        }
        Descartar(caminho);
    }
    return true;
}

} // namespace arquivo
