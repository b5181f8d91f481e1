#pragma once

// Rounds a sum of money to cents the way decimal formatting with two places
// does: the double is first taken to 15 significant digits, so that 2.675
// (stored as 2.67499999...) is treated as the 2.675 it stands for, and then
// rounded half away from zero.
double ArredondarCentavos(double valor);
