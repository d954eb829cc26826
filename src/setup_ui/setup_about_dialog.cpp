#include "setup_ui/setup_about_dialog.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <cstdio>
#include <string>

#include "settings/cp932.h"
#include "setup_ui/setup_main_dialog.h"
#include "setup_ui/setup_strings.h"
#include "setup_ui/status_form.h"
#include "ui_common/resource_icons.h"

namespace m2::setup {

namespace {

constexpr const char* kTaFormat = " ﾒｰｶｰ:      %s\r\n ﾊﾞｰｼﾞｮﾝ:   %s";

// The TA's identification lines are CP932 text.
QString TaText(const LinkOwner& link) {
  const std::string maker = Cp932ToUtf8Lossy(link.taMakerText);
  const std::string version = Cp932ToUtf8Lossy(link.taVersionText);
  const int size = std::snprintf(nullptr, 0, kTaFormat, maker.c_str(), version.c_str());
  std::string text(static_cast<std::size_t>(size), '\0');
  std::snprintf(text.data(), text.size() + 1, kTaFormat, maker.c_str(), version.c_str());
  return QString::fromStdString(text);
}

}  // namespace

SetupAboutDialog::SetupAboutDialog(SetupMainDialog& main, QWidget* parent)
    : QDialog(parent),
      m_strUtility(SetupString(str::kAppTitle) + main.appVersionText),
      m_strTa(TaText(main.link())) {
  ui::TemplateLayout layout(this);
  SetUpStatusDialog(this, "SetupAboutDialog", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"), layout, 223, 138);
  setWindowIcon(ui::ResourceIcon(kAppIcon));

  layout.addIcon(ui::ResourceIcon(kAppIcon), 7, 7);

  layout.addLabel(QStringLiteral("ﾕｰﾃｨﾘﾃｨの情報："), {35, 7, 57, 8});
  AddReadOnlyField(layout, {41, 20, 164, 15}, kUtilityField)->setText(m_strUtility);
  layout.addLabel(QStringLiteral("ﾀｰﾐﾅﾙｱﾀﾞﾌﾟﾀの情報："), {35, 40, 68, 8});
  auto* ta = layout.place(new QPlainTextEdit, {41, 53, 164, 27}, kTaField);
  ta->setReadOnly(true);
  ta->setLineWrapMode(QPlainTextEdit::NoWrap);
  ta->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ta->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ta->setPlainText(QString(m_strTa).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

  // The settings file is opened by its bare name, so its folder is the working folder.
  layout.addLabel(QStringLiteral("保存先："), {7, 85, 33, 8});
  auto* folder = AddReadOnlyField(layout, {41, 83, 164, 12}, kFolderField);
  folder->setText(QDir::toNativeSeparators(QDir::currentPath()));
  folder->setToolTip(folder->text());

  layout.addLabel(QStringLiteral("Copyright (C)"), {32, 100, 63, 8});
  layout.addLabel(QString(), {99, 100, 76, 8}, kNoticeLine)->setText(SetupString(str::kVendorNotice));
  AddStatusOkButton(this, layout, {96, 117, 32, 14});
}

}  // namespace m2::setup
