#include "ui_common/app_font.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QStringList>

namespace m2::ui {

namespace {
// The size of a classic 9-point dialog font on a 96-dpi screen.
constexpr int kDialogFontPixels = 12;
}  // namespace

QFont DialogFont() {
  QFont font;
  font.setFamilies(QStringList{"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "VL Gothic",
                               "TakaoGothic"});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(kDialogFontPixels);
  return font;
}

void InstallDialogFont(QApplication& app) {
  app.setFont(DialogFont());
  auto* translator = new QTranslator(&app);
  if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(translator);
  else
    delete translator;
}

}  // namespace m2::ui
