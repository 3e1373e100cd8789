#pragma once

#include <string>

namespace dyno {

// The arithmetic behind the calculator dialog: a plain four-function pocket
// calculator. Operators act at once, left to right (2 + 3 x 4 = gives 20); "="
// pressed again repeats the last operation; dividing by zero shows "Error" until
// the calculator is cleared.
class PocketCalculator {
  public:
    enum class Operation { None, Add, Subtract, Multiply, Divide };

    // Entries longer than this are ignored: more digits than a double carries.
    static constexpr int kMaxDigits = 15;

    const std::string& display() const { return display_; }
    bool hasError() const { return hasError_; }

    void pressDigit(int digit);
    void pressPoint();
    void pressOperation(Operation operation);
    void pressEquals();
    void toggleSign();
    void backspace();
    void clearEntry();  // "CE": the number being typed
    void clear();       // "C": everything

  private:
    double displayValue() const;
    void showValue(double value);
    void startEntryIfNeeded();
    // Applies `pending_` to the accumulator and `operand`; false on an error.
    bool applyPending(double operand);

    std::string display_ = "0";
    double accumulator_ = 0.0;
    double lastOperand_ = 0.0;
    Operation pending_ = Operation::None;
    Operation lastOperation_ = Operation::None;
    bool isEntering_ = false;  // digits typed go into the display
    bool hasError_ = false;
};

}  // namespace dyno
