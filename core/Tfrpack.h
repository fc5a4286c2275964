// The compaction window "数据整理": rows left without a key are deleted, then the file compacted.
#pragma once

#include "platform/ui/WorkWindow.h"

class QLabel;
class QPushButton;

namespace lb::core {

// Opened by the main menu's "数据压缩整理" with the main window disabled; stays on top and open
// after the work, until "退回".
class Tfrpack : public lb::ui::WorkWindow {
    Q_OBJECT
public:
    explicit Tfrpack(QWidget* owner = nullptr);

    void Button1Click(); // "压缩整理"
    void Button3Click(); // "修复数据" (hidden)

    QLabel* Label1 = nullptr;
    QPushButton* Button1 = nullptr; // "压缩整理"
    QPushButton* Button2 = nullptr; // "退回"
    QPushButton* Button3 = nullptr; // "修复数据"
};

} // namespace lb::core
