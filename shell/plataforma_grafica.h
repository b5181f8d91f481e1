#pragma once

// Chooses Qt's windowing platform before the application exists. False when
// no display the program can use is there; what is needed has then been said
// on standard error (and in the message sink when it writes to a file).
bool EscolherPlataformaGrafica();

// Once the application exists: says on standard error what the desktop
// cannot do for the gadget on the platform in use.
void AvisarLimitesDaPlataforma();
