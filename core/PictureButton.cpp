// A picture button of the main window's dashboard and navigator bar.
#include "core/PictureButton.h"

#include <QEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace lb::core {

namespace {
const QSize tileSize(96, 84);
}

PictureButton::PictureButton(const QString& caption, const QColor& colour, QWidget* parent)
    : QStackedWidget(parent), caption_(caption)
{
    setAccessibleName(caption);
    setToolTip(caption);
    normal_ = new QLabel(this);
    normal_->setPixmap(picture(caption, colour, false));
    normal_->setMouseTracking(true);
    normal_->installEventFilter(this);
    hot_ = new QLabel(this);
    hot_->setPixmap(picture(caption, colour, true));
    hot_->setCursor(Qt::PointingHandCursor);
    hot_->installEventFilter(this);
    for (QLabel* sheet : {normal_, hot_})
        sheet->setAlignment(Qt::AlignCenter);
    addWidget(normal_);
    addWidget(hot_);
    setFixedSize(tileSize + QSize(8, 8));
    setTabStyle(false);
}

void PictureButton::setHighlighted(bool highlighted)
{
    setCurrentIndex(highlighted ? 1 : 0);
}

void PictureButton::setTabStyle(bool tabStyle)
{
    tabStyle_ = tabStyle;
    setFrameStyle(tabStyle ? QFrame::Panel | QFrame::Sunken : QFrame::NoFrame);
    setLineWidth(2);
}

bool PictureButton::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == normal_ && (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter)) {
        setHighlighted(true);
        // Handled here: passed on, the move would reach the panel behind and undo it.
        return event->type() == QEvent::MouseMove;
    }
    if (watched == hot_ && event->type() == QEvent::MouseButtonRelease
             && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && isEnabled())
        emit clicked();
    return QStackedWidget::eventFilter(watched, event);
}

QPixmap PictureButton::picture(const QString& caption, const QColor& colour, bool highlighted, bool withCaption)
{
    QPixmap pixmap(tileSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor base = highlighted ? colour.lighter(135) : colour;
    QLinearGradient gradient(0, 0, 0, tileSize.height());
    gradient.setColorAt(0, base.lighter(150));
    gradient.setColorAt(1, base);
    QPainterPath tile;
    tile.addRoundedRect(QRectF(2, 2, tileSize.width() - 4, tileSize.height() - 4), 10, 10);
    painter.fillPath(tile, gradient);
    painter.setPen(QPen(highlighted ? QColor(255, 200, 0) : base.darker(130), highlighted ? 3 : 1));
    painter.drawPath(tile);

    // The first character of the caption as the symbol, the caption below it.
    QFont symbol = painter.font();
    symbol.setPixelSize(withCaption ? 30 : 52);
    symbol.setBold(true);
    painter.setFont(symbol);
    painter.setPen(Qt::white);
    painter.drawText(withCaption ? QRect(0, 6, tileSize.width(), 44) : QRect(QPoint(0, 0), tileSize),
                     Qt::AlignCenter, caption.left(1));
    if (!withCaption)
        return pixmap;
    QFont text = painter.font();
    text.setPixelSize(14);
    text.setBold(highlighted);
    painter.setFont(text);
    painter.drawText(QRect(2, 50, tileSize.width() - 4, 28), Qt::AlignCenter, caption);
    return pixmap;
}

} // namespace lb::core
