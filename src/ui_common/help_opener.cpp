#include "ui_common/help_opener.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTabWidget>

#include "ui_common/message_box.h"

namespace m2::ui {

namespace {
std::function<bool(const QUrl&)>& Opener() {
  static std::function<bool(const QUrl&)> opener;
  return opener;
}

QString& GuideFolder() {
  static QString folder;
  return folder;
}

// The guide is installed beside the programs, one folder per language; a build tree uses
// the copy the build made. A test's own folder holds its guides directly.
QString GuideFile(const QString& name) {
  QString folder = GuideFolder();
  if (folder.isEmpty()) {
    const QString language =
        GuideLanguage(qEnvironmentVariable("LC_ALL"), qEnvironmentVariable("LC_MESSAGES"),
                      qEnvironmentVariable("LANG"));
    folder = QCoreApplication::applicationDirPath() +
             QStringLiteral("/../share/m2klx/help/") + language;
  }
  const QFileInfo file(folder + QLatin1Char('/') + name);
  return file.isFile() ? file.canonicalFilePath() : QString();
}

// Topics from the most specific on: each window's current tab page, then the window.
QStringList TopicNames(const QWidget* widget) {
  QStringList names;
  for (const QWidget* w = widget ? widget->window() : nullptr; w;
       w = w->parentWidget() ? w->parentWidget()->window() : nullptr) {
    for (const QTabWidget* tabs : w->findChildren<const QTabWidget*>()) {
      if (tabs->window() != w || !tabs->currentWidget()) continue;  // not in a child window
      names << tabs->currentWidget()->objectName();
      break;
    }
    names << w->objectName();
  }
  return names;
}

class HelpKeyFilter final : public QObject {
 public:
  HelpKeyFilter(QWidget* mainWindow, QString guideName,
                std::function<void(const QString& section)> showHelp)
      : QObject(mainWindow), m_guideName(std::move(guideName)), m_showHelp(std::move(showHelp)) {
    qApp->installEventFilter(this);
  }

 protected:
  // An application shortcut would be blocked while a modal dialog is open; the key itself
  // reaches every window.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
      return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier || !watched->isWidgetType())
      return false;
    event->accept();
    if (event->type() == QEvent::KeyPress && !key->isAutoRepeat())
      m_showHelp(HelpSectionFor(static_cast<QWidget*>(watched), m_guideName));
    return true;
  }

 private:
  QString m_guideName;
  std::function<void(const QString& section)> m_showHelp;
};
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

QString HelpSectionFor(const QWidget* widget, const QString& guideName) {
  const QStringList names = TopicNames(widget);
  QFile guide(GuideFile(guideName));
  if (guide.open(QIODevice::ReadOnly)) {
    const QByteArray text = guide.readAll();
    for (const QString& name : names)
      if (!name.isEmpty() && text.contains("id=\"" + name.toUtf8() + '"')) return name;
  }
  return widget ? widget->window()->objectName() : QString();
}

void InstallHelpKey(QWidget* mainWindow, const QString& guideName,
                    std::function<void(const QString& section)> showHelp) {
  new HelpKeyFilter(mainWindow, guideName, std::move(showHelp));
}

void SetUrlOpener(std::function<bool(const QUrl&)> opener) { Opener() = std::move(opener); }

void SetGuideFolder(const QString& folder) { GuideFolder() = folder; }

}  // namespace m2::ui
