#pragma once

class QCalendarWidget;

// Dresses a date edit's drop-down calendar like the gadget: a grey panel,
// blue texts and accents, blue arrows (a real one on the month menu), no red
// weekends, no week numbers, Brazilian Portuguese names.
void VesteCalendario(QCalendarWidget* Calendario);
