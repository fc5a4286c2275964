// The about box "版权声明": product, rights, designer and the maker's e-mail and home page.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace lb::core {

// Modal. Closes by "OK" (accepted) or by a click on one of the two links, which first opens
// the link through the desktop's handler (the e-mail address as a "mailto:" link).
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QLabel* ProductName = nullptr;
    QLabel* Copyright = nullptr;
    QLabel* Designer = nullptr;
    QLabel* EmailLabel = nullptr;
    QLabel* HomePageLabel = nullptr;
    QPushButton* OKButton = nullptr;

    // The link clicks.
    void EmailLabelClick();
    void HomePageLabelClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace lb::core
