// The compaction window "数据整理": rows left without a key are deleted, then the file compacted.
#include "core/Tfrpack.h"

#include "core/CompactDatabase.h"
#include "core/DatabaseFiles.h"
#include "core/ErrorLog.h"
#include "core/KeylessRows.h"
#include "core/Tfrdm.h"
#include "platform/sys/AppPaths.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/GuardSlot.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace lb::core {

using lb::ui::guardSlot;

Tfrpack::Tfrpack(QWidget* owner)
    : lb::ui::WorkWindow(owner)
{
    setObjectName(QStringLiteral("Tfrpack"));
    setWindowTitle(QStringLiteral("数据整理"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    Label1 = new QLabel(QStringLiteral("准备数据整理……"), this);
    QFont big = Label1->font();
    big.setPointSize(big.pointSize() + 4);
    Label1->setFont(big);
    Label1->setAlignment(Qt::AlignCenter);
    Button1 = new QPushButton(QStringLiteral("压缩整理"), this);
    Button2 = new QPushButton(QStringLiteral("退回"), this);
    Button3 = new QPushButton(QStringLiteral("修复数据"), this);
    Button3->setVisible(false);
    connect(Button1, &QPushButton::clicked, this, guardSlot(this, &Tfrpack::Button1Click));
    connect(Button2, &QPushButton::clicked, this, guardSlot(this, [this] { close(); }));
    connect(Button3, &QPushButton::clicked, this, guardSlot(this, &Tfrpack::Button3Click));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button3);
    buttons->addWidget(Button2);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1, 1);
    layout->addLayout(buttons);
    resize(380, 180);
}

void Tfrpack::Button1Click()
{
    const QString notDone = QStringLiteral("数据的压缩整理没有完成！");
    Label1->setText(QStringLiteral("正在整理数据..."));
    Label1->repaint();
    bool compacted = false;
    try {
        lb::core::KeylessRows::remove(*frdm->AQcom);
        lb::core::DatabaseFiles::whileDisconnected(*frdm, [&] { compacted = lb::core::CompactDatabase(lb::AppPaths::databaseFile(), this); });
    } catch (...) {
        // The error form says why; the label must not go on saying the work is under way.
        Label1->setText(notDone);
        throw;
    }
    // A failed compaction has shown why; the label must not then say it was done.
    Label1->setText(compacted ? QStringLiteral("数据的压缩整理完毕！") : notDone);
}

void Tfrpack::Button3Click()
{
    lb::ui::Dialogs::message(QStringLiteral("请用ACCESS数据库中的工具进行修复!"));
}

} // namespace lb::core
