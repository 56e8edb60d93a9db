#pragma once
// The long time of day as the system's wall clock writes it. Internal to the toolkit (its tests
// use it over many locales): it speaks Qt's types.
#include <QLocale>
#include <QString>
#include <string>

#include "toolkit/Seams.h"

namespace toolkit::real {

// The locale's own long time of day, which shows seconds, without its time-zone field: a zone
// name has no place in a log column.
std::string LongTimeOfDay(const QLocale& locale, const LocalDateTime& when);

// Drops the zone field 't' with the brackets around it and the blanks or comma that set it
// apart ("HH:mm:ss t", "H:mm:ss (t)", "h:mm:ss AP, t", "t HH:mm:ss"); quoted literal text
// is kept as it is.
QString WithoutTimeZone(const QString& format);

}  // namespace toolkit::real
