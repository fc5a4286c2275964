// What a picker knows of the window that opened it: the opener, its line, and closing with it.
#pragma once

#include "masterdata/PickWriteBack.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace lb::db {
class DataSet;
}

namespace lb::masterdata {

// Binds a picker window to its opener. It remembers the opener's current document line when
// the picker opens (a pick writes there or nowhere) and closes the picker, through the
// picker's own close steps, when the opener closes or is destroyed. A child of the picker.
class PickerLink : public QObject {
    Q_OBJECT
public:
    PickerLink(QWidget& picker, PickTarget& target);

    // The opener, or nullptr once its window is gone. Not owned.
    PickTarget* target() const { return window_ ? target_ : nullptr; }
    // Writes the current row of `source` into the opener by the list's rule for `code`;
    // nothing when the opener is gone (PickWriteBack::apply).
    bool apply(PickList list, lb::core::PickCode code, lb::db::DataSet& source, const QString& selectedField) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& picker_;
    QPointer<QWidget> window_;
    PickTarget* target_;
    QString lineIntno_;
};

} // namespace lb::masterdata
