#pragma once
// Dialog templates give positions and sizes in dialog units: a horizontal unit is a quarter
// of the dialog font's average character width, a vertical unit an eighth of its height.
// Converting through the font keeps every control where the template put it, whatever
// font size the desktop ends up with.
#include <QFont>
#include <QRect>
#include <QSize>

namespace m2::ui {

struct DluRect {
  int x, y, w, h;
};

class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);

  int baseX() const { return m_baseX; }  // average character width in pixels
  int baseY() const { return m_baseY; }  // character height in pixels
  int x(int dlu) const;
  int y(int dlu) const;
  QRect toPixels(DluRect r) const;
  QSize toPixels(int w, int h) const;

 private:
  int m_baseX;
  int m_baseY;
};

}  // namespace m2::ui
