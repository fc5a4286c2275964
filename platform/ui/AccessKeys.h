// Alt with a letter is a window's access key, never text typed into one of its boxes.
#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace lb::ui {

// A caption with "&" before a letter ("过帐&O") gives its button that letter as access key:
// Alt and the letter click it while it is shown and enabled. Qt then leaves the key to the
// focused widget, and a text box would type the letter; the desktop's access keys never type.
class AccessKeys : public QObject {
    Q_OBJECT
public:
    // Within `window`, the cell editors of its grids included, an Alt letter that no shown,
    // enabled access key of the window takes does nothing. The guard is owned by the window.
    static void guard(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit AccessKeys(QWidget* window);

    QPointer<QWidget> window_;
};

} // namespace lb::ui
