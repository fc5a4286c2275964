// What a picker knows of the window that opened it: the opener, its line, and closing with it.
#include "masterdata/PickerLink.h"
#include "platform/ui/GuardSlot.h"

#include <QEvent>
#include <QWidget>

namespace lb::masterdata {

PickerLink::PickerLink(QWidget& picker, PickTarget& target)
    : QObject(&picker), picker_(picker), window_(target.pickWindow()), target_(&target),
      lineIntno_(PickWriteBack::currentLine(target))
{
    if (window_) {
        window_->installEventFilter(this);
        connect(window_, &QObject::destroyed, &picker_, lb::ui::guardSlot(&picker_, [this] { picker_.close(); }));
    }
}

bool PickerLink::apply(PickList list, lb::core::PickCode code, lb::db::DataSet& source, const QString& selectedField) const
{
    PickTarget* opener = target();
    return opener && PickWriteBack::apply(list, code, *opener, source, lineIntno_, selectedField);
}

bool PickerLink::eventFilter(QObject* watched, QEvent* event)
{
    // A picker does not outlive its opener: it closes through its own close steps first.
    if (watched == window_ && event->type() == QEvent::Close)
        picker_.close();
    return QObject::eventFilter(watched, event);
}

} // namespace lb::masterdata
