#pragma once

class QTemporaryDir;

// Readies a process that runs the program's widgets away from the user's
// desktop, before its application object is made: the offscreen platform
// when none is named (also when CTest lists the tests at build time), the
// autostart folders in `pasta`, since the gadget registers itself to start at
// log-on, and quiet about the warnings the offscreen platform gives.
void PrepararAmbienteQt(const QTemporaryDir& pasta);
