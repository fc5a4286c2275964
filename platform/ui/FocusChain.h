// Moves the focus with Enter along a fixed order, and with Up and Down through the tab order.
#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

namespace lb::ui {

// An event filter configured by the window that owns it (pass the window as parent).
// Enter in a linked widget moves the focus to its successor; on a button at the end of the
// chain it presses the button, as everywhere (ButtonKeys). Up and Down in the widgets given to
// setArrowKeys move to the previous or next focusable control of the window's tab order.
class FocusChain : public QObject {
    Q_OBJECT
public:
    explicit FocusChain(QObject* parent);

    // Enter in `from` moves to `to`.
    void link(QWidget* from, QWidget* to);
    // Links each widget to the next; with `wrap` the last leads back to the first.
    void setOrder(const QList<QWidget*>& order, bool wrap = false);
    enum Arrows { Up = 1, Down = 2, UpAndDown = 3 };
    void setArrowKeys(const QList<QWidget*>& widgets, Arrows arrows = UpAndDown);

    // The next or previous focusable control after `from` in its window's tab order.
    static QWidget* neighbour(QWidget* from, bool forward);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watch(QWidget* widget);

    QHash<QWidget*, QPointer<QWidget>> next_;
    QHash<QWidget*, int> arrows_;
    QList<QWidget*> watched_;
};

} // namespace lb::ui
