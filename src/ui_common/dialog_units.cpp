#include "ui_common/dialog_units.h"

#include <QFontMetrics>

namespace m2::ui {

namespace {
// Rounded a * b / c, as templates are scaled.
int ScaleRounded(int a, int b, int c) {
  const long long n = static_cast<long long>(a) * b;
  return static_cast<int>(n >= 0 ? (n + c / 2) / c : -((-n + c / 2) / c));
}
}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  // The average width is measured over the 52 Latin letters and rounded, not taken from the
  // font's own table, which CJK fonts fill with the full-width advance.
  const int letters =
      metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  m_baseX = (letters / 26 + 1) / 2;
  m_baseY = metrics.height();
  if (m_baseX < 1) m_baseX = 1;
  if (m_baseY < 1) m_baseY = 1;
}

int DialogUnits::x(int dlu) const { return ScaleRounded(dlu, m_baseX, 4); }
int DialogUnits::y(int dlu) const { return ScaleRounded(dlu, m_baseY, 8); }

QRect DialogUnits::toPixels(DluRect r) const {
  // Edges are converted, not the size, so neighbouring controls never overlap by rounding.
  const int left = x(r.x);
  const int top = y(r.y);
  return {left, top, x(r.x + r.w) - left, y(r.y + r.h) - top};
}

QSize DialogUnits::toPixels(int w, int h) const { return {x(w), y(h)}; }

}  // namespace m2::ui
