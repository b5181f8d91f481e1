#pragma once

#include <QStringList>

// The text of each message box the program showed since the list was last
// cleared (the message sink writes here unless a test puts its own).
QStringList& ErrosRelatados();
