#pragma once

#include <QStringList>

// The text of each error that escaped an event handler into the test
// application's notify(), where the program's report would show it in a box.
QStringList& ErrosRelatados();
