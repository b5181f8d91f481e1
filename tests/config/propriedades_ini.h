#pragma once

#include <QByteArray>
#include <QString>

// Takes the bytes as the configuration file at caminho (and points
// VANTREL_GADGETS_INI there), loads the gadget's record, saves it, loads it
// again, and checks that: the reloaded values are the saved ones; every line
// but the first line of each written key in the gadget's section (and that
// section's header when it was missing) keeps its bytes and its place; a
// second save changes nothing. Returns what failed, or an empty text.
QString VerificarSalvamento(const QByteArray& arquivo, const QString& caminho);
