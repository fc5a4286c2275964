// The one way the program shows message boxes, input boxes and masked password boxes.
#pragma once

#include "platform/ui/DialogResponder.h"

#include <QString>

namespace lb::ui {

// Every box goes through the installed responder (see ScriptedDialogs for tests); buttons read
// "确定", "取消", "是", "否". Boxes are modal over the active window.
class Dialogs {
public:
    // The application title, caption of plain message boxes ("朔栎软件" unless set).
    static QString applicationTitle();
    static void setApplicationTitle(const QString& title);

    // Plain OK box; an empty caption gives the application title.
    static void message(const QString& text, const QString& caption = QString());
    // OK boxes with an icon; an empty caption gives "提示", "警告" or "错误".
    static void information(const QString& text, const QString& caption = QString());
    static void warning(const QString& text, const QString& caption = QString());
    static void error(const QString& text, const QString& caption = QString());
    // OK/Cancel question (caption "提示！" unless given): true on OK.
    static bool confirm(const QString& text, const QString& caption = QStringLiteral("提示！"));
    // Yes/No question: true on Yes. With `defaultNo` Enter answers No, for a question whose
    // Yes destroys something.
    static bool yesNo(const QString& text, const QString& caption, bool defaultNo = false);
    // Any box, for the rare one the helpers above do not cover.
    static DialogAnswer show(const DialogRequest& request);

    // Input box; returns the typed text on OK, `defaultText` on Cancel. `ok` (optional) tells which.
    static QString inputBox(const QString& caption, const QString& prompt, const QString& defaultText,
                            bool* ok = nullptr);
    // The same with the typed characters shown as "*".
    static QString passwordBox(const QString& caption, const QString& prompt,
                               const QString& defaultText = QString(), bool* ok = nullptr);

    // Room a box keeps beside its caption for the window manager's icon and buttons, in pixels.
    static constexpr int captionAllowance = 120;
    // Installs a responder (not owned) and returns the one it replaces; nullptr restores the
    // windows of the program.
    static DialogResponder* setResponder(DialogResponder* responder);
};

} // namespace lb::ui
