// The backup/restore window "数据备份恢复-请慎重选择!": the database file to a chosen folder and back.
#include "core/Tfrcopydir.h"

#include "core/DatabaseFiles.h"
#include "core/FailureReport.h"
#include "core/Tfrdm.h"
#include "platform/sys/AppPaths.h"
#include "platform/sys/FileWrite.h"
#include "platform/ui/ButtonKeys.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/GuardSlot.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

namespace lb::core {

using lb::ui::Dialogs;
using lb::ui::guardSlot;

namespace {

// No folder chosen: nothing to copy to or from.
lb::FileFailure noFolder()
{
    return lb::FileFailure::other(QStringLiteral("No folder chosen"));
}

// Says how the copy ended: `done`, or why it failed, which the log keeps too. A failed copy
// either way shows a disk without room or a folder that may not be written in place of its
// message, when that stopped it.
void reportCopy(QObject* window, const lb::FileResult& copied, const QString& done)
{
    if (copied.ok())
        Dialogs::message(done);
    else
        reportFailure(window, {copied.failure()},
                      {QStringLiteral("请检查本系统的数据备份是否存在！ "), lb::FileFailure::Message::AnotherCause});
}

} // namespace

Tfrcopydir::Tfrcopydir(QWidget* owner)
    : lb::ui::WorkWindow(owner)
{
    setObjectName(QStringLiteral("Tfrcopydir"));
    setWindowTitle(QStringLiteral("数据备份恢复-请慎重选择!"));
    setWindowFlag(Qt::WindowStaysOnTopHint);

    DriveComboBox1 = new QComboBox(this);
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady())
            DriveComboBox1->addItem(volume.rootPath());
    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    folders_->setRootPath(QString());
    DirectoryListBox1 = new QTreeView(this);
    DirectoryListBox1->setModel(folders_);
    for (int column = 1; column < folders_->columnCount(); ++column)
        DirectoryListBox1->hideColumn(column);
    DirectoryListBox1->header()->hide();
    Edit1 = new QLineEdit(this);
    Edit1->setReadOnly(true);
    Button1 = new QPushButton(QStringLiteral("开始备份"), this);
    Button2 = new QPushButton(QStringLiteral("开始恢复"), this);
    Button3 = new QPushButton(QStringLiteral("取消"), this);
    auto* warning = new QLabel(QStringLiteral("请慎重操作!"), this);
    warning->setStyleSheet(QStringLiteral("color: red"));

    connect(DriveComboBox1, &QComboBox::currentTextChanged, this, guardSlot(this, &Tfrcopydir::driveChanged));
    // Folders are read in the background: the chosen one comes into view once its parents are.
    connect(folders_, &QFileSystemModel::directoryLoaded, this,
            guardSlot(this, [this] { DirectoryListBox1->scrollTo(DirectoryListBox1->currentIndex()); }));
    connect(DirectoryListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            guardSlot(this, [this](const QModelIndex& current) { Edit1->setText(folders_->filePath(current)); }));
    connect(Button1, &QPushButton::clicked, this, guardSlot(this, &Tfrcopydir::Button1Click));
    connect(Button2, &QPushButton::clicked, this, guardSlot(this, &Tfrcopydir::Button2Click));
    connect(Button3, &QPushButton::clicked, this, guardSlot(this, [this] { close(); }));
    lb::ui::ButtonKeys::setCancelButton(*this, *Button3);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("选择数据备份磁盘"), DriveComboBox1);
    form->addRow(QStringLiteral("选择数据备份位置"), DirectoryListBox1);
    form->addRow(QStringLiteral("你选择的数据备份位置是："), Edit1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(warning);
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form, 1);
    layout->addLayout(buttons);
    resize(520, 460);

    // The shutdown backup's folder first, where there is one.
    const QString usual = lb::AppPaths::inProgramFolder(QStringLiteral("BAK"));
    setFolder(QFileInfo(usual).isDir() ? usual : lb::AppPaths::programFolder());
}

QString Tfrcopydir::folder() const
{
    return Edit1->text();
}

void Tfrcopydir::setFolder(const QString& path)
{
    const QString clean = QDir::cleanPath(path);
    const QModelIndex index = folders_->index(clean);
    if (index.isValid()) {
        DirectoryListBox1->setCurrentIndex(index);
        DirectoryListBox1->scrollTo(index);
    }
    Edit1->setText(clean);
}

void Tfrcopydir::driveChanged()
{
    setFolder(DriveComboBox1->currentText());
}

QString Tfrcopydir::backupFile() const
{
    return folder().isEmpty() ? QString() : QDir(folder()).filePath(QStringLiteral("kvdb.mdb"));
}

void Tfrcopydir::Button1Click()
{
    const QString target = backupFile();
    Dialogs::message(QStringLiteral("你选择的数据备份位置是:") + target);
    if (!Dialogs::confirm(QStringLiteral("是否进行备份数据?")))
        return;
    lb::FileResult saved = noFolder();
    DatabaseFiles::whileDisconnected(*frdm, [&] {
        if (!target.isEmpty())
            saved = DatabaseFiles::backUp(lb::AppPaths::databaseFile(), target);
    });
    reportCopy(this, saved, QStringLiteral("数据备份完毕！ "));
    close();
}

void Tfrcopydir::Button2Click()
{
    const QString source = backupFile();
    Dialogs::message(QStringLiteral("你选择的数据备份位置是:") + source);
    if (!Dialogs::confirm(QStringLiteral("是否进行数据恢复?")))
        return;
    lb::FileResult restored = noFolder();
    DatabaseFiles::whileDisconnected(*frdm, [&] {
        if (!source.isEmpty())
            restored = DatabaseFiles::replace(source, lb::AppPaths::databaseFile());
    });
    if (restored.ok())
        DatabaseFiles::booksReplaced(*frdm);
    reportCopy(this, restored, QStringLiteral("数据恢复完毕！ "));
    close();
}

} // namespace lb::core
