#include "setup_ui/text_limit.h"

#include <QLineEdit>

#include "settings/cp932_length.h"

namespace m2::setup {

namespace {

// Remembers the text before the latest change, which textEdited does not report.
class Cp932Limit final : public QObject {
 public:
  Cp932Limit(QLineEdit* edit, int maxBytes)
      : QObject(edit),
        m_edit(edit),
        m_max(static_cast<std::size_t>(maxBytes)),
        m_current(edit->text()) {
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) {
      m_previous = m_current;
      m_current = text;
    });
    connect(edit, &QLineEdit::textEdited, this, &Cp932Limit::edited);
  }

 private:
  void edited(const QString& text) {
    const QByteArray after = text.toUtf8();
    const QByteArray before = m_previous.toUtf8();
    const LimitedEdit limited =
        LimitEdit({before.constData(), static_cast<std::size_t>(before.size())},
                  {after.constData(), static_cast<std::size_t>(after.size())}, m_max);
    const QString cut = QString::fromStdString(limited.text);
    if (cut == text) return;
    m_edit->setText(cut);
    m_edit->setCursorPosition(static_cast<int>(
        QString::fromUtf8(limited.text.data(), static_cast<qsizetype>(limited.cursor)).size()));
  }

  QLineEdit* m_edit;
  std::size_t m_max;
  QString m_previous;
  QString m_current;
};

}  // namespace

void LimitCp932Bytes(QLineEdit* edit, int maxBytes) { new Cp932Limit(edit, maxBytes); }

}  // namespace m2::setup
