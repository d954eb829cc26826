#include "update_ui/update_about_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui_common/resource_icons.h"
#include "ui_common/template_layout.h"
#include "update_ui/update_strings.h"

namespace m2::update_ui {

namespace {
constexpr int kOkId = 1;
}  // namespace

UpdateAboutDialog::UpdateAboutDialog(const QString& versionText, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("UpdateAboutDialog"));
  setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
  setWindowFlags(ui::kDialogWindowFlags);
  ui::TemplateLayout layout(this);
  layout.setTemplateSize(226, 90);

  layout.addIcon(ui::ResourceIcon(kAppIcon), 7, 7);
  layout.addLabel(QStringLiteral("ﾕｰﾃｨﾘﾃｨの情報："), {40, 8, 120, 8});
  QLineEdit* version = layout.addEdit({40, 19, 178, 12}, kVersionField);
  version->setReadOnly(true);
  version->setText(AppTitle() + versionText);
  version->setCursorPosition(0);
  layout.addLabel(UpdateString(str::kVendorNotice), {40, 38, 178, 8});
  layout.addLabel(QStringLiteral("ﾀﾞｳﾝﾛｰﾄﾞﾌｧｲﾙを XMODEM で送信します"),
                  {40, 50, 178, 8});

  QPushButton* ok = layout.addButton(QStringLiteral("OK"), {88, 69, 50, 14}, kOkId);
  ok->setDefault(true);
  ok->setFocus();
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace m2::update_ui
