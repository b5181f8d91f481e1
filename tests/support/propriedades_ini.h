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

// The same for the INI text engine alone, in memory: the first byte picks up
// to four writes into the gadget's section (keys in either letter case,
// values cut from the file's own text), the rest is the file. Checks that
// each key reads back its last written value, every other line keeps its
// bytes and place, and writing the same again changes nothing. Returns what
// failed, or an empty text.
QString VerificarEdicao(const QByteArray& entrada);
