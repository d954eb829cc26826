#pragma once
// TerminalEdit: the simple terminal's text window. Bytes from the TA (through TerminalFeed)
// are inserted at the caret as CP932 text, a carriage return starting a new line; keys typed
// here are not inserted but go to the TA, one byte each, connecting first when the link is
// not connected. What the user types shows only as far as the TA echoes it.
#include <QPlainTextEdit>
#include <cstdint>

namespace m2 {
class LinkOwner;
}

namespace m2::setup {

class TerminalFeed;

class TerminalEdit final : public QPlainTextEdit {
 public:
  TerminalEdit(TerminalFeed& feed, QWidget* parent = nullptr);

  // The link that typed characters go to; given by the main dialog once the window exists.
  void setLinkOwner(LinkOwner* owner) { m_owner = owner; }

  // Inserts the bytes the feed holds for this edit.
  void DrainFeed();
  // One byte from the TA.
  void ReceiveByte(std::uint8_t byte);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  bool canInsertFromMimeData(const QMimeData*) const override { return false; }
  void insertFromMimeData(const QMimeData*) override {}

 private:
  void Insert(const QString& text);
  void TypeText(const QString& text);
  bool SendTyped(std::uint8_t byte);

  TerminalFeed& m_feed;
  LinkOwner* m_owner = nullptr;
  std::uint8_t m_leadByte = 0;  // the first byte of a double-byte character, or 0
};

}  // namespace m2::setup
