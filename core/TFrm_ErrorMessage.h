// The error form and the global error handler: every error no command handles ends up here.
#pragma once

#include "core/ErrorLog.h"

#include <QDialog>
#include <QPointer>
#include <exception>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace lb::ui {
class DataGrid;
}

namespace lb::core {

// Created third at start, after the data module; its creation installs MyErrorMessage as the
// application's error handler. The handler logs the error to apperror (and to the text log when
// the row cannot take it whole) and shows this form modally; the failed command is abandoned.
class TFrm_ErrorMessage : public QDialog {
    Q_OBJECT
public:
    explicit TFrm_ErrorMessage(QWidget* parent = nullptr);
    ~TFrm_ErrorMessage() override; // uninstalls the handler

    // Handles one error: classifies it, logs it (logEntry into the books), shows the form.
    // `sender` is the object that reported it (apperror.name as Reporter names it; may be null).
    // When neither the row nor the text log line can be written, the form still shows the
    // error. An error raised while the form is already showing updates the form instead of
    // opening it a second time; one raised once the program is ending is only logged.
    void MyErrorMessage(QObject* sender, const std::exception& error);

    // The entry shown last, as the boxes show it.
    const ErrorEntry& currentEntry() const { return entry_; }

    void ClearClick();       // "清空错误记录"
    void BackClick();        // "返回"
    void CloseSystemClick(); // "关闭系统"

    QLabel* Label1 = nullptr;         // kind of the current error, bold
    QLineEdit* titlEdit = nullptr;    // "出错程序名"
    QLineEdit* nameEdit = nullptr;    // "出错位置"
    QLineEdit* rqEdit = nullptr;      // "出错日期"
    QPlainTextEdit* messEdit = nullptr; // "错误信息"
    lb::ui::DataGrid* DBGrid1 = nullptr; // every apperror row
    QPushButton* clearButton = nullptr;
    QPushButton* backButton = nullptr;
    QPushButton* closeSystemButton = nullptr;

protected:
    void done(int result) override;

private:
    void showEntry();
    ErrorEntry entry_;
    bool showing_ = false;
};

} // namespace lb::core

extern QPointer<lb::core::TFrm_ErrorMessage> Frm_ErrorMessage;
