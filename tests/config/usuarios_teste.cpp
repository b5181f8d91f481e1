#include "usuarios_teste.h"

#include <QProcess>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool Buscar(const char* nome, UsuarioTeste& u)
{
    const passwd* p = ::getpwnam(nome);
    if (!p)
        return false;
    u = {nome, p->pw_uid, p->pw_gid};
    return true;
}

} // namespace

UsuariosTeste ObterUsuariosTeste()
{
    UsuariosTeste u;
    if (::geteuid() != 0) {
        u.falta = QStringLiteral("needs root to act as the test users");
        return u;
    }
    const auto buscar = [&] {
        const group* g = ::getgrnam("vphgrupo");
        if (g)
            u.grupo = g->gr_gid;
        return g && Buscar("vphteste", u.dona) && Buscar("vphoutro", u.outro);
    };
    if (buscar())
        return u;
    const int codigo = QProcess::execute(QStringLiteral(VPH_RAIZ "/scripts/usuarios-teste.sh"));
    if (codigo != 0 || !buscar())
        u.falta = QStringLiteral("scripts/usuarios-teste.sh could not make the test users");
    return u;
}

pid_t IniciarComoUsuario(const UsuarioTeste& usuario, gid_t grupo, const std::function<int()>& f)
{
    const pid_t filho = ::fork();
    if (filho == 0) {
        const gid_t grupos[] = {grupo};
        if (::setgroups(1, grupos) != 0 || ::setgid(usuario.gid) != 0 || ::setuid(usuario.uid) != 0)
            ::_exit(255);
        ::_exit(f());
    }
    return filho;
}

int ComoUsuario(const UsuarioTeste& usuario, gid_t grupo, const std::function<int()>& f)
{
    const pid_t filho = IniciarComoUsuario(usuario, grupo, f);
    if (filho < 0)
        return -1;
    int estado = 0;
    ::waitpid(filho, &estado, 0);
    if (!WIFEXITED(estado) || WEXITSTATUS(estado) == 255)
        return -1;
    return WEXITSTATUS(estado);
}
