#include "ui_common/help_opener.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QShortcut>

#include "ui_common/message_box.h"

namespace m2::ui {

namespace {
std::function<bool(const QUrl&)>& Opener() {
  static std::function<bool(const QUrl&)> opener;
  return opener;
}

// The guide is installed beside the programs, one folder per language; a build tree uses
// the copy the build made.
QString GuideFile(const QString& name) {
  const QString language =
      GuideLanguage(qEnvironmentVariable("LC_ALL"), qEnvironmentVariable("LC_MESSAGES"),
                    qEnvironmentVariable("LANG"));
  const QString beside = QCoreApplication::applicationDirPath() +
                         QStringLiteral("/../share/m2klx/help/%1/").arg(language) + name;
  return QFileInfo(beside).isFile() ? QFileInfo(beside).canonicalFilePath() : QString();
}
}  // namespace

QString GuideLanguage(const QString& lcAll, const QString& lcMessages, const QString& lang) {
  // As for any message catalogue: the first of the three that is set and not empty counts.
  const QString& locale = !lcAll.isEmpty() ? lcAll : !lcMessages.isEmpty() ? lcMessages : lang;
  return locale.startsWith(QLatin1String("ja")) ? QStringLiteral("ja") : QStringLiteral("en");
}

QUrl HelpUrl(const HelpRequest& request) {
  const QFileInfo helpFile(QDir::current(), request.helpFileName);
  if (!request.helpFileName.isEmpty() && helpFile.isFile())
    return QUrl::fromLocalFile(helpFile.absoluteFilePath());
  if (request.guideName.isEmpty()) return {};
  const QString guide = GuideFile(request.guideName);
  if (guide.isEmpty()) return {};
  QUrl url = QUrl::fromLocalFile(guide);
  if (!request.section.isEmpty()) url.setFragment(request.section);
  return url;
}

bool OpenHelp(const HelpRequest& request) {
  const QUrl url = HelpUrl(request);
  if (url.isEmpty()) return false;
  if (Opener()) return Opener()(url);
  return QDesktopServices::openUrl(url);
}

void OpenHelpOrSay(const HelpRequest& request, QWidget* parent, const QString& title) {
  if (OpenHelp(request)) return;
  ShowOkMessage(parent, title,
                QStringLiteral("ﾍﾙﾌﾟを表示できません。%1 も %2 も開けませんでした。")
                    .arg(QFileInfo(request.helpFileName).fileName(), request.guideName));
}

void InstallHelpKey(QWidget* mainWindow, std::function<void(const QString& section)> showHelp) {
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), mainWindow);
  f1->setContext(Qt::ApplicationShortcut);
  QObject::connect(f1, &QShortcut::activated, mainWindow, [mainWindow, showHelp] {
    const QWidget* active = QApplication::activeWindow();
    showHelp(active ? active->objectName() : mainWindow->objectName());
  });
}

void SetUrlOpener(std::function<bool(const QUrl&)> opener) { Opener() = std::move(opener); }

}  // namespace m2::ui
