// Answers boxes from a script in tests and records every box shown.
#include "platform/ui/ScriptedDialogs.h"

#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

namespace lb::ui {

namespace {

// A window standing in for a box while it is answered, with a button of its own that has the
// focus as a real box's has: shown and active in place of the window that was (its owner).
class BoxStandIn : public QWidget {
public:
    explicit BoxStandIn(QWidget* owner) : QWidget(nullptr, Qt::Dialog), owner_(owner)
    {
        setAttribute(Qt::WA_DontShowOnScreen);
        auto* button = new QPushButton(QStringLiteral("确定"), this);
        button->setFocus();
    }
    QWidget* owner() const { return owner_; }

    // The activation back to the owner, unless another window has taken it meanwhile, while
    // the box's button still has the focus, as a window manager gives it back; the box then
    // goes out of sight.
    void giveBack()
    {
        const QWidget* active = QApplication::activeWindow();
        if (owner_ && owner_->isVisible() && (!active || active == this))
            QApplication::setActiveWindow(owner_);
        hide();
    }

private:
    QPointer<QWidget> owner_;
};

// A box shown for the time of one answer: the owner gets the activation back only when the
// event loop next runs, and only then does the stand-in go.
class ShownBox {
public:
    ShownBox(bool takeActivation, std::vector<QPointer<QWidget>>& boxes)
    {
        QWidget* active = QApplication::activeWindow();
        if (!takeActivation || !active)
            return;
        // A box shown before the one before it has given the activation back belongs to the
        // same window.
        const auto* before = dynamic_cast<const BoxStandIn*>(active);
        box_ = new BoxStandIn(before ? before->owner() : active);
        box_->show();
        QApplication::setActiveWindow(box_);
        boxes.emplace_back(box_);
    }
    ~ShownBox()
    {
        if (!box_)
            return;
        QTimer::singleShot(0, box_, [box = box_] {
            box->giveBack();
            box->deleteLater();
        });
    }
    ShownBox(const ShownBox&) = delete;
    ShownBox& operator=(const ShownBox&) = delete;

private:
    BoxStandIn* box_ = nullptr; // in the ScriptedDialogs' list until it deletes itself
};

} // namespace

ScriptedDialogs::ScriptedDialogs() : previous_(Dialogs::setResponder(this)) {}

ScriptedDialogs::~ScriptedDialogs()
{
    Dialogs::setResponder(previous_);
    // Boxes whose activation the event loop has not given back yet.
    for (const QPointer<QWidget>& box : boxes_) {
        if (auto* standIn = dynamic_cast<BoxStandIn*>(box.data())) {
            standIn->giveBack();
            delete standIn;
        }
    }
}

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
    const ShownBox box(takeActivation_, boxes_);
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
    const ShownBox box(takeActivation_, boxes_);
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
