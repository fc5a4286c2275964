// Answers boxes from a script in tests and records every box shown.
#include "platform/ui/ScriptedDialogs.h"

#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

namespace lb::ui {

namespace {

// A window standing in for a box while it is answered: shown and active in place of the window
// that was, which is activated again from the event loop once the box has gone.
class ShownBox {
public:
    explicit ShownBox(bool takeActivation)
    {
        if (!takeActivation || !QApplication::activeWindow())
            return;
        owner_ = QApplication::activeWindow();
        box_ = std::make_unique<QWidget>(nullptr, Qt::Dialog);
        box_->setAttribute(Qt::WA_DontShowOnScreen);
        box_->show();
        QApplication::setActiveWindow(box_.get());
    }
    ~ShownBox()
    {
        if (!box_)
            return;
        box_->hide();
        box_.reset();
        QTimer::singleShot(0, qApp, [owner = owner_] {
            if (owner && owner->isVisible() && !QApplication::activeWindow())
                QApplication::setActiveWindow(owner);
        });
    }
    ShownBox(const ShownBox&) = delete;
    ShownBox& operator=(const ShownBox&) = delete;

private:
    QPointer<QWidget> owner_;
    std::unique_ptr<QWidget> box_;
};

} // namespace

ScriptedDialogs::ScriptedDialogs() : previous_(Dialogs::setResponder(this)) {}

ScriptedDialogs::~ScriptedDialogs() { Dialogs::setResponder(previous_); }

ScriptedDialogs& ScriptedDialogs::answer(DialogAnswer value)
{
    script_.emplace_back(value);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::type(const QString& text)
{
    script_.emplace_back(text);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::cancelInput()
{
    script_.emplace_back(CancelInput{});
    return *this;
}

QStringList ScriptedDialogs::texts() const
{
    QStringList list;
    for (const DialogRequest& request : shown_)
        list << request.text;
    return list;
}

QStringList ScriptedDialogs::captionsAndTexts() const
{
    QStringList list;
    for (const DialogRequest& request : shown_)
        list << request.caption + '|' + request.text;
    return list;
}

QString ScriptedDialogs::lastText() const { return shown_.empty() ? QString() : shown_.back().text; }

void ScriptedDialogs::clear()
{
    script_.clear();
    shown_.clear();
    unanswered_ = 0;
}

DialogAnswer ScriptedDialogs::ask(const DialogRequest& request)
{
    const ShownBox box(takeActivation_);
    shown_.push_back(request);
    if (request.buttons == DialogButtons::Ok)
        return DialogAnswer::Ok;
    const DialogAnswer negative = request.buttons == DialogButtons::YesNo ? DialogAnswer::No : DialogAnswer::Cancel;
    if (script_.empty() || !std::holds_alternative<DialogAnswer>(script_.front())) {
        ++unanswered_;
        return negative;
    }
    const DialogAnswer value = std::get<DialogAnswer>(script_.front());
    script_.pop_front();
    const bool fits = request.buttons == DialogButtons::YesNo
        ? (value == DialogAnswer::Yes || value == DialogAnswer::No)
        : (value == DialogAnswer::Ok || value == DialogAnswer::Cancel);
    if (!fits) {
        ++unanswered_;
        return negative;
    }
    return value;
}

std::optional<QString> ScriptedDialogs::askText(const DialogRequest& request)
{
    const ShownBox box(takeActivation_);
    shown_.push_back(request);
    if (script_.empty() || std::holds_alternative<DialogAnswer>(script_.front())) {
        ++unanswered_;
        return std::nullopt;
    }
    const Step step = script_.front();
    script_.pop_front();
    if (std::holds_alternative<CancelInput>(step))
        return std::nullopt;
    return std::get<QString>(step);
}

} // namespace lb::ui
