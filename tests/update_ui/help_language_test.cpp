// The guide the help commands open is the Japanese one for a Japanese locale and the English
// one otherwise, and both are where the programs look for them.
#include <QFileInfo>
#include <QTest>

#include "ui_common/help_opener.h"

namespace {

QString GuideFor(const char* lang) {
  qunsetenv("LC_ALL");
  qunsetenv("LC_MESSAGES");
  qputenv("LANG", lang);
  const QUrl url =
      m2::ui::HelpUrl({{}, QStringLiteral("M2Setup.html"), QStringLiteral("CPPageDataAt")});
  return url.isLocalFile() ? url.toLocalFile() + "#" + url.fragment() : url.toString();
}

}  // namespace

class HelpLanguageTest : public QObject {
  Q_OBJECT

 private slots:
  void guideFollowsTheLocale();
  void theLocaleInEffectDecides();
};

void HelpLanguageTest::guideFollowsTheLocale() {
  const QString ja = GuideFor("ja_JP.UTF-8");
  QVERIFY2(ja.endsWith("/share/m2klx/help/ja/M2Setup.html#CPPageDataAt"), qPrintable(ja));
  const QString en = GuideFor("C");
  QVERIFY2(en.endsWith("/share/m2klx/help/en/M2Setup.html#CPPageDataAt"), qPrintable(en));
}

void HelpLanguageTest::theLocaleInEffectDecides() {
  using m2::ui::GuideLanguage;
  QCOMPARE(GuideLanguage("C", "", "ja_JP.UTF-8"), QString("en"));      // LC_ALL over LANG
  QCOMPARE(GuideLanguage("", "ja_JP.UTF-8", "C.UTF-8"), QString("ja"));  // LC_MESSAGES over LANG
  QCOMPARE(GuideLanguage("ja_JP.eucJP", "en_GB.UTF-8", "C"), QString("ja"));
  QCOMPARE(GuideLanguage("", "", ""), QString("en"));
}

QTEST_GUILESS_MAIN(HelpLanguageTest)
#include "help_language_test.moc"
