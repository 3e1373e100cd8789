#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include "model/TextNumbers.h"

namespace dyno {
namespace {

TEST(LeadingNumber, ReadsTheLeadingDecimalNumberOnly) {
    EXPECT_EQ(leadingNumber("184"), 184.0);
    EXPECT_EQ(leadingNumber("  23.5 C"), 23.5);
    EXPECT_EQ(leadingNumber("-12.25abc"), -12.25);
    EXPECT_EQ(leadingNumber("+7"), 7.0);
    EXPECT_EQ(leadingNumber(".5"), 0.5);
    EXPECT_EQ(leadingNumber("-.5"), -0.5);
    EXPECT_EQ(leadingNumber("3."), 3.0);
    EXPECT_EQ(leadingNumber("1.1"), 1.1);
    EXPECT_EQ(leadingNumber("1e3"), 1.0) << "no exponent";
    EXPECT_EQ(leadingNumber("1,5"), 1.0) << "the comma is not a decimal point here";
}

TEST(LeadingNumber, TextWithoutANumberIsZero) {
    for (const char* text : {"", " ", "abc", "-", ".", "+.", "nan", "NaN", "inf", "-inf",
                             "infinity", "0x1p3", "x12"}) {
        EXPECT_EQ(leadingNumber(text), 0.0) << text;
    }
    EXPECT_EQ(leadingNumber("0x10"), 0.0);
}

TEST(LeadingInteger, ReadsLeadingDigitsAndSaturates) {
    EXPECT_EQ(leadingInteger("720"), 720);
    EXPECT_EQ(leadingInteger(" 360 deg"), 360);
    EXPECT_EQ(leadingInteger("12.7"), 12);
    EXPECT_EQ(leadingInteger("-40"), -40);
    EXPECT_EQ(leadingInteger(""), 0);
    EXPECT_EQ(leadingInteger("abc"), 0);
    EXPECT_EQ(leadingInteger("99999999999999999999"), 2147483647);
    EXPECT_EQ(leadingInteger("-99999999999999999999"), -2147483648);
}

TEST(StrictDecimal, WholeTextMustBeANumberWithThePointOrTheUsersSeparator) {
    EXPECT_EQ(strictDecimal("1.5"), 1.5);
    EXPECT_EQ(strictDecimal(" -2.25 "), -2.25);
    EXPECT_EQ(strictDecimal("1,5", ','), 1.5);
    EXPECT_EQ(strictDecimal("3e2"), 300.0);
    EXPECT_EQ(strictDecimal("7"), 7.0);
    EXPECT_EQ(strictDecimal("1.5", ','), 1.5) << "the point the program shows reads back";
    EXPECT_FALSE(strictDecimal("1,5"));
    EXPECT_FALSE(strictDecimal("1,5.2", ',')) << "one separator, either one";
    EXPECT_FALSE(strictDecimal(""));
    EXPECT_FALSE(strictDecimal("1.5x"));
    EXPECT_FALSE(strictDecimal("1.2.3"));
    EXPECT_FALSE(strictDecimal("nan"));
    EXPECT_FALSE(strictDecimal("inf"));
    EXPECT_FALSE(strictDecimal("1e999")) << "overflow is not a number the box can hold";
    EXPECT_FALSE(strictDecimal("0x10"));
    EXPECT_FALSE(strictDecimal("e5"));
    EXPECT_FALSE(strictDecimal("5e"));
}

TEST(StrictInteger, RangeAndWholeText) {
    EXPECT_EQ(strictInteger("20"), 20);
    EXPECT_EQ(strictInteger(" +20 "), 20);
    EXPECT_EQ(strictInteger("-3"), -3);
    EXPECT_FALSE(strictInteger("2147483648"));
    EXPECT_FALSE(strictInteger("20ms"));
    EXPECT_FALSE(strictInteger("1.0"));
    EXPECT_FALSE(strictInteger(""));
    EXPECT_EQ(notAnIntegerMessage("20ms"), "'20ms' is not a valid integer value");
    EXPECT_EQ(notAFloatMessage("x"), "'x' is not a valid floating point value");
}

TEST(Formatting, PrintfFormsWithAPointWhateverTheLocale) {
    // A German locale would print a comma through printf; ours never does.
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    EXPECT_EQ(formatFixed(10.2572, 2), "10.26");
    EXPECT_EQ(formatFixed(1.00003, 3), "1.000");
    EXPECT_EQ(formatFixed(2.5, 0), "2");
    EXPECT_EQ(formatFixed(-0.001, 2), "-0.00");
    EXPECT_EQ(formatGeneral15(static_cast<double>(1.1f)), "1.10000002384186");
    EXPECT_EQ(formatGeneral15(184.0), "184");
    EXPECT_EQ(formatRoundTrip(0.1), "0.10000000000000001");
    EXPECT_EQ(std::stod(formatRoundTrip(1.0 / 3.0)), 1.0 / 3.0);
    std::setlocale(LC_ALL, "C");
}

TEST(Formatting, IntoAFixedBufferReportsWhenItDoesNotFit) {
    char small[6];
    EXPECT_EQ(formatFixedInto(123.456, 2, small, sizeof small), 6u);
    EXPECT_EQ(std::string(small, 6), "123.46");
    EXPECT_EQ(formatFixedInto(1234.5, 2, small, sizeof small), 0u);
    char buffer[8];
    EXPECT_EQ(std::string(buffer, formatFixedInto(std::nan(""), 2, buffer, sizeof buffer)), "nan");
}

}  // namespace
}  // namespace dyno
