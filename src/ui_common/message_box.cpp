#include "ui_common/message_box.h"

#include <QFontDatabase>
#include <QFontMetrics>

namespace m2::ui {

namespace {

// Room beside the caption for the title bar's icon and its buttons, in title-bar heights.
constexpr int kTitleBarItems = 5;

// QMessageBox sizes itself when it is shown and leaves a caption only a narrow margin.
class MessageBox final : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;

 protected:
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);
    const int extra = CaptionWidth(windowTitle()) - width();
    if (extra <= 0) return;
    setFixedSize(width() + extra, height());
    move(x() - extra / 2, y());  // still centred on its parent
  }
};

}  // namespace

int ShowOkMessage(QWidget* parent, const QString& title, const QString& text,
                  QMessageBox::Icon icon) {
  MessageBox box(icon, title, text, QMessageBox::Ok, parent);
  box.setObjectName(QStringLiteral("messageBox"));
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
