// Enhanced metafile player: keeps the device context state the records change and draws with it.
#include "platform/gfx/EmfPlayer.h"

#include "platform/gfx/EmfFormat.h"
#include "platform/gfx/EmfWriter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <limits>
#include <variant>

namespace lb::gfx {

using namespace emf;

namespace {

QColor fromColorRef(quint32 ref)
{
    return QColor(int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF));
}

QPen makePen(quint32 style, qint32 width, quint32 color)
{
    const quint32 kind = style & kPenStyleMask;
    if (kind == PS_NULL)
        return QPen(Qt::NoPen);
    QPen pen(fromColorRef(color));
    // Width 0 is one device pixel whatever the scale, as Qt's cosmetic pen.
    pen.setWidthF(width <= 0 ? 0.0 : double(width));
    pen.setCosmetic(width <= 0);
    pen.setCapStyle(width > 1 ? Qt::RoundCap : Qt::SquareCap);
    pen.setJoinStyle(width > 1 ? Qt::RoundJoin : Qt::MiterJoin);
    switch (kind) {
    case PS_DASH: pen.setStyle(Qt::DashLine); break;
    case PS_DOT: pen.setStyle(Qt::DotLine); break;
    case PS_DASHDOT: pen.setStyle(Qt::DashDotLine); break;
    case PS_DASHDOTDOT: pen.setStyle(Qt::DashDotDotLine); break;
    default: pen.setStyle(Qt::SolidLine); break;
    }
    return pen;
}

QBrush makeBrush(quint32 style, quint32 color, quint32 hatch)
{
    if (style == BS_NULL)
        return QBrush(Qt::NoBrush);
    if (style == BS_HATCHED) {
        static const Qt::BrushStyle patterns[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                                  Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(fromColorRef(color), hatch <= HS_DIAGCROSS ? patterns[hatch] : Qt::SolidPattern);
    }
    return QBrush(fromColorRef(color));
}

using Object = std::variant<std::monostate, QPen, QBrush, EmfFont>;

// Cuts the segment from `a` to `b` to `area` (Liang and Barsky's parameters along it); false
// when none of it lies inside. A segment inside keeps its very points.
bool clipSegment(QPointF& a, QPointF& b, const QRectF& area)
{
    const QPointF start = a;
    const QPointF delta = b - a;
    double enter = 0;
    double leave = 1;
    // Each edge as "p t <= q" along the segment's parameter t.
    const auto keep = [&enter, &leave](double p, double q) {
        if (p == 0)
            return q >= 0;
        const double t = q / p;
        if (p < 0) {
            if (t > leave)
                return false;
            enter = std::max(enter, t);
        } else {
            if (t < enter)
                return false;
            leave = std::min(leave, t);
        }
        return true;
    };
    if (!keep(-delta.x(), start.x() - area.left()) || !keep(delta.x(), area.right() - start.x())
        || !keep(-delta.y(), start.y() - area.top()) || !keep(delta.y(), area.bottom() - start.y()))
        return false;
    if (enter > 0)
        a = start + delta * enter;
    if (leave < 1)
        b = start + delta * leave;
    return true;
}

// `page` widened on every side by its larger side.
QRectF widened(const QRectF& page)
{
    const double margin = std::max(page.width(), page.height());
    return page.adjusted(-margin, -margin, margin, margin);
}

class Player {
public:
    // `page` is the page's area in the coordinates the records use.
    Player(const EmfMetafile& metafile, QPainter& painter, const QRectF& page)
        : painter_(painter), objects_(size_t(metafile.handleCount())), font_(EmfWriter::systemFont()),
          reach_(widened(page))
    {
    }

    void play(const EmfRecord& r)
    {
        switch (r.type) {
        case EMR_SETTEXTCOLOR: textColor_ = fromColorRef(r.value); break;
        case EMR_SETTEXTALIGN: align_ = r.value; break;
        case EMR_SETBKMODE: opaque_ = r.value == OPAQUE; break;
        case EMR_CREATEPEN: objects_[r.value] = makePen(r.style, r.penWidth, r.color); break;
        case EMR_CREATEBRUSHINDIRECT: objects_[r.value] = makeBrush(r.style, r.color, r.hatch); break;
        case EMR_EXTCREATEFONTINDIRECTW: objects_[r.value] = r.font; break;
        case EMR_SELECTOBJECT: select(r.value); break;
        case EMR_DELETEOBJECT: objects_[r.value] = std::monostate{}; break;
        case EMR_RECTANGLE: shape(r); break;
        case EMR_ELLIPSE: shape(r); break;
        case EMR_ROUNDRECT: shape(r); break;
        case EMR_MOVETOEX: current_ = r.point; break;
        case EMR_LINETO: line(r.point); break;
        case EMR_EXTTEXTOUTW: text(r); break;
        default: break;
        }
    }

private:
    void select(quint32 handle)
    {
        if (handle & kStockObject) {
            switch (handle & ~kStockObject) {
            case WHITE_BRUSH: brush_ = QBrush(Qt::white); break;
            case LTGRAY_BRUSH: brush_ = QBrush(QColor(0xC0, 0xC0, 0xC0)); break;
            case GRAY_BRUSH: brush_ = QBrush(QColor(0x80, 0x80, 0x80)); break;
            case DKGRAY_BRUSH: brush_ = QBrush(QColor(0x40, 0x40, 0x40)); break;
            case BLACK_BRUSH: brush_ = QBrush(Qt::black); break;
            case NULL_BRUSH: brush_ = QBrush(Qt::NoBrush); break;
            case WHITE_PEN: pen_ = makePen(PS_SOLID, 0, 0xFFFFFF); break;
            case BLACK_PEN: pen_ = makePen(PS_SOLID, 0, 0); break;
            case NULL_PEN: pen_ = QPen(Qt::NoPen); break;
            case SYSTEM_FONT:
            case DEFAULT_GUI_FONT: font_ = EmfWriter::systemFont(); break;
            default: break;
            }
            return;
        }
        const Object& object = objects_[handle];
        if (const auto* pen = std::get_if<QPen>(&object))
            pen_ = *pen;
        else if (const auto* brush = std::get_if<QBrush>(&object))
            brush_ = *brush;
        else if (const auto* font = std::get_if<EmfFont>(&object))
            font_ = *font;
    }

    // How far the pen's ink reaches beyond the geometry it strokes.
    double penSpread() const
    {
        return pen_.style() == Qt::NoPen || pen_.isCosmetic() ? 0.0 : pen_.widthF() / 2;
    }

    // The area beyond which what is drawn cannot show: the page widened by its larger side and by
    // the pen. The renderer's work grows with the length of what it draws, shown or not, so a
    // line running from far outside a damaged page would take seconds; it is cut to this area
    // first. Inside it, nothing is cut, and a page as the engine writes it draws as recorded.
    QRectF reach() const
    {
        const double spread = penSpread();
        return reach_.adjusted(-spread, -spread, spread, spread);
    }

    // GDI fills and outlines a box whose right and bottom edges lie outside it; the outline is
    // kept inside the box by half its width.
    void shape(const EmfRecord& r)
    {
        const QRectF box = QRectF(QPointF(r.box.left(), r.box.top()), QPointF(r.box.right(), r.box.bottom())).normalized();
        const double inset = pen_.style() == Qt::NoPen ? 0.0 : (pen_.isCosmetic() ? 0.5 : pen_.widthF() / 2);
        const QRectF outline = box.adjusted(inset, inset, -inset, -inset);
        const QRectF area = reach();
        if (!outline.intersects(area))
            return;
        painter_.setPen(pen_);
        painter_.setBrush(brush_);
        if (area.contains(outline)) {
            if (r.type == EMR_RECTANGLE)
                painter_.drawRect(outline);
            else if (r.type == EMR_ELLIPSE)
                painter_.drawEllipse(outline);
            else
                painter_.drawRoundedRect(outline, r.corner.width() / 2.0, r.corner.height() / 2.0);
            return;
        }
        // Reaching beyond the area: only its part inside is drawn. The edges the cut adds lie
        // outside the page by more than the pen's reach, so they do not show.
        if (r.type == EMR_RECTANGLE) {
            painter_.drawRect(outline & area);
            return;
        }
        QPainterPath path;
        if (r.type == EMR_ELLIPSE)
            path.addEllipse(outline);
        else
            path.addRoundedRect(outline, r.corner.width() / 2.0, r.corner.height() / 2.0);
        QPainterPath inside;
        inside.addRect(area);
        painter_.drawPath(path.intersected(inside));
    }

    void line(const QPoint& to)
    {
        // Pixel centres, so that a one-pixel line covers exactly one row or column.
        QPointF from = QPointF(current_) + QPointF(0.5, 0.5);
        QPointF end = QPointF(to) + QPointF(0.5, 0.5);
        current_ = to;
        if (!clipSegment(from, end, reach()))
            return;
        painter_.setPen(pen_);
        painter_.drawLine(from, end);
    }

    void text(const EmfRecord& r)
    {
        const QFont font = font_.qFont();
        const QFontMetricsF metrics(font);
        std::vector<double> advances(r.text.size());
        double width = 0;
        for (qsizetype i = 0; i < r.text.size(); ++i) {
            advances[i] = r.dx.empty() ? metrics.horizontalAdvance(r.text[i]) : r.dx[i];
            width += advances[i];
        }
        QPointF origin = (align_ & TA_UPDATECP) ? QPointF(current_) : QPointF(r.point);
        if ((align_ & kHorizontalAlignMask) == TA_CENTER)
            origin.rx() -= width / 2;
        else if ((align_ & kHorizontalAlignMask) == TA_RIGHT)
            origin.rx() -= width;
        double baseline = origin.y() + metrics.ascent();
        if ((align_ & kVerticalAlignMask) == TA_BASELINE)
            baseline = origin.y();
        else if ((align_ & kVerticalAlignMask) == TA_BOTTOM)
            baseline = origin.y() - metrics.descent();
        if ((align_ & TA_UPDATECP) && (align_ & kHorizontalAlignMask) == TA_LEFT) {
            // In 64 bits and kept to the coordinate range: recorded advances may add up to more
            // than an int holds.
            const qint64 moved = qint64(current_.x()) + std::llround(width);
            current_.setX(int(std::clamp<qint64>(moved, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
        }

        painter_.save();
        const QRectF rect = QRectF(QPointF(r.box.left(), r.box.top()), QPointF(r.box.right(), r.box.bottom())).normalized();
        if (r.options & ETO_OPAQUE)
            painter_.fillRect(rect, Qt::white);
        if (r.options & ETO_CLIPPED)
            painter_.setClipRect(rect, Qt::IntersectClip);
        if (opaque_)
            painter_.fillRect(QRectF(origin.x(), baseline - metrics.ascent(), width, metrics.ascent() + metrics.descent()), Qt::white);
        painter_.setFont(font);
        painter_.setPen(textColor_);
        // Characters that cannot reach the page (a glyph overhangs its advance by less than the
        // font's height) are not handed to the renderer: a damaged page may place millions of
        // them far away.
        const double overhang = metrics.height();
        const QRectF area = reach_.adjusted(-overhang, -overhang, overhang, overhang);
        if (baseline >= area.top() && baseline <= area.bottom()) {
            // Each character stands at its recorded advance, so the page looks the same whatever
            // fonts the playing machine would have chosen by itself.
            double x = origin.x();
            for (qsizetype i = 0; i < r.text.size(); ++i) {
                const bool pair = r.text[i].isHighSurrogate() && i + 1 < r.text.size() && r.text[i + 1].isLowSurrogate();
                const double advance = advances[i] + (pair ? advances[i + 1] : 0.0);
                if (std::max(x, x + advance) >= area.left() && std::min(x, x + advance) <= area.right())
                    painter_.drawText(QPointF(x, baseline), r.text.mid(i, pair ? 2 : 1));
                x += advance;
                if (pair)
                    ++i;
            }
        }
        painter_.restore();
    }

    QPainter& painter_;
    std::vector<Object> objects_;
    QPen pen_ = makePen(PS_SOLID, 0, 0);
    QBrush brush_ = QBrush(Qt::white);
    EmfFont font_;
    QColor textColor_ = Qt::black;
    quint32 align_ = 0;
    bool opaque_ = true;
    QPoint current_;
    QRectF reach_; // the page widened by its larger side
};

} // namespace

void EmfPlayer::play(const EmfMetafile& page, QPainter& painter, const QRectF& target)
{
    const QSizeF logical = page.sizeLogical();
    if (page.isEmpty() || logical.isEmpty() || target.isEmpty())
        return;
    const double scaleX = target.width() / logical.width();
    const double scaleY = target.height() / logical.height();
    if (!(scaleX >= kMinScale && scaleX <= kMaxScale && scaleY >= kMinScale && scaleY <= kMaxScale)
        || std::max(scaleX, scaleY) > kMaxAspect * std::min(scaleX, scaleY))
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setClipRect(target, Qt::IntersectClip);
    painter.translate(target.topLeft());
    painter.scale(scaleX, scaleY);
    const QRect frame = page.frame();
    // A frame that does not start at the origin moves the drawing with it.
    const QPointF origin(frame.left() * logical.width() / (page.sizeMm().width() * 100),
                         frame.top() * logical.height() / (page.sizeMm().height() * 100));
    if (!origin.isNull())
        painter.translate(-origin);
    Player player(page, painter, QRectF(origin, logical));
    for (const EmfRecord& record : page.records())
        player.play(record);
    painter.restore();
}

} // namespace lb::gfx
