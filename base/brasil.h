#pragma once

#include <QLocale>
#include <QString>

// The program speaks Brazilian Portuguese whatever the system's locale.
inline const QLocale LOCALE_BRASIL(QLocale::Portuguese, QLocale::Brazil);

// Dates as the views show them and the CSV command takes and prints them.
inline const QString FORMATO_DATA = QStringLiteral("dd/MM/yyyy");
