#include "update_ui/update_confirm_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "ui_common/resource_icons.h"
#include "ui_common/template_layout.h"
#include "update_ui/update_strings.h"

namespace m2::update_ui {

namespace {
constexpr int kIconPixels = 32;
}  // namespace

UpdateConfirmDialog::UpdateConfirmDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("UpdateConfirmDialog"));
  setWindowTitle(QStringLiteral("ﾊﾞ-ｼﾞｮﾝｱｯﾌﾟ:確認"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  ui::TemplateLayout layout(this);
  layout.setTemplateSize(164, 62);

  auto* icon = new QLabel(this);
  icon->setPixmap(ui::ResourceIcon(kAppIcon).pixmap(kIconPixels, kIconPixels));
  icon->setGeometry(layout.units().x(7), layout.units().y(7), kIconPixels, kIconPixels);
  layout.addLabel(QStringLiteral("ﾊﾞｰｼﾞｮﾝｱｯﾌﾟ を実行しますか？"), {40, 16, 118, 8});

  QPushButton* yes = layout.addButton(QStringLiteral("はい"), {24, 40, 50, 14}, kYes);
  QPushButton* no = layout.addButton(QStringLiteral("いいえ"), {90, 40, 50, 14}, kNo);
  yes->setDefault(true);
  yes->setFocus();
  connect(yes, &QPushButton::clicked, this, [this] { done(kYes); });
  connect(no, &QPushButton::clicked, this, [this] { done(kNo); });
}

QPushButton* UpdateConfirmDialog::button(int id) const {
  return ui::FindControl<QPushButton>(this, id);
}

}  // namespace m2::update_ui
