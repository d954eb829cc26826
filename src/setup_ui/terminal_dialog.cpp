#include "setup_ui/terminal_dialog.h"

#include <QPushButton>

#include "setup_ui/setup_main_dialog.h"
#include "setup_ui/terminal_edit.h"
#include "setup_ui/terminal_feed.h"
#include "ui_common/template_layout.h"

namespace m2::setup {

TerminalDialog::TerminalDialog(SetupMainDialog& main, TerminalFeed& feed)
    : QDialog(&main), m_main(main), m_feed(feed), m_edit(new TerminalEdit(feed)) {
  setObjectName(QStringLiteral("TerminalDialog"));
  setWindowTitle(QStringLiteral("簡易ﾀｰﾐﾅﾙ"));
  // A caption without a system menu: "OK" and Escape are the ways out.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);

  ui::TemplateLayout layout(this);
  layout.setTemplateSize(187, 146);
  layout.place(m_edit, {7, 7, 173, 109}, kEditId);
  QPushButton* ok = layout.addButton(QStringLiteral("OK"), {68, 125, 50, 14}, kOkId);
  ok->setAutoDefault(false);
  connect(ok, &QPushButton::clicked, this, &TerminalDialog::reject);

  m_feed.attach(m_edit);
  m_main.link().link().setTerminalOutput(&m_feed);
  m_attached = true;
  m_edit->setFocus();
}

TerminalDialog::~TerminalDialog() { Detach(); }

void TerminalDialog::reject() {
  Detach();
  QDialog::reject();  // closes; WA_DeleteOnClose deletes the object
}

void TerminalDialog::Detach() {
  if (!m_attached) return;
  m_attached = false;
  m_main.link().link().setTerminalOutput(nullptr);
  m_feed.detach();
  m_main.TerminalClosed();
}

}  // namespace m2::setup
