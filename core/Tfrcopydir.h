// The backup/restore window "数据备份恢复-请慎重选择!": the database file to a chosen folder and back.
#pragma once

#include "platform/ui/WorkWindow.h"

class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace lb::core {

// Opened by the main menu's "数据备份恢复" (refused there while last year's data is loaded) with
// the main window disabled; stays on top and closes after a backup or a restore.
class Tfrcopydir : public lb::ui::WorkWindow {
    Q_OBJECT
public:
    explicit Tfrcopydir(QWidget* owner = nullptr);

    // The chosen folder, shown in the read-only box.
    QString folder() const;
    void setFolder(const QString& path);

    void Button1Click(); // "开始备份"
    void Button2Click(); // "开始恢复"

    QComboBox* DriveComboBox1 = nullptr;   // "选择数据备份磁盘": the mounted file systems
    QTreeView* DirectoryListBox1 = nullptr; // "选择数据备份位置"
    QLineEdit* Edit1 = nullptr;            // "你选择的数据备份位置是："
    QPushButton* Button1 = nullptr;        // "开始备份"
    QPushButton* Button2 = nullptr;        // "开始恢复"
    QPushButton* Button3 = nullptr;        // "取消"

private:
    void driveChanged();
    // The database file in the chosen folder; empty when no folder is chosen.
    QString backupFile() const;
    QFileSystemModel* folders_ = nullptr;
};

} // namespace lb::core
