#include "setup_ui/confirm_dialogs.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "setup_ui/setup_strings.h"
#include "ui_common/template_layout.h"

namespace m2::setup {

StartupErrorDialog::StartupErrorDialog(const QString& message, QWidget* parent,
                                       const QString& detail)
    : QuestionDialog({"起動時のエラー：確認",
                      215,
                      76,
                      {{"ﾊﾟｿｺﾝ通信ﾎﾟｰﾄの受信待ちﾀｲﾏがﾀｲﾑｱｳﾄしました", {36, 10, 172, 8}, kMessageLine},
                       {"簡単設定ﾕｰﾃｨﾘﾃｨを終了しますか？", {36, 26, 172, 8}, kQuestionLine}},
                      {{"はい(&Y)", kIdOk, {50, 52, 50, 14}}, {"いいえ(&N)", kIdCancel, {115, 52, 50, 14}}},
                      kIdOk},
                     kAppIcon, parent) {
  setObjectName(QStringLiteral("StartupErrorDialog"));
  line(kMessageLine)->setText(message);
  if (detail.isEmpty()) return;
  constexpr int kDetailHeight = 18;  // two lines of text and a gap
  ui::TemplateLayout layout(this);
  layout.addLabel(detail, {36, 22, 172, kDetailHeight}, kDetailLine);
  const int shift = layout.units().y(kDetailHeight);
  QLabel* question = line(kQuestionLine);
  question->move(question->pos() + QPoint(0, shift));
  for (int id : {kIdOk, kIdCancel}) button(id)->move(button(id)->pos() + QPoint(0, shift));
  setFixedSize(size() + QSize(0, shift));
}

ExitConfirmDialog::ExitConfirmDialog(QWidget* parent)
    : QuestionDialog({"ｱﾌﾟﾘｹｰｼｮﾝの終了：確認",
                      187,
                      69,
                      {{"現在の設定内容を保存して終了しますか？", {30, 16, 154, 8}}},
                      {{"はい(&Y)", kIdOk, {12, 46, 50, 14}},
                       {"いいえ(&N)", kNoId, {68, 46, 50, 14}},
                       {"ｷｬﾝｾﾙ", kIdCancel, {124, 46, 50, 14}}},
                      kIdOk},
                     kAppIcon, parent) {
  setObjectName(QStringLiteral("ExitConfirmDialog"));
}

ReadConfirmDialog::ReadConfirmDialog(QWidget* parent, std::function<void()> read,
                                     std::function<void()> defaults)
    : QuestionDialog({"ｵﾙﾊﾞﾝﾃM-2KLXから読み込み：確認",
                      214,
                      69,
                      {{"ｵﾙﾊﾞﾝﾃM-2KLXから設定内容を読み込みますか？", {36, 16, 172, 8}}},
                      {{"はい(&Y)", kReadId, {14, 46, 48, 14}},
                       {"いいえ(&N)", kIdCancel, {68, 46, 48, 14}},
                       {"ﾃﾞﾌｫﾙﾄ値を読み込む(&D)", kDefaultsId, {122, 46, 86, 14}}},
                      0},
                     kAppIcon, parent),
      m_read(std::move(read)),
      m_defaults(std::move(defaults)) {
  setObjectName(QStringLiteral("ReadConfirmDialog"));
}

void ReadConfirmDialog::onButton(int id) {
  if (id == kReadId && m_read) m_read();
  if (id == kDefaultsId && m_defaults) m_defaults();
  done(id);
}

void ReadConfirmDialog::keyPressEvent(QKeyEvent* event) {
  // No button is the default: Enter closes the dialog and nothing is read.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    done(kIdOk);
    return;
  }
  QuestionDialog::keyPressEvent(event);
}

DefaultsConfirmDialog::DefaultsConfirmDialog(QWidget* parent, std::function<void()> resetAndRead)
    : QuestionDialog({"ﾃﾞﾌｫﾙﾄ値を読み込む：確認",
                      201,
                      75,
                      {{"ｵﾙﾊﾞﾝﾃM-2KLXの設定内容を初期化し、", {36, 12, 160, 8}},
                       {"その内容を読み込みます。実行しますか？", {36, 24, 160, 8}}},
                      {{"はい(&Y)", kIdOk, {45, 52, 50, 14}}, {"いいえ(&N)", kIdCancel, {106, 52, 50, 14}}},
                      kIdOk},
                     kAppIcon, parent),
      m_resetAndRead(std::move(resetAndRead)) {
  setObjectName(QStringLiteral("DefaultsConfirmDialog"));
}

void DefaultsConfirmDialog::onButton(int id) {
  if (id == kIdOk && m_resetAndRead) m_resetAndRead();
  done(id);
}

}  // namespace m2::setup
