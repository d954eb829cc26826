#pragma once
// Builds a dialog or a property page from its template: each control sits at its rectangle
// in dialog units, converted through the host's font, and carries its numeric control id
// as its object name ("ctl1013"), so views and tests find controls by the template's ids.
#include <QIcon>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "ui_common/dialog_units.h"

class QCheckBox;
class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QRadioButton;

namespace m2::ui {

// A modal dialog's frame: caption, system menu and close box, no minimise or maximise.
inline constexpr Qt::WindowFlags kDialogWindowFlags =
    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

QString ControlName(int id);
void SetControlId(QWidget* widget, int id);

template <class T>
T* FindControl(const QObject* root, int id) {
  return root->findChild<T*>(ControlName(id));
}

class TemplateLayout {
 public:
  explicit TemplateLayout(QWidget* host);

  const DialogUnits& units() const { return m_units; }
  QWidget* host() const { return m_host; }
  // The host's client area gets the template's size and keeps it.
  void setTemplateSize(int w, int h);

  template <class W>
  W* place(W* widget, DluRect r, int id = 0) {
    placeWidget(widget, r, id);
    return widget;
  }
  QLabel* addLabel(const QString& text, DluRect r, int id = 0);
  // An icon at its template position, drawn at the standard 32 × 32 pixels.
  QLabel* addIcon(const QIcon& icon, int x, int y);
  QPushButton* addButton(const QString& text, DluRect r, int id);
  QLineEdit* addEdit(DluRect r, int id);
  // A template's drop-down height includes its open list; the closed box is one line.
  QComboBox* addDropDown(DluRect r, int id, const QStringList& rows);
  QCheckBox* addCheck(const QString& text, DluRect r, int id);
  QRadioButton* addRadio(const QString& text, DluRect r, int id);
  // Group boxes frame their controls from behind, as siblings: the frame at the rectangle,
  // its title on the top line.
  QGroupBox* addGroup(const QString& text, DluRect r, int id = 0);

 private:
  void placeWidget(QWidget* widget, DluRect r, int id);

  QWidget* m_host;
  DialogUnits m_units;
};

// A dialog with a menu bar: the bar on top, the template's client area below it. Controls
// go into the returned client widget.
QWidget* AttachMenuBar(QDialog* dialog, QMenuBar* bar);

}  // namespace m2::ui
