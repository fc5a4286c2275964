// The dialog of the label editor: text, sizes and the three switches of a text control.
#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lb::report::ui {

// OK checks the width and height first: each must be a number (decimals allowed) of at least
// 0; a wrong one is named in a message and the dialog stays open.
class TRpLabelEditorForm : public QDialog {
    Q_OBJECT
public:
    explicit TRpLabelEditorForm(QWidget* parent = nullptr);

    QGroupBox* Properties;
    QLabel* ValueLabel;
    QLineEdit* Value;
    QCheckBox* AutoSize;
    QCheckBox* Stretch;
    QCheckBox* Transparent;
    QLineEdit* Width;
    QLineEdit* Height;
    QPushButton* OKBtn;
    QPushButton* Button4;

    // The sizes typed, valid after OK.
    double WidthValue() const { return width_; }
    double HeightValue() const { return height_; }

private:
    void OKBtnClick();

    double width_ = 0;
    double height_ = 0;
};

} // namespace lb::report::ui
