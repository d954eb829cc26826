#include "setup_ui/terminal_edit.h"

#include <QKeyEvent>
#include <optional>
#include <string>

#include "serial/link_owner.h"
#include "settings/cp932.h"
#include "setup_ui/terminal_feed.h"

namespace m2::setup {

namespace {

constexpr std::uint8_t kBackspace = 0x08;
constexpr std::uint8_t kTab = 0x09;
constexpr std::uint8_t kCarriageReturn = 0x0D;
constexpr std::uint8_t kDelete = 0x7F;

bool IsLeadByte(std::uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(std::uint8_t b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

QString FromCp932(std::string_view bytes) {
  return QString::fromStdString(Cp932ToUtf8Lossy(bytes));
}

bool MovesCaret(int key) {
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      return true;
    default:
      return false;
  }
}

}  // namespace

TerminalEdit::TerminalEdit(TerminalFeed& feed, QWidget* parent) : QPlainTextEdit(parent), m_feed(feed) {
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setTabChangesFocus(true);
  setUndoRedoEnabled(false);
}

void TerminalEdit::DrainFeed() {
  for (char c : m_feed.take(this)) ReceiveByte(static_cast<std::uint8_t>(c));
}

void TerminalEdit::ReceiveByte(std::uint8_t byte) {
  if (m_leadByte != 0) {
    const char pair[2] = {static_cast<char>(m_leadByte), static_cast<char>(byte)};
    const bool whole = IsTrailByte(byte);
    Insert(FromCp932(std::string_view(pair, whole ? 2 : 1)));
    m_leadByte = 0;
    if (whole) return;
  }
  if (IsLeadByte(byte)) {
    m_leadByte = byte;
    return;
  }
  switch (byte) {
    case kCarriageReturn:
      Insert(QStringLiteral("\n"));
      return;
    case kTab:
      Insert(QStringLiteral("\t"));
      return;
    case kBackspace: {
      QTextCursor cursor = textCursor();
      cursor.deletePreviousChar();
      setTextCursor(cursor);
      return;
    }
    default:
      // Other control bytes would be editing commands (cut, paste, undo) here: not shown.
      if (byte < 0x20 || byte == kDelete) return;
      Insert(FromCp932(std::string_view(reinterpret_cast<const char*>(&byte), 1)));
  }
}

void TerminalEdit::Insert(const QString& text) {
  QTextCursor cursor = textCursor();
  cursor.insertText(text);
  setTextCursor(cursor);
  ensureCursorVisible();
}

void TerminalEdit::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Escape) {
    event->ignore();  // the dialog's cancel command
    return;
  }
  if (MovesCaret(key) || key == Qt::Key_Tab || key == Qt::Key_Backtab) {
    QPlainTextEdit::keyPressEvent(event);
    return;
  }
  event->accept();
  if (!event->text().isEmpty()) TypeText(event->text());
}

void TerminalEdit::inputMethodEvent(QInputMethodEvent* event) {
  event->accept();
  if (!event->commitString().isEmpty()) TypeText(event->commitString());
}

void TerminalEdit::TypeText(const QString& text) {
  const std::optional<std::string> bytes = Utf8ToCp932(text.toStdString());
  if (!bytes) return;  // no CP932 form: nothing the TA could take
  for (char c : *bytes)
    if (!SendTyped(static_cast<std::uint8_t>(c))) return;
}

bool TerminalEdit::SendTyped(std::uint8_t byte) {
  if (!m_owner) return false;
  LinkOwner& owner = *m_owner;
  owner.ForgetVanishedDevice();
  if (owner.connected == 0 && owner.ConnectTa(kDisplayMessageBox, nullptr, nullptr, 1) != 1)
    return false;  // the failure has been shown; the key is dropped
  // Received bytes go on to the terminal without waiting for a transaction.
  owner.link().mailbox().endTransaction();
  owner.link().Write(&byte, 1);
  return true;
}

}  // namespace m2::setup
