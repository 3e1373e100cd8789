#include "app/dialogs/PocketCalculator.h"

#include <algorithm>
#include <cmath>

#include "model/TextNumbers.h"

namespace dyno {

namespace {

int digitCount(const std::string& text) {
    return static_cast<int>(
        std::count_if(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }));
}

}  // namespace

double PocketCalculator::displayValue() const {
    return leadingNumber(display_);
}

void PocketCalculator::showValue(double value) {
    if (value == 0.0) value = 0.0;  // no "-0"
    display_ = formatGeneral15(value);
}

void PocketCalculator::startEntryIfNeeded() {
    if (!isEntering_) {
        display_ = "0";
        isEntering_ = true;
    }
}

void PocketCalculator::pressDigit(int digit) {
    if (hasError_ || digit < 0 || digit > 9) return;
    startEntryIfNeeded();
    if (digitCount(display_) >= kMaxDigits) return;
    const char c = static_cast<char>('0' + digit);
    if (display_ == "0") {
        display_ = std::string(1, c);
    } else if (display_ == "-0") {
        display_ = std::string("-") + c;
    } else {
        display_ += c;
    }
}

void PocketCalculator::pressPoint() {
    if (hasError_) return;
    startEntryIfNeeded();
    if (display_.find('.') == std::string::npos) display_ += '.';
}

bool PocketCalculator::applyPending(double operand) {
    switch (pending_) {
        case Operation::None: accumulator_ = operand; break;
        case Operation::Add: accumulator_ += operand; break;
        case Operation::Subtract: accumulator_ -= operand; break;
        case Operation::Multiply: accumulator_ *= operand; break;
        case Operation::Divide:
            if (operand == 0.0) {
                hasError_ = true;
                display_ = "Error";
                return false;
            }
            accumulator_ /= operand;
            break;
    }
    if (!std::isfinite(accumulator_)) {
        hasError_ = true;
        display_ = "Error";
        return false;
    }
    showValue(accumulator_);
    return true;
}

void PocketCalculator::pressOperation(Operation operation) {
    if (hasError_) return;
    // A second operator in a row only replaces the first.
    if (isEntering_ || pending_ == Operation::None) {
        if (!applyPending(displayValue())) return;
    }
    pending_ = operation;
    lastOperation_ = Operation::None;
    isEntering_ = false;
}

void PocketCalculator::pressEquals() {
    if (hasError_) return;
    if (pending_ != Operation::None) {
        lastOperation_ = pending_;
        lastOperand_ = displayValue();
        if (!applyPending(lastOperand_)) return;
    } else if (lastOperation_ != Operation::None) {
        pending_ = lastOperation_;
        accumulator_ = displayValue();
        if (!applyPending(lastOperand_)) return;
    } else {
        accumulator_ = displayValue();
        showValue(accumulator_);
    }
    pending_ = Operation::None;
    isEntering_ = false;
}

void PocketCalculator::toggleSign() {
    if (hasError_) return;
    if (!isEntering_) {
        showValue(-displayValue());
        return;
    }
    if (!display_.empty() && display_.front() == '-') {
        display_.erase(0, 1);
    } else {
        display_.insert(0, 1, '-');
    }
}

void PocketCalculator::backspace() {
    if (hasError_ || !isEntering_) return;
    display_.pop_back();
    if (display_.empty() || display_ == "-") display_ = "0";
}

void PocketCalculator::clearEntry() {
    if (hasError_) {
        clear();
        return;
    }
    display_ = "0";
    isEntering_ = true;
}

void PocketCalculator::clear() {
    *this = PocketCalculator{};
}

}  // namespace dyno
