// Tab leaves a multi-line box as it leaves every other box, never typing a tab into it.
#pragma once

#include <QObject>

class QCoreApplication;

namespace lb::ui {

// Qt's multi-line boxes take Tab as text: a tab character typed into a note (invisible, stored
// and printed), the keyboard kept in the box, Shift+Tab its only way out. In every window of the
// program, Tab and Shift+Tab in an editable multi-line box (a QPlainTextEdit) move the focus to
// the next or previous control of the window's tab order, as from a one-line box, and Ctrl+Tab
// and Ctrl+Shift+Tab do so too, as they leave a grid; the box's text stays as it was. Alt and the
// Meta key with Tab are left to the desktop.
class MultiLineKeys : public QObject {
    Q_OBJECT
public:
    // Installs the keys for every window; the application object installs them once and owns
    // them.
    static void install(QCoreApplication& application);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};

} // namespace lb::ui
