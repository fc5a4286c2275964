// The one way the program shows message boxes, input boxes and masked password boxes.
#include "platform/ui/Dialogs.h"
#include "platform/ui/GuardSlot.h"
#include "platform/ui/WindowPlacement.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace lb::ui {

namespace {

// The window a box belongs to: the active one. Right after a box closes, the window system
// may not yet have handed the activation back, so a box asked for then belongs to the window
// the previous box belonged to (a window that stays on top would otherwise hide it).
QWidget* boxOwner()
{
    static QPointer<QWidget> last;
    if (QWidget* active = QApplication::activeWindow()) {
        last = active;
        return active;
    }
    return last && last->isVisible() ? last.data() : nullptr;
}

// Texts written for the other platform break their lines with carriage returns, which a label
// would not break at.
QString withLineBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// A box sizes itself to its text and buttons only; a short text would cut its caption, which
// the window manager draws beside its own buttons.
void widenForCaption(QMessageBox& box, const QString& caption)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    const int width = box.fontMetrics().horizontalAdvance(caption) + Dialogs::captionAllowance;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

// Real windows: Qt's message box and a small input dialog with the program's button texts.
class WindowResponder : public DialogResponder {
public:
    DialogAnswer ask(const DialogRequest& request) override
    {
        QMessageBox box(boxOwner());
        WindowPlacement::raiseOver(box, box.parentWidget());
        box.setWindowTitle(request.caption);
        box.setText(withLineBreaks(request.text));
        box.setIcon(messageIcon(request.icon));
        widenForCaption(box, request.caption); // after the icon, which lays the box out anew
        switch (request.buttons) {
        case DialogButtons::Ok:
            box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
            box.exec();
            return DialogAnswer::Ok;
        case DialogButtons::OkCancel:
            return askTwo(box, {QStringLiteral("确定"), QMessageBox::AcceptRole, DialogAnswer::Ok},
                          {QStringLiteral("取消"), QMessageBox::RejectRole, DialogAnswer::Cancel}, request.negativeDefault);
        case DialogButtons::YesNo:
            return askTwo(box, {QStringLiteral("是"), QMessageBox::YesRole, DialogAnswer::Yes},
                          {QStringLiteral("否"), QMessageBox::NoRole, DialogAnswer::No}, request.negativeDefault);
        }
        return DialogAnswer::Cancel;
    }

    std::optional<QString> askText(const DialogRequest& request) override
    {
        QDialog dialog(boxOwner());
        WindowPlacement::raiseOver(dialog, dialog.parentWidget());
        dialog.setWindowTitle(request.caption);
        dialog.setWindowFlags(dialog.windowFlags() & ~Qt::WindowContextHelpButtonHint);
        auto* layout = new QVBoxLayout(&dialog);
        auto* prompt = new QLabel(withLineBreaks(request.text), &dialog);
        prompt->setWordWrap(true);
        layout->addWidget(prompt);
        auto* edit = new QLineEdit(request.defaultText, &dialog);
        edit->setMaxLength(255);
        if (request.kind == DialogRequest::Kind::Password)
            edit->setEchoMode(QLineEdit::Password);
        edit->selectAll();
        layout->addWidget(edit);
        auto* buttons = new QDialogButtonBox(&dialog);
        QPushButton* ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
        buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
        ok->setDefault(true);
        QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, guardSlot(&dialog, [&dialog] { dialog.accept(); }));
        QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, guardSlot(&dialog, [&dialog] { dialog.reject(); }));
        layout->addWidget(buttons);
        dialog.setFixedSize(dialog.sizeHint().expandedTo(QSize(300, 0)));
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return edit->text();
    }

private:
    struct Button {
        QString text;
        QMessageBox::ButtonRole role;
        DialogAnswer answer;
    };

    // A question: the first button is the default unless `secondDefault`; the second answers
    // Escape and the close box.
    static DialogAnswer askTwo(QMessageBox& box, const Button& first, const Button& second, bool secondDefault)
    {
        QPushButton* firstButton = box.addButton(first.text, first.role);
        QPushButton* secondButton = box.addButton(second.text, second.role);
        box.setDefaultButton(secondDefault ? secondButton : firstButton);
        box.setEscapeButton(secondButton);
        box.exec();
        return box.clickedButton() == firstButton ? first.answer : second.answer;
    }

    static QMessageBox::Icon messageIcon(DialogIcon icon)
    {
        switch (icon) {
        case DialogIcon::None: return QMessageBox::NoIcon;
        case DialogIcon::Information: return QMessageBox::Information;
        case DialogIcon::Warning: return QMessageBox::Warning;
        case DialogIcon::Error: return QMessageBox::Critical;
        case DialogIcon::Question: return QMessageBox::Question;
        }
        return QMessageBox::NoIcon;
    }
};

WindowResponder windowResponder;
DialogResponder* installed = nullptr;

QString& title()
{
    static QString value = QStringLiteral("朔栎软件");
    return value;
}

DialogResponder& responder() { return installed ? *installed : windowResponder; }

DialogAnswer showBox(const QString& text, const QString& caption, DialogIcon icon, DialogButtons buttons)
{
    DialogRequest request;
    request.caption = caption;
    request.text = text;
    request.icon = icon;
    request.buttons = buttons;
    return Dialogs::show(request);
}

QString askText(DialogRequest::Kind kind, const QString& caption, const QString& prompt,
                const QString& defaultText, bool* ok)
{
    DialogRequest request;
    request.kind = kind;
    request.caption = caption;
    request.text = prompt;
    request.buttons = DialogButtons::OkCancel;
    request.defaultText = defaultText;
    const std::optional<QString> answer = responder().askText(request);
    if (ok)
        *ok = answer.has_value();
    return answer.value_or(defaultText);
}

} // namespace

QString Dialogs::applicationTitle() { return title(); }

void Dialogs::setApplicationTitle(const QString& value) { title() = value; }

void Dialogs::message(const QString& text, const QString& caption)
{
    showBox(text, caption.isEmpty() ? title() : caption, DialogIcon::None, DialogButtons::Ok);
}

void Dialogs::information(const QString& text, const QString& caption)
{
    showBox(text, caption.isEmpty() ? QStringLiteral("提示") : caption, DialogIcon::Information,
            DialogButtons::Ok);
}

void Dialogs::warning(const QString& text, const QString& caption)
{
    showBox(text, caption.isEmpty() ? QStringLiteral("警告") : caption, DialogIcon::Warning,
            DialogButtons::Ok);
}

void Dialogs::error(const QString& text, const QString& caption)
{
    showBox(text, caption.isEmpty() ? QStringLiteral("错误") : caption, DialogIcon::Error,
            DialogButtons::Ok);
}

bool Dialogs::confirm(const QString& text, const QString& caption)
{
    return showBox(text, caption, DialogIcon::Question, DialogButtons::OkCancel) == DialogAnswer::Ok;
}

bool Dialogs::yesNo(const QString& text, const QString& caption, bool defaultNo)
{
    DialogRequest request;
    request.caption = caption;
    request.text = text;
    request.icon = DialogIcon::Question;
    request.buttons = DialogButtons::YesNo;
    request.negativeDefault = defaultNo;
    return show(request) == DialogAnswer::Yes;
}

DialogAnswer Dialogs::show(const DialogRequest& request) { return responder().ask(request); }

QString Dialogs::inputBox(const QString& caption, const QString& prompt, const QString& defaultText, bool* ok)
{
    return askText(DialogRequest::Kind::Input, caption, prompt, defaultText, ok);
}

QString Dialogs::passwordBox(const QString& caption, const QString& prompt, const QString& defaultText, bool* ok)
{
    return askText(DialogRequest::Kind::Password, caption, prompt, defaultText, ok);
}

DialogResponder* Dialogs::setResponder(DialogResponder* responder)
{
    DialogResponder* previous = installed;
    installed = responder;
    return previous;
}

} // namespace lb::ui
