// The about box "版权声明": product, rights, designer and the maker's e-mail and home page.
#include "core/TAboutBox.h"
#include "platform/ui/GuardSlot.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QUrl>

namespace lb::core {

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("版权声明"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* layout = new QGridLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(windowIcon().isNull() ? style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48)
                                          : windowIcon().pixmap(48, 48));
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    ProductName = new QLabel(QStringLiteral("朔栎软件 · 朔栎进销存(V2009)"), this);
    QFont bold = ProductName->font();
    bold.setBold(true);
    ProductName->setFont(bold);
    Copyright = new QLabel(QStringLiteral("版权所有 (C) 朔栎软件工作室，保留所有权利。"), this);
    Designer = new QLabel(QStringLiteral("设计：朔栎软件工作室"), this);
    EmailLabel = new QLabel(QStringLiteral("service@shuoli-soft.example"), this);
    HomePageLabel = new QLabel(QStringLiteral("http://www.shuoli-soft.example"), this);
    for (QLabel* link : {EmailLabel, HomePageLabel}) {
        link->setCursor(Qt::PointingHandCursor);
        QPalette palette = link->palette();
        palette.setColor(QPalette::WindowText, Qt::blue);
        link->setPalette(palette);
        QFont underlined = link->font();
        underlined.setUnderline(true);
        link->setFont(underlined);
        link->installEventFilter(this);
    }
    layout->addWidget(ProductName, 0, 1);
    layout->addWidget(Copyright, 1, 1);
    layout->addWidget(Designer, 2, 1);
    layout->addWidget(EmailLabel, 3, 1);
    layout->addWidget(HomePageLabel, 4, 1);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setDefault(true);
    layout->addWidget(OKButton, 5, 0, 1, 2, Qt::AlignHCenter);
    connect(OKButton, &QPushButton::clicked, this, lb::ui::guardSlot(this, [this] { accept(); }));
}

void TAboutBox::EmailLabelClick()
{
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + EmailLabel->text()));
    close();
}

void TAboutBox::HomePageLabelClick()
{
    QDesktopServices::openUrl(QUrl(HomePageLabel->text()));
    close();
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == EmailLabel)
            EmailLabelClick();
        else if (watched == HomePageLabel)
            HomePageLabelClick();
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace lb::core
