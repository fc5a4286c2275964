// The splash window shown at start while the option flashbj is set.
#pragma once

#include <QDialog>

class TFrflash : public QDialog {
    Q_OBJECT
public:
    explicit TFrflash(QWidget* parent = nullptr);
};
