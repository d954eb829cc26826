#pragma once
// The list of a telephone-number page: lines whose tabs jump to the default tab positions,
// eight average characters apart, as a list box with tab stops shows them. The widths the
// number-list model pads with and the positions the list draws at come from one
// FontTextMeter, so the address column lines up.
#include <QFontMetrics>
#include <QStyledItemDelegate>

#include "settings/number_list_model.h"

namespace m2::setup {

class FontTextMeter final : public TextMeter {
 public:
  explicit FontTextMeter(const QFont& font);
  int Advance(std::string_view utf8) const override;
  int TabStop() const override { return m_tabStop; }

 private:
  QFontMetrics m_metrics;
  int m_tabStop;
};

// Draws an item's text with its tabs expanded by the meter; an item is as wide as its text.
class TabbedTextDelegate final : public QStyledItemDelegate {
 public:
  TabbedTextDelegate(const TextMeter& meter, QObject* parent);

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  // Space left and right of the text inside an item.
  static constexpr int kMargin = 3;

 private:
  const TextMeter& m_meter;
};

}  // namespace m2::setup
