#include "ui_common/message_box.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>

namespace m2::ui {

namespace {

// Room beside the caption for the title bar's icon and its buttons, in title-bar heights.
constexpr int kTitleBarItems = 5;

}  // namespace

int ShowOkMessage(QWidget* parent, const QString& title, const QString& text,
                  const QString& detail, QMessageBox::Icon icon) {
  QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
  box.setObjectName(QStringLiteral("messageBox"));
  if (!detail.isEmpty()) box.setInformativeText(detail);
  // QMessageBox sizes itself to its layout and leaves the caption only a narrow margin; a
  // strut in the layout makes room for the whole caption.
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    const QMargins margins = grid->contentsMargins();
    const int strut = CaptionWidth(title) - margins.left() - margins.right();
    grid->addItem(new QSpacerItem(strut, 0, QSizePolicy::Fixed, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
  }
  return box.exec();
}

int CaptionWidth(const QString& caption) {
  // Title bars commonly use a bold face of the title font.
  QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
  font.setBold(true);
  const QFontMetrics metrics(font);
  return metrics.horizontalAdvance(caption) + kTitleBarItems * (metrics.height() + 6);
}

}  // namespace m2::ui
