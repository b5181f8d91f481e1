#pragma once

// Chooses Qt's windowing platform before the application exists, and asks
// the X server or Wayland compositor whether it answers: Qt aborts, with a
// core, on one that does not. False when no display the program can use is
// there; what was tried or is needed has then been said on standard error
// (and in the message sink when it writes to a file).
bool EscolherPlataformaGrafica();

// Once the application exists: says on standard error what the desktop
// cannot do for the gadget on the platform in use.
void AvisarLimitesDaPlataforma();
