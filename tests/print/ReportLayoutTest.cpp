// Scale arithmetic and text placement of the printed report, on a page whose units
// come out round: W = 4800 (L = 400, R = 4560, c = 100), H = 6680 (T = 1113,
// B = 4008, U = 40).
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QStringList>
#include <array>
#include <cmath>

#include "print/ReportFixture.h"
#include "print/ReportGeometry.h"
#include "print/ReportInputs.h"
#include "print/ReportTexts.h"

namespace dyno {
namespace {

const ReportGeometry kPage(4800, 6680);

QStringList textsOf(const std::vector<PageText>& texts) {
    QStringList list;
    for (const PageText& text : texts) list << text.text;
    return list;
}

const PageText* find(const std::vector<PageText>& texts, const QString& text) {
    for (const PageText& t : texts) {
        if (t.text == text) return &t;
    }
    return nullptr;
}

struct PowerCase {
    std::int32_t end;
    QStringList labels;  // start, k = 1.., end, then the unit
    int firstLabelY;     // (T - 20) + GH - GH / 10
};

TEST(ReportScales, PowerRangesOf10_100And300HpGiveTenDivisions) {
    const int firstY = static_cast<int>(1093 + 2895 - 289.5);
    const PowerCase cases[] = {
        {10, {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "Hp"}, firstY},
        {100, {"0", "10", "20", "30", "40", "50", "60", "70", "80", "90", "100", "Hp"}, firstY},
        {300,
         {"0", "30", "60", "90", "120", "150", "180", "210", "240", "270", "300", "Hp"},
         firstY},
    };
    for (const PowerCase& c : cases) {
        const auto texts = powerScaleTexts(kPage, {0, 150, 0, c.end, 0, 10000}, false);
        EXPECT_EQ(textsOf(texts), c.labels) << "0.." << c.end;
        EXPECT_EQ(texts[1].y, c.firstLabelY);
        EXPECT_EQ(texts[1].x, static_cast<int>(400 - 4800 / 28.0));
        EXPECT_EQ(texts[10].y, 1093) << "the end value stands 20 pixels above the frame";
    }
    EXPECT_EQ(powerScaleTexts(kPage, {0, 150, 0, 10, 0, 10000}, true).back().text, "Kw");
}

TEST(ReportScales, PowerSpansOf50And150DivideByThePrintsOwnRule) {
    // span -> divisions, label step: 30..50 by 5, 51..150 by 10, 151..199 by 15.
    const std::array<std::array<std::int64_t, 3>, 6> spans{
        {{49, 9, 5}, {50, 10, 5}, {51, 5, 10}, {149, 14, 10}, {150, 15, 10}, {151, 10, 15}}};
    for (const auto& [span, divisions, step] : spans) {
        const PowerAxis axis =
            reportPowerAxisOf({0, 150, 0, static_cast<std::int32_t>(span), 0, 10000});
        EXPECT_EQ(axis.divisions, divisions) << "0.." << span;
        EXPECT_EQ(axis.labelStep, step) << "0.." << span;
    }
    EXPECT_EQ(textsOf(powerScaleTexts(kPage, {0, 150, 0, 50, 0, 10000}, false)),
              QStringList({"0", "5", "10", "15", "20", "25", "30", "35", "40", "45", "50", "Hp"}));
    const auto hp150 = powerScaleTexts(kPage, {0, 150, 0, 150, 0, 10000}, false);
    EXPECT_EQ(textsOf(hp150).mid(0, 4), QStringList({"0", "10", "20", "30"}));
    EXPECT_EQ(hp150[1].y, static_cast<int>(1093 + 2895 - 2895 / 15.0)) << "fifteen rows";
}

TEST(ReportScales, SpeedLabelsStopOneDivisionShortOfTheRightEdge) {
    const auto kmh150 = speedScaleTexts(kPage, {0, 150, 0, 20, 0, 10000}, false);
    EXPECT_EQ(textsOf(kmh150),
              QStringList({"0", "10", "20", "30", "40", "50", "60", "70", "80", "90", "100", "110",
                           "120", "130", "140", "150", "Kph"}));
    EXPECT_EQ(kmh150[1].x, static_cast<int>(370 + 4160 / 15.0));
    EXPECT_EQ(kmh150[1].y, 4048) << "one line unit under the frame";
    EXPECT_EQ(kmh150[15].x, 4560);

    const auto kmh250 = speedScaleTexts(kPage, {0, 250, 0, 20, 0, 10000}, true);
    EXPECT_EQ(textsOf(kmh250), QStringList({"0", "25", "50", "75", "100", "125", "150", "175",
                                            "200", "225", "250", "Mph"}));
}

TEST(ReportScales, EngineSpeedInHundredsWithHalfStepsWhereTheStepIsNotWhole) {
    const auto rpm10000 = rpmScaleTexts(kPage, {0, 150, 0, 20, 0, 10000});
    EXPECT_EQ(textsOf(rpm10000), QStringList({"0", "10", "20", "30", "40", "50", "60", "70", "80",
                                              "90", "100", "Rpm"}));
    EXPECT_EQ(rpm10000[0].x, 4580);
    const auto rpm2000 = rpmScaleTexts(kPage, {0, 150, 0, 20, 0, 2000});
    EXPECT_EQ(textsOf(rpm2000),
              QStringList({"0", "2.5", "5", "7.5", "10", "12.5", "15", "17.5", "20", "Rpm"}));
    // Engine speed across (fixed gearing) reads in hundreds too.
    EXPECT_EQ(textsOf(rpmAcrossScaleTexts(kPage, {0, 150, 0, 20, 2000, 12000})).mid(0, 3),
              QStringList({"20", "30", "40"}));
}

TEST(ReportScales, EngineSpeedLabelsKeepOneDecimalAndFitBesideTheFrame) {
    const auto rpm12500 = rpmScaleTexts(kPage, {0, 150, 0, 20, 0, 12500});
    EXPECT_EQ(textsOf(rpm12500).mid(0, 6),
              QStringList({"0", "10.4", "20.8", "31.3", "41.7", "52.1"}));
    QFont font = defaultReportFont();
    font.setPixelSize(static_cast<int>(std::lround(font.pointSizeF() * kReportDpi / 72.0)));
    const QFontMetrics metrics(font);
    for (const std::int32_t end : {12500, 11458, 1250}) {
        for (const PageText& label : rpmScaleTexts(kPage, {0, 150, 0, 20, 0, end})) {
            EXPECT_LE(label.x + metrics.horizontalAdvance(label.text), kPage.width)
                << label.text.toStdString() << " of 0.." << end;
        }
    }
}

TEST(ReportScales, FrameIsTwiceTheLineWidthAboveFourPixelsElseFive) {
    const std::pair<int, int> widths[] = {{1, 5}, {2, 5}, {3, 6}, {5, 10}};
    for (const auto& [line, frame] : widths) EXPECT_EQ(reportFrameWidth(line), frame) << line;
}

class ReportTexts : public ::testing::Test {
  protected:
    print_testing::EvaluatedSessions sessions{4};
};

TEST_F(ReportTexts, RemarkLinesFollowTheCountAndTheMaximaStandAlways) {
    const GraphFlags flags;
    const TestSession& session = sessions.model->slot(1);
    const auto none = sessionBlockTexts(kPage, 1, session, 0, flags, false);
    for (const char* text :
         {"Make1", "Model1", "Owner1", "Maxhp", "Roll.tq", "Maxkph", "STP corr.f.", "1.000"}) {
        EXPECT_NE(find(none, text), nullptr) << text;
    }
    EXPECT_NE(find(none, QString::fromLatin1(session.curves.maxPowerText.view().data())), nullptr);
    EXPECT_EQ(find(none, "Remark1"), nullptr);

    const auto three = sessionBlockTexts(kPage, 1, session, 3, flags, false);
    const PageText* make = find(three, "Make1");
    ASSERT_NE(make, nullptr);
    EXPECT_EQ(make->y, 4008 + 400);
    const char* remarks[] = {"Remark1", "Second remark 1", "Third remark 1"};
    for (int r = 0; r < 3; ++r) {
        const PageText* remark = find(three, remarks[r]);
        ASSERT_NE(remark, nullptr);
        EXPECT_EQ(remark->y, 4008 + 500 + 100 * r) << "remark lines 2.5 units apart";
        EXPECT_EQ(remark->x, 370);
    }
    EXPECT_EQ(find(three, "Maxhp")->x, 370 + 3300);
}

TEST_F(ReportTexts, SessionThreeStands22LineUnitsBelowSessionOne) {
    const GraphFlags flags;
    const auto first = sessionBlockTexts(kPage, 1, sessions.model->slot(1), 1, flags, false);
    const auto third = sessionBlockTexts(kPage, 3, sessions.model->slot(3), 1, flags, false);
    EXPECT_EQ(find(third, "Make3")->y - find(first, "Make1")->y, 22 * 40);
}

TEST_F(ReportTexts, EngineSpeedAcrossNamesTorqueUnitAndLargestEngineSpeed) {
    GraphFlags flags;
    flags.speedOnXAxis = false;
    flags.powerInKw = true;
    TestSession& session = sessions.model->slot(2);
    session.curves.rpmCurve[700] = 9876.4;
    session.header.words[SessionHeader::kCorrectionStandard] = 4;
    const auto texts = sessionBlockTexts(kPage, 2, session, 0, flags, true);
    for (const char* text : {"Maxkw", "Max Ft.lbs", "Maxrpm", "9876", "ISO 1585 corr.f."}) {
        EXPECT_NE(find(texts, text), nullptr) << text;
    }
    EXPECT_NE(find(sessionBlockTexts(kPage, 2, session, 0, flags, false), "Max Nm"), nullptr);
}

TEST(ReportOwnerLine, NamesTheWorkshopUnderTheGraphWhenAsked) {
    PrintSettings print;
    print.companyName = "Moped Garage";
    print.companyPhone = "5550100";
    const auto line = ownerLine(kPage, print);
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->text, "Measured by Moped Garage tel.5550100 on the VKR Korvalis.");
    EXPECT_EQ(line->y, 4008 + 240);
    print.printOwnerName = false;
    EXPECT_FALSE(ownerLine(kPage, print).has_value());
}

}  // namespace
}  // namespace dyno
