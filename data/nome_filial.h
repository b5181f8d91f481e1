#pragma once

#include <QString>

// The name of the branch with this code, read with a connection of its own
// made from the configuration file as it stands now; empty when no branch has
// the code or its name is empty.
QString NomeFilial(const QString& CodFilial);
