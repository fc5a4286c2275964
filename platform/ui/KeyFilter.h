// Restricts what can be typed into edit boxes: digits; digits and "-"; digits and "."; a length.
#pragma once

#include <QObject>
#include <QString>

class QLineEdit;
class QWidget;

namespace lb::db {
class DataSet;
}

namespace lb::ui {

// An event filter that drops typed characters outside an allowed set. Backspace, Enter and
// keys that type nothing (arrows, Delete, function keys) pass; so do shortcuts except paste,
// which is dropped when the clipboard holds a character outside the set. Text committed by
// an input method is filtered to the allowed characters too.
class KeyFilter : public QObject {
    Q_OBJECT
public:
    enum class Allowed { Digits, DigitsAndMinus, DigitsAndPoint };

    KeyFilter(Allowed allowed, QObject* parent);
    // Installs a filter owned by `widget` and returns it.
    static KeyFilter* install(QWidget* widget, Allowed allowed);

    bool accepts(QChar c) const;
    // `text` with the characters outside the set removed.
    QString filtered(const QString& text) const;

    // Limits `edit` to the characters the text field `fieldName` of `rows` holds, so that what
    // is typed is what is stored. Persistent fields are known while `rows` is closed; a number,
    // a memo or a field `rows` lacks leaves the box unlimited.
    static void limitLength(QLineEdit* edit, const lb::db::DataSet& rows, const QString& fieldName);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Allowed allowed_;
};

} // namespace lb::ui
