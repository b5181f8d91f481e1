#pragma once

#include <QString>
#include <QStringList>

// What the gadget's command line asks for.
struct TLinhaComando {
    enum class TAcao { Executar, Ajuda, Versao, Invalida };
    TAcao acao = TAcao::Executar;
    // The usage, the version line or the error, ready to print.
    QString texto;
};

extern const QString USO_VENDAS_POR_HORA;

// The arguments after the program name.
TLinhaComando LerLinhaComando(const QStringList& argumentos);
