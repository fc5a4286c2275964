// The quick-start window: the short guide shown at start and from the tool bar.
#pragma once

#include <QDialog>

class TFrstart : public QDialog {
    Q_OBJECT
public:
    explicit TFrstart(QWidget* parent = nullptr);
};
