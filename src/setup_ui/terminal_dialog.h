#pragma once
// TerminalDialog: the hidden simple terminal, a modeless window owned by the main dialog.
// While it is open the link passes every received byte (and its "<CE-%u>" traces) to its
// TerminalEdit. "OK" and Escape close it; the object deletes itself once closed, and the main
// dialog deletes it when it goes first.
#include <QDialog>

namespace m2::setup {

class SetupMainDialog;
class TerminalEdit;
class TerminalFeed;

class TerminalDialog final : public QDialog {
 public:
  static constexpr int kEditId = 1360;
  static constexpr int kOkId = 2;  // the cancel command

  TerminalDialog(SetupMainDialog& main, TerminalFeed& feed);
  ~TerminalDialog() override;

  TerminalEdit* edit() const { return m_edit; }

 protected:
  void reject() override;

 private:
  void Detach();

  SetupMainDialog& m_main;
  TerminalFeed& m_feed;
  TerminalEdit* m_edit;
  bool m_attached = false;
};

}  // namespace m2::setup
