#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <sys/types.h>

// The ordinary users of the tests (scripts/usuarios-teste.sh), who share the
// group vphgrupo.
struct UsuarioTeste {
    QByteArray nome;
    uid_t uid = 0;
    gid_t gid = 0; // the user's own group
};

struct UsuariosTeste {
    UsuarioTeste dona; // vphteste, who owns the shared file
    UsuarioTeste outro; // vphoutro
    gid_t grupo = 0;
    QString falta; // why they cannot be had; empty when they can
};

// Makes them when missing; needs root.
UsuariosTeste ObterUsuariosTeste();

// Starts f in a child process as the user, in the shared group too; the
// child ends with f's result, or 255 when it could not become the user.
pid_t IniciarComoUsuario(const UsuarioTeste& usuario, gid_t grupo, const std::function<int()>& f);

// The same, waited for: f's result, or -1 when the child could not become the
// user or did not end normally.
int ComoUsuario(const UsuarioTeste& usuario, gid_t grupo, const std::function<int()>& f);
