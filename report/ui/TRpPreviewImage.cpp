// Page image: the stored page replayed over the widget.
#include "report/ui/TRpPreviewImage.h"

#include "platform/gfx/EmfPlayer.h"
#include "report/TRpPrinter.h"

#include <QPainter>

namespace lb::report::ui {

TRpPreviewImage::TRpPreviewImage(QWidget* parent) : QWidget(parent)
{
    resize(100, 50);
}

void TRpPreviewImage::SetPage(TRpPrinter* device, int number)
{
    page_.reset();
    pageNumber_ = number;
    if (device)
        page_ = device->GetPage(number);
    update();
}

void TRpPreviewImage::PaintPage(QPainter& painter, const gfx::EmfMetafile* page, const QRect& rect)
{
    const int l = rect.left();
    const int t = rect.top();
    const int r = rect.right() + 1;
    const int b = rect.bottom() + 1;
    if (page) {
        painter.fillRect(QRect(QPoint(l + 1, t + 1), QPoint(r - 4, b - 4)), Qt::white);
        gfx::EmfPlayer::play(*page, painter, QRectF(QPointF(l + 1, t + 1), QPointF(r - 3, b - 3)));
    }
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(QPoint(l, t), QPoint(r - 3, b - 3)));
    painter.fillRect(QRect(QPoint(r - 2, t + 2), QPoint(r - 1, b - 1)), Qt::black);
    painter.fillRect(QRect(QPoint(l + 2, b - 2), QPoint(r - 1, b - 1)), Qt::black);
}

void TRpPreviewImage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintPage(painter, page_ ? &*page_ : nullptr, rect());
}

} // namespace lb::report::ui
