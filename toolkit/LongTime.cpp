#include "toolkit/LongTime.h"

#include <QRegularExpression>
#include <QStringList>
#include <QTime>

namespace toolkit::real {

std::string LongTimeOfDay(const QLocale& locale, const LocalDateTime& when) {
  const QString format = WithoutTimeZone(locale.timeFormat(QLocale::LongFormat));
  return locale.toString(QTime(when.hour, when.minute, when.second), format).toStdString();
}

QString WithoutTimeZone(const QString& format) {
  static const QRegularExpression zone(QStringLiteral(R"([\s,]*[(\[]?t+[)\]]?)"));
  QString result;
  const QStringList parts = format.split(QLatin1Char('\''));
  for (qsizetype i = 0; i < parts.size(); ++i) {
    if (i > 0) result += QLatin1Char('\'');
    result += i % 2 == 0 ? QString(parts[i]).remove(zone) : parts[i];
  }
  return result.trimmed();
}

}  // namespace toolkit::real
