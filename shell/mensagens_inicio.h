#pragma once

#include <QString>

// The three start-up messages.
inline const QString MSG_GADGETS_NAO_CONFIGURADAS =
    QStringLiteral("Gadgets não configuradas!\r\n"
                   "Informe as configurações em \"Vozirav - Iraziv iv Izirodur\".");
inline const QString MSG_BANCO_NAO_INFORMADO =
    QStringLiteral("Configurações do banco de dados não informadas corretamente!\r\n"
                   "Configure-as em \"Vozirav - Iraziv iv Izirodur\".");
inline const QString MSG_FALHA_CONEXAO =
    QStringLiteral("Não foi possível conectar ao banco de dados!");
