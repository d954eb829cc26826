#include "setup_ui/tabbed_list.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>

#include "ui_common/dialog_units.h"

namespace m2::setup {

namespace {
constexpr int kCharsPerTab = 8;
}  // namespace

FontTextMeter::FontTextMeter(const QFont& font)
    : m_metrics(font), m_tabStop(kCharsPerTab * ui::DialogUnits(font).baseX()) {}

int FontTextMeter::Advance(std::string_view utf8) const {
  return m_metrics.horizontalAdvance(
      QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

TabbedTextDelegate::TabbedTextDelegate(const TextMeter& meter, QObject* parent)
    : QStyledItemDelegate(parent), m_meter(meter) {}

void TabbedTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
  QStyleOptionViewItem opt = option;
  initStyleOption(&opt, index);
  const QString text = opt.text;
  opt.text.clear();
  const QWidget* widget = opt.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

  const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                     : (opt.state & QStyle::State_Active) ? QPalette::Active
                                                                          : QPalette::Inactive;
  const QPalette::ColorRole role =
      (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;
  painter->save();
  painter->setFont(opt.font);
  painter->setPen(opt.palette.color(group, role));
  const QFontMetrics metrics(opt.font);
  const int left = opt.rect.left() + kMargin;
  const int baseline =
      opt.rect.top() + (opt.rect.height() - metrics.height()) / 2 + metrics.ascent();
  const int stop = std::max(1, m_meter.TabStop());
  int x = 0;
  const QStringList segments = text.split(QLatin1Char('\t'));
  for (qsizetype i = 0; i < segments.size(); ++i) {
    if (i > 0) x = (x / stop + 1) * stop;
    painter->drawText(QPoint(left + x, baseline), segments[i]);
    x += m_meter.Advance(segments[i].toStdString());
  }
  painter->restore();
}

QSize TabbedTextDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
  const QSize plain = QStyledItemDelegate::sizeHint(option, index);
  const std::string text = index.data(Qt::DisplayRole).toString().toStdString();
  return {TabbedWidth(text, m_meter) + 2 * kMargin, plain.height()};
}

}  // namespace m2::setup
