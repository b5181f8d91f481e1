#pragma once

#include <QString>
#include <optional>

// The name of the branch with this code (empty when its name is), read with
// a connection of its own made from the configuration file as it stands now;
// none when no branch has the code.
std::optional<QString> NomeFilial(const QString& CodFilial);
