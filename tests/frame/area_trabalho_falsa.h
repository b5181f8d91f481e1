#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The desktop routines, recorded instead of done: one line per call, in order.
QStringList& ChamadasAreaTrabalho();
// The window passed to the last CriaIcone.
QWidget*& JanelaDoIcone();
