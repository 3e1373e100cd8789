#include <gtest/gtest.h>

#include "app/dialogs/PocketCalculator.h"

namespace dyno {
namespace {

using Operation = PocketCalculator::Operation;

// Keys as typed: digits, "." and "~" for the sign key.
void type(PocketCalculator& c, std::string_view keys) {
    for (char key : keys) {
        if (key == '.') {
            c.pressPoint();
        } else if (key == '~') {
            c.toggleSign();
        } else {
            c.pressDigit(key - '0');
        }
    }
}

TEST(PocketCalculator, OperatorsActLeftToRightAndEqualsRepeats) {
    PocketCalculator c;
    type(c, "2");
    c.pressOperation(Operation::Add);
    type(c, "3");
    c.pressOperation(Operation::Multiply);
    EXPECT_EQ(c.display(), "5") << "the pending sum shows when the next operator comes";
    type(c, "4");
    c.pressEquals();
    EXPECT_EQ(c.display(), "20");
    c.pressEquals();
    EXPECT_EQ(c.display(), "80") << "= again repeats x 4";

    type(c, "10");  // a new number after "=" starts afresh
    c.pressOperation(Operation::Subtract);
    c.pressOperation(Operation::Divide);  // a second operator replaces the first
    type(c, "4~");
    c.pressEquals();
    EXPECT_EQ(c.display(), "-2.5");
}

TEST(PocketCalculator, EntryAndDecimals) {
    PocketCalculator c;
    type(c, "0.1");
    c.pressOperation(Operation::Add);
    type(c, "0.2");
    c.pressEquals();
    EXPECT_EQ(c.display(), "0.3") << "no binary noise";

    c.clear();
    type(c, "1..5123");
    c.backspace();
    EXPECT_EQ(c.display(), "1.512");
    type(c, "34567890123456789");
    EXPECT_EQ(c.display(), "1.51234567890123") << "at most 15 digits";
    c.pressOperation(Operation::Add);
    type(c, "99");
    c.clearEntry();  // only the mistyped entry goes
    type(c, "1");
    c.pressEquals();
    EXPECT_EQ(c.display(), "2.51234567890123");
}

TEST(PocketCalculator, DivisionByZeroShowsErrorUntilCleared) {
    PocketCalculator c;
    type(c, "5");
    c.pressOperation(Operation::Divide);
    type(c, "0");
    c.pressEquals();
    EXPECT_EQ(c.display(), "Error");
    type(c, "3");
    c.pressOperation(Operation::Add);
    EXPECT_EQ(c.display(), "Error");
    c.clear();
    type(c, "3");
    c.pressOperation(Operation::Multiply);
    type(c, "3");
    c.pressEquals();
    EXPECT_EQ(c.display(), "9") << "nothing of the failed calculation is left";
}

}  // namespace
}  // namespace dyno
