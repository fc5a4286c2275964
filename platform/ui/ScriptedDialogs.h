// Answers boxes from a script in tests and records every box shown.
#pragma once

#include "platform/ui/DialogResponder.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <deque>
#include <variant>
#include <vector>

namespace lb::ui {

// Installs itself as the dialog responder for its lifetime. OK-only boxes need no answer;
// every question and input box takes the next scripted answer in order. A box whose next
// answer is missing or does not fit it gets the negative answer (Cancel, No, cancelled input)
// and is counted in unanswered(), so a test sees a question it did not expect.
class ScriptedDialogs : public DialogResponder {
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // Queues the button pressed on the next OK/Cancel or Yes/No box.
    ScriptedDialogs& answer(DialogAnswer answer);
    // Queues the text typed into the next input or password box, confirmed with OK.
    ScriptedDialogs& type(const QString& text);
    // Queues Cancel on the next input or password box.
    ScriptedDialogs& cancelInput();
    // With `on`, each box takes the activation from the active window while it is shown, as a
    // real box does (the focus goes to the box's own button, an open cell editor closes), and
    // the window gets it back only when the event loop next runs, from the box's button, as a
    // window manager gives it back after the box has gone: what the command does meanwhile
    // happens in an inactive window.
    void takeActivation(bool on) { takeActivation_ = on; }

    const std::vector<DialogRequest>& shown() const { return shown_; }
    // The texts (message or prompt) of the boxes shown, in order.
    QStringList texts() const;
    // "caption|text" of each box shown, in order.
    QStringList captionsAndTexts() const;
    QString lastText() const;
    int unanswered() const { return unanswered_; }
    int pending() const { return int(script_.size()); }
    void clear();

    DialogAnswer ask(const DialogRequest& request) override;
    std::optional<QString> askText(const DialogRequest& request) override;

private:
    struct CancelInput {};
    using Step = std::variant<DialogAnswer, QString, CancelInput>;
    std::deque<Step> script_;
    std::vector<DialogRequest> shown_;
    int unanswered_ = 0;
    bool takeActivation_ = false;
    std::vector<QPointer<QWidget>> boxes_; // the stand-ins of boxes shown, until each deletes itself
    DialogResponder* previous_ = nullptr;
};

} // namespace lb::ui
