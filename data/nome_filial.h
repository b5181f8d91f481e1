#pragma once

#include <QString>
#include <optional>

// The name of the branch with this code, read with a connection of its own
// made from the configuration file as it stands now; none when no branch has
// the code.
std::optional<QString> BuscaFilial(const QString& CodFilial);

// The same, empty when no branch has the code or its name is empty.
QString NomeFilial(const QString& CodFilial);
