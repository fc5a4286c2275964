// The splash window shown at start while the option flashbj is set.
#pragma once

#include <QDialog>

class QLabel;
class QTimer;

namespace lb::core {

// Modal, borderless, centred on the screen; its timer closes it after 3000 ms. A click on the
// picture asks whether to show it at later starts; "否" clears flashbj. The timer stands still
// while the question is open, so the window never closes under the user's answer.
class TFrflash : public QDialog {
    Q_OBJECT
public:
    explicit TFrflash(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;  // the picture, stretched over the window
    QLabel* Label1 = nullptr;  // "欢迎使用"
    QTimer* Timer1 = nullptr;  // 3000 ms, single shot

    // The click on the picture.
    void Image1Click();

    // The splash picture: a purple gradient with the product name.
    static QPixmap picture(const QSize& size);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace lb::core
