#pragma once
// Help: the program's help file (a bare name such as "M2Setup.hlp") is opened from the
// current directory when it is there; otherwise our own HTML guide in the user's language
// (Japanese or English), at the section of the dialog asking. Either is handed to the
// desktop's opener.
#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

namespace m2::ui {

struct HelpRequest {
  QString helpFileName;  // looked up in the current directory
  QString guideName;     // our guide, e.g. "M2Setup.html"; empty when there is none
  QString section;       // anchor in the guide: the asking dialog's class name
};

// The guide's language, "ja" or "en", from the locale variables LC_ALL, LC_MESSAGES and LANG:
// Japanese when the one in effect starts with "ja".
QString GuideLanguage(const QString& lcAll, const QString& lcMessages, const QString& lang);

// The URL that would be opened, or an empty URL when neither document exists.
QUrl HelpUrl(const HelpRequest& request);
// false when there is nothing to open or the desktop could not open it.
bool OpenHelp(const HelpRequest& request);
// OpenHelp, and when nothing opens, a message box over parent that says so.
void OpenHelpOrSay(const HelpRequest& request, QWidget* parent, const QString& title);
// F1 in any window of the program, modal dialogs included, asks for the help topic of the
// window it was pressed in: the first of these names the guide has a section for: the
// window's current tab page, the window, then the windows it belongs to (a message box: its
// parent's topic). Names are object names (class names). Without a readable guide, the
// window's own name.
void InstallHelpKey(QWidget* mainWindow, const QString& guideName,
                    std::function<void(const QString& section)> showHelp);
// The section F1 asks for when pressed in widget.
QString HelpSectionFor(const QWidget* widget, const QString& guideName);

// Tests replace the desktop's opener; an empty function restores it.
void SetUrlOpener(std::function<bool(const QUrl&)> opener);
// Tests put the guides in a folder of their own; an empty name restores the installed ones.
void SetGuideFolder(const QString& folder);

}  // namespace m2::ui
