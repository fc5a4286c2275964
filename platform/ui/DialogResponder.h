// What a message, input or password box asks, and the interface of whoever answers it.
#pragma once

#include <QString>
#include <optional>

namespace lb::ui {

enum class DialogIcon { None, Information, Warning, Error, Question };
enum class DialogButtons { Ok, OkCancel, YesNo };
enum class DialogAnswer { Ok, Cancel, Yes, No };

// One box as the user sees it.
struct DialogRequest {
    enum class Kind { Message, Input, Password };
    Kind kind = Kind::Message;
    QString caption;
    QString text;             // the message, or the prompt of an input box
    DialogIcon icon = DialogIcon::None;
    DialogButtons buttons = DialogButtons::Ok;
    bool negativeDefault = false; // questions: "取消"/"否" is the default button, not the first
    QString defaultText;      // input boxes: the text the edit starts with
};

// Shows boxes and returns the user's answer: real windows in the program, a script in tests.
class DialogResponder {
public:
    virtual ~DialogResponder() = default;
    // A message box; the answer is one of its buttons.
    virtual DialogAnswer ask(const DialogRequest& request) = 0;
    // An input or password box; the typed text on "确定", nothing on "取消".
    virtual std::optional<QString> askText(const DialogRequest& request) = 0;
};

} // namespace lb::ui
