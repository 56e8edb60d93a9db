// The wall clock's long time of day: each locale's own form, with seconds, and without the
// time-zone field wherever the locale puts it.
#include "toolkit/LongTime.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QString>
#include <string>

namespace toolkit::real {
namespace {

TEST(LongTime, EachLocaleWritesItsOwnTimeOfDayWithoutTheZone) {
  const struct {
    const char* locale;
    std::string expected;  // at 14:04:05
  } cases[] = {
      {"en_US", "2:04:05 PM"},              // h:mm:ss AP t
      {"de_DE", "14:04:05"},                // HH:mm:ss t
      {"fr_FR", "14:04:05"},                // HH:mm:ss t
      {"ja_JP", "14時04分05秒"},            // H時mm分ss秒 t
      {"es_ES", "14:04:05"},                // H:mm:ss (t)
      {"zh_CN", "14:04:05"},                // t HH:mm:ss
      {"zh_HK", "下午2:04:05"},             // t APh:mm:ss
      {"ko_KR", "오후 2시 4분 5초"},        // AP h시 m분 s초 t
      {"sq_AL", "2:04:05 E PASDITES"},      // h:mm:ss AP, t
      {"be_BY", "14:04:05"},                // HH:mm:ss, t
      {"bg_BG", "14:04:05 ч."},             // H:mm:ss 'ч'. t
      {"fr_CH", "14.04:05 h"},              // HH.mm:ss 'h' t
      {"fi_FI", "14.04.05"},                // H.mm.ss t
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LongTimeOfDay(QLocale(QString::fromLatin1(c.locale)), {2024, 3, 7, 14, 4, 5}), c.expected)
        << c.locale << ": " << QLocale(QString::fromLatin1(c.locale)).timeFormat(QLocale::LongFormat).toStdString();
  }
}

TEST(LongTime, TheZoneFieldGoesWhereverItStandsAndQuotedTextStays) {
  const struct {
    const char* format;
    const char* expected;
  } cases[] = {
      {"HH:mm:ss t", "HH:mm:ss"},
      {"HH:mm:ss tttt", "HH:mm:ss"},
      {"H:mm:ss (t)", "H:mm:ss"},
      {"APh:mm:ss [t]", "APh:mm:ss"},
      {"h:mm:ss AP, t", "h:mm:ss AP"},
      {"t HH:mm:ss", "HH:mm:ss"},
      {"(t) HH:mm:ss", "HH:mm:ss"},
      {"HH:mm t ss", "HH:mm ss"},
      {"HH 'h' mm 'min' ss 's' t", "HH 'h' mm 'min' ss 's'"},
      {"'at' HH:mm:ss t", "'at' HH:mm:ss"},
      {"HH 'o''clock' mm 'but' t", "HH 'o''clock' mm 'but'"},
      {"HH:mm:ss", "HH:mm:ss"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WithoutTimeZone(QString::fromUtf8(c.format)).toStdString(), c.expected) << c.format;
}

}  // namespace
}  // namespace toolkit::real
