// Tests of the about box: "OK" accepts it; its links open through the desktop's handler and close the box.
#include "core/TAboutBox.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>
#include <gtest/gtest.h>

using lb::core::TAboutBox;

namespace {

class LinkCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

void clickOn(QWidget* widget)
{
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

} // namespace

TEST(TAboutBoxTest, LinksOpenThroughTheDesktopAndCloseTheBox)
{
    LinkCatcher catcher;
    for (const char* scheme : {"mailto", "http", "https"})
        QDesktopServices::setUrlHandler(QLatin1String(scheme), &catcher, "open");

    TAboutBox box;
    EXPECT_EQ(QStringLiteral("版权声明"), box.windowTitle());
    box.show();
    box.OKButton->click();
    EXPECT_EQ(QDialog::Accepted, box.result());
    box.show();
    clickOn(box.EmailLabel);
    EXPECT_FALSE(box.isVisible());
    box.show();
    clickOn(box.HomePageLabel);
    EXPECT_FALSE(box.isVisible());

    for (const char* scheme : {"mailto", "http", "https"})
        QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    ASSERT_EQ(2, catcher.urls.size());
    EXPECT_EQ(QUrl(QStringLiteral("mailto:") + box.EmailLabel->text()), catcher.urls[0]);
    EXPECT_EQ(QUrl(box.HomePageLabel->text()), catcher.urls[1]);
}

#include "TAboutBox_test.moc"

