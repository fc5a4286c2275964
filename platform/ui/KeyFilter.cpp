// Restricts what can be typed into edit boxes: digits; digits and "-"; digits and "."; a length.
#include "platform/ui/KeyFilter.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

#include "platform/db/DataSet.h"

namespace lb::ui {

KeyFilter::KeyFilter(Allowed allowed, QObject* parent) : QObject(parent), allowed_(allowed) {}

void KeyFilter::limitLength(QLineEdit* edit, const lb::db::DataSet& rows, const QString& fieldName)
{
    const lb::db::Field* field = rows.findField(fieldName);
    if (field && field->dataType() == lb::db::FieldType::Text && field->size() > 0)
        edit->setMaxLength(field->size());
}

KeyFilter* KeyFilter::install(QWidget* widget, Allowed allowed)
{
    auto* filter = new KeyFilter(allowed, widget);
    widget->installEventFilter(filter);
    // Input method text reaches the widget only while it asks for input method events.
    widget->setAttribute(Qt::WA_InputMethodEnabled, true);
    return filter;
}

bool KeyFilter::accepts(QChar c) const
{
    if (c >= '0' && c <= '9')
        return true;
    switch (allowed_) {
    case Allowed::Digits: return false;
    case Allowed::DigitsAndMinus: return c == '-';
    case Allowed::DigitsAndPoint: return c == '.';
    }
    return false;
}

QString KeyFilter::filtered(const QString& text) const
{
    QString kept;
    for (const QChar c : text)
        if (accepts(c))
            kept += c;
    return kept;
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste)) {
            const QClipboard* clipboard = QGuiApplication::clipboard();
            const QString text = clipboard ? clipboard->text() : QString();
            return filtered(text) != text;
        }
        const QString text = key->text();
        // Control characters (backspace, Enter, shortcuts) and keys without text pass.
        if (text.isEmpty() || text.at(0).unicode() < 0x20 || text.at(0).unicode() == 0x7f)
            return false;
        return filtered(text) != text;
    }
    if (event->type() == QEvent::InputMethod) {
        auto* input = static_cast<QInputMethodEvent*>(event);
        const QString commit = input->commitString();
        if (!commit.isEmpty() && filtered(commit) != commit)
            input->setCommitString(filtered(commit), input->replacementStart(), input->replacementLength());
        return false;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace lb::ui
