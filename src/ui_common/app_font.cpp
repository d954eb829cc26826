#include "ui_common/app_font.h"

#include <QApplication>
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

void InstallDialogFont(QApplication& app) { app.setFont(DialogFont()); }

}  // namespace m2::ui
