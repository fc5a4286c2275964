// The splash window shown at start while the option flashbj is set.
#include "core/TFrflash.h"

#include "core/Tfrdm.h"
#include "platform/db/Table.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/GuardSlot.h"
#include "platform/ui/WindowPlacement.h"

#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace lb::core {

namespace {
const QSize splashSize(480, 300);
}

TFrflash::TFrflash(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setFixedSize(splashSize);
    QPalette purple = palette();
    purple.setColor(QPalette::Window, QColor(128, 0, 128));
    setPalette(purple);
    setAutoFillBackground(true);

    Image1 = new QLabel(this);
    Image1->setGeometry(rect());
    Image1->setScaledContents(true);
    Image1->setPixmap(picture(splashSize));
    Image1->installEventFilter(this);
    Label1 = new QLabel(QStringLiteral("欢迎使用"), this);
    QFont font = Label1->font();
    font.setPixelSize(28);
    font.setBold(true);
    Label1->setFont(font);
    QPalette white = Label1->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    Label1->setPalette(white);
    Label1->setGeometry(24, 20, 300, 40);

    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    Timer1->setInterval(3000);
    connect(Timer1, &QTimer::timeout, this, lb::ui::guardSlot(this, [this] { accept(); }));
}

void TFrflash::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    lb::ui::WindowPlacement::centreOver(*this, nullptr);
    if (!Timer1->isActive())
        Timer1->start();
}

void TFrflash::Image1Click()
{
    const int remaining = Timer1->isActive() ? Timer1->remainingTime() : 0;
    Timer1->stop();
    const bool keep = lb::ui::Dialogs::yesNo(QStringLiteral("以后启动时是否要显示此图示?"), QStringLiteral("提示"));
    if (!keep) {
        lb::db::Table& config = *frdm->ATCONFIG;
        config.open();
        config.edit();
        config.fieldByName(QStringLiteral("flashbj")).setAsBoolean(false);
        config.post();
        config.close();
    }
    // The time left before the question runs on after it.
    Timer1->start(std::max(remaining, 1));
}

bool TFrflash::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Image1 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        Image1Click();
    return QDialog::eventFilter(watched, event);
}

QPixmap TFrflash::picture(const QSize& size)
{
    QPixmap pixmap(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, size.width(), size.height());
    gradient.setColorAt(0, QColor(150, 40, 170));
    gradient.setColorAt(1, QColor(60, 0, 90));
    painter.fillRect(pixmap.rect(), gradient);
    QFont font = painter.font();
    font.setPixelSize(40);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(255, 230, 120));
    painter.drawText(pixmap.rect().adjusted(0, 40, 0, 0), Qt::AlignCenter, QStringLiteral("朔栎进销存"));
    font.setPixelSize(16);
    font.setBold(false);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(pixmap.rect().adjusted(0, 0, 0, -24), Qt::AlignHCenter | Qt::AlignBottom,
                     QStringLiteral("朔栎软件-易用、通用，帮您管帐理财"));
    return pixmap;
}

} // namespace lb::core
