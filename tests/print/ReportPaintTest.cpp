// The report drawn on a 600-dpi image, with pixels looked up where the page geometry
// puts the frame, the grid and the curves. The page is W = 2400, H = 3340:
// L = 200, R = 2280, T = 556, B = 2004 (GW = 2080, GH = 1448), U = 20.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "print/ReportFixture.h"
#include "print/ReportPainter.h"

namespace dyno {
namespace {

constexpr int kLeft = 200, kRight = 2280, kTop = 556, kBottom = 2004;
constexpr int kWidth = kRight - kLeft, kHeight = kBottom - kTop;
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kRed = qRgb(255, 0, 0);

QImage pageOf(const ReportInputs& report) {
    QImage image(2400, 3340, QImage::Format_RGB32);
    image.setDotsPerMeterX(23622);
    image.setDotsPerMeterY(23622);
    image.fill(Qt::white);
    paintReport(image, report);
    return image;
}

int countInFrame(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = kTop; y <= kBottom; ++y) {
        for (int x = kLeft; x <= kRight; ++x) count += image.pixel(x, y) == colour;
    }
    return count;
}

bool colourNear(const QImage& image, int x, int y, int reach, QRgb colour) {
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            if (image.pixel(x + dx, y + dy) == colour) return true;
        }
    }
    return false;
}

// Scale 0..150 km/h, 0..20 hp, speed only: power divisions of 144.8 pixels, speed
// divisions of 138.67 with grid dots every 13.867.
class ReportPage : public ::testing::Test {
  protected:
    print_testing::EvaluatedSessions sessions{
        1, print_testing::controlsWithScale({"0", "150", "0", "20", "0", "10000"})};
};

TEST_F(ReportPage, FrameGridSquareAndCurveLieWhereTheGeometryPutsThem) {
    ReportInputs report = sessions.report();
    const QImage page = pageOf(report);

    // Frame pen 6 pixels (line width 3) centred on the frame's edges.
    const int middle = (kTop + kBottom) / 2;
    EXPECT_EQ(page.pixel(kLeft - 3, middle), kBlack);
    EXPECT_EQ(page.pixel(kLeft + 2, middle), kBlack);
    EXPECT_EQ(page.pixel(kLeft - 4, middle), kWhite);
    EXPECT_EQ(page.pixel(kRight, middle + 1), kBlack);
    EXPECT_EQ(page.pixel(kRight + 2, middle), kBlack) << "centred on R, not one pixel right";
    EXPECT_EQ(page.pixel(kRight + 3, middle), kWhite);
    const int centre = (kLeft + kRight) / 2;
    EXPECT_EQ(page.pixel(centre, kBottom + 2), kBlack) << "centred on B, not one pixel lower";
    EXPECT_EQ(page.pixel(centre, kBottom + 3), kWhite);

    // Third dot of the first grid row under the top: a 3 x 3 black square.
    const int rowY = static_cast<int>(kTop + kHeight / 10.0);
    const int dotX = static_cast<int>(kLeft + 3 * (kWidth / 15.0 / 10.0));
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) EXPECT_EQ(page.pixel(dotX + dx, rowY + dy), kBlack);
    }
    EXPECT_EQ(page.pixel(dotX + 2, rowY), kWhite);
    EXPECT_EQ(page.pixel(dotX, rowY + 2), kWhite);

    // The power curve passes its samples (within the spline's smoothing).
    const EvaluatedCurves& curves = sessions.model->slot(1).curves;
    for (std::size_t k : {400u, 900u, 1400u}) {
        const int x = kLeft + static_cast<int>(kWidth * curves.speedCurve[k] / 150.0);
        const int y = kBottom - static_cast<int>(kHeight * curves.powerCurve[k] / 20.0);
        EXPECT_TRUE(colourNear(page, x, y, 4, kRed)) << "sample " << k << " at " << x << "," << y;
    }
}

TEST_F(ReportPage, RoadLoadDotsTruncateTheirPositionNotTheirHeight) {
    ReportInputs report = sessions.report();
    report.flags.showAirCurve = true;
    report.selections[0].torqueShown = true;
    report.airResistance = 0.03;
    report.rollingResistance = 0.5;
    const QImage page = pageOf(report);
    const QRgb aqua = qRgb(0, 255, 255);
    // Columns where the height above B has a fraction: the dot stands in the row its
    // position reaches (a session's curve drawn later may cover a few of them).
    int fractional = 0, onTheRow = 0, oneLow = 0;
    for (int x = kLeft; x <= kRight; ++x) {
        const double speed = 150.0 * (x - kLeft) / kWidth;
        const double drag = 0.03 * speed;
        const double above = (drag * drag + 0.5) * kHeight / 20.0;
        const int y = static_cast<int>(kBottom - above);
        if (y < kTop || above == static_cast<int>(above)) continue;
        ++fractional;
        onTheRow += page.pixel(x, y) == aqua;
        oneLow += page.pixel(x, y + 1) == aqua;
    }
    EXPECT_GT(fractional, 1000);
    EXPECT_GT(onTheRow, fractional * 9 / 10);
    EXPECT_EQ(oneLow, 0);
}

TEST_F(ReportPage, HeaderOnlyWhenAskedAndTheSmallPictureAlways) {
    ReportInputs report = sessions.report();
    report.headerPicture = QImage(1700, 500, QImage::Format_RGB32);
    report.headerPicture.fill(qRgb(0, 128, 0));
    report.smallPicture = QImage(205, 93, QImage::Format_RGB32);
    report.smallPicture.fill(qRgb(0, 0, 128));

    const QImage without = pageOf(report);
    EXPECT_EQ(without.pixel(1000, 300), kWhite);
    EXPECT_EQ(without.pixel(kLeft + 7 + 100, kTop + 15 + 50), qRgb(0, 0, 128));

    report.print.printHeader = true;
    const QImage with = pageOf(report);
    EXPECT_EQ(with.pixel(400, 50), qRgb(0, 128, 0));
    EXPECT_EQ(with.pixel(1999, 499), qRgb(0, 128, 0));
    EXPECT_EQ(with.pixel(2000, 300), kWhite) << "only (0,0)-(1600,450) of the picture";
    EXPECT_EQ(with.pixel(1000, 500), kWhite);
}

TEST(ReportScaleProblem, ZeroPowerSpanPrintsNeitherGridNorCurves) {
    print_testing::EvaluatedSessions sessions(
        1, print_testing::controlsWithScale({"0", "150", "5", "5", "0", "10000"}));
    const QImage page = pageOf(sessions.report());
    EXPECT_EQ(countInFrame(page, kRed), 0);
    const int rowY = static_cast<int>(kTop + kHeight / 10.0);
    const int dotX = static_cast<int>(kLeft + 3 * (kWidth / 15.0 / 10.0));
    EXPECT_EQ(page.pixel(dotX, rowY), kWhite);
    EXPECT_EQ(page.pixel(kLeft, (kTop + kBottom) / 2), kBlack) << "the frame stays";
}

}  // namespace
}  // namespace dyno
