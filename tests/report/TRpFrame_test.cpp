// Frame line thickness and the areas a frame fills.
#include "report/TRpFrame.h"

#include <gtest/gtest.h>

using lb::report::TRpFrame;

namespace {

QRect corners(int l, int t, int r, int b)
{
    return QRect(QPoint(l, t), QPoint(r, b));
}

} // namespace

TEST(TRpFrame, ThicknessFromPointsAndDeviceFactors)
{
    const double screen = 96.0 / 254; // pixels per tenth of a millimetre on screen
    const double printer = 600.0 / 254;
    const struct {
        int width;
        double factor;
        int thickness;
    } cases[] = {
        {1, screen, 1},   // 1.33 pixels
        {2, screen, 3},   // 2.67
        {3, screen, 4},   // exactly 4
        {1, printer, 8},  // 8.33
        {0, screen, 0},   // nothing visible
        {-1, printer, 1}, // one-pixel lines whatever the device
        {1, 0.1, 1},      // below one pixel is raised to one
        {-5, printer, 0}, // a damaged width never gives a negative thickness
    };
    for (const auto& c : cases) {
        TRpFrame frame;
        frame.Width = c.width;
        EXPECT_EQ(c.thickness, frame.HorizontalThickness(c.factor)) << c.width << " at " << c.factor;
        EXPECT_EQ(c.thickness, frame.VerticalThickness(c.factor)) << c.width << " at " << c.factor;
    }
}

TEST(TRpFrame, SidesFillStripsInsideTheRectangle)
{
    TRpFrame frame;
    EXPECT_FALSE(frame.HasLines());
    EXPECT_TRUE(frame.LineRects(corners(0, 0, 100, 50), 1, 1).empty());
    frame.Width = 2;
    frame.DrawTop = frame.DrawBottom = frame.DrawLeft = frame.DrawRight = true;
    EXPECT_TRUE(frame.HasLines());
    // Vertical factor 96/254 gives horizontal lines of 3 pixels; horizontal factor 600/254
    // gives vertical lines of 17 pixels.
    const std::vector<QRect> rects = frame.LineRects(corners(10, 20, 110, 70), 600.0 / 254, 96.0 / 254);
    ASSERT_EQ(4u, rects.size());
    EXPECT_EQ(corners(10, 20, 110, 23), rects[0]);
    EXPECT_EQ(corners(10, 67, 110, 70), rects[1]);
    EXPECT_EQ(corners(10, 20, 27, 70), rects[2]);
    EXPECT_EQ(corners(93, 20, 110, 70), rects[3]);
    frame.DrawTop = frame.DrawLeft = frame.DrawRight = false;
    EXPECT_EQ(1u, frame.LineRects(corners(10, 20, 110, 70), 1, 1).size());
}
