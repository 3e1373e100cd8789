#include "app/dialogs/CalculatorDialog.h"

#include <functional>

#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace dyno {

namespace {
using Operation = PocketCalculator::Operation;
}

CalculatorDialog::CalculatorDialog(QWidget* parent)
    : QDialog(parent), display_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("RxCalculator1"));
    setWindowTitle(QStringLiteral("Calculator"));
    display_->setObjectName(QStringLiteral("calculatordisplay"));
    display_->setReadOnly(true);
    display_->setAlignment(Qt::AlignRight);
    display_->setFocusPolicy(Qt::NoFocus);

    auto* grid = new QGridLayout(this);
    grid->addWidget(display_, 0, 0, 1, 4);

    struct Key {
        const char* caption;
        int row;
        int column;
        std::function<void(PocketCalculator&)> press;
    };
    const Key keys[] = {
        {"C", 1, 0, [](PocketCalculator& c) { c.clear(); }},
        {"CE", 1, 1, [](PocketCalculator& c) { c.clearEntry(); }},
        {"<-", 1, 2, [](PocketCalculator& c) { c.backspace(); }},
        {"/", 1, 3, [](PocketCalculator& c) { c.pressOperation(Operation::Divide); }},
        {"7", 2, 0, [](PocketCalculator& c) { c.pressDigit(7); }},
        {"8", 2, 1, [](PocketCalculator& c) { c.pressDigit(8); }},
        {"9", 2, 2, [](PocketCalculator& c) { c.pressDigit(9); }},
        {"*", 2, 3, [](PocketCalculator& c) { c.pressOperation(Operation::Multiply); }},
        {"4", 3, 0, [](PocketCalculator& c) { c.pressDigit(4); }},
        {"5", 3, 1, [](PocketCalculator& c) { c.pressDigit(5); }},
        {"6", 3, 2, [](PocketCalculator& c) { c.pressDigit(6); }},
        {"-", 3, 3, [](PocketCalculator& c) { c.pressOperation(Operation::Subtract); }},
        {"1", 4, 0, [](PocketCalculator& c) { c.pressDigit(1); }},
        {"2", 4, 1, [](PocketCalculator& c) { c.pressDigit(2); }},
        {"3", 4, 2, [](PocketCalculator& c) { c.pressDigit(3); }},
        {"+", 4, 3, [](PocketCalculator& c) { c.pressOperation(Operation::Add); }},
        {"+/-", 5, 0, [](PocketCalculator& c) { c.toggleSign(); }},
        {"0", 5, 1, [](PocketCalculator& c) { c.pressDigit(0); }},
        {".", 5, 2, [](PocketCalculator& c) { c.pressPoint(); }},
        {"=", 5, 3, [](PocketCalculator& c) { c.pressEquals(); }},
    };
    for (const Key& key : keys) {
        auto* button = new QPushButton(QString::fromLatin1(key.caption), this);
        button->setFocusPolicy(Qt::NoFocus);
        grid->addWidget(button, key.row, key.column);
        connect(button, &QPushButton::clicked, this, [this, press = key.press] {
            press(calculator_);
            refresh();
        });
    }
    refresh();
}

QString CalculatorDialog::displayText() const {
    return display_->text();
}

void CalculatorDialog::refresh() {
    display_->setText(QString::fromStdString(calculator_.display()));
}

void CalculatorDialog::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        calculator_.pressDigit(key - Qt::Key_0);
    } else {
        switch (key) {
            case Qt::Key_Period:
            case Qt::Key_Comma: calculator_.pressPoint(); break;
            case Qt::Key_Plus: calculator_.pressOperation(Operation::Add); break;
            case Qt::Key_Minus: calculator_.pressOperation(Operation::Subtract); break;
            case Qt::Key_Asterisk: calculator_.pressOperation(Operation::Multiply); break;
            case Qt::Key_Slash: calculator_.pressOperation(Operation::Divide); break;
            case Qt::Key_Equal:
            case Qt::Key_Return:
            case Qt::Key_Enter: calculator_.pressEquals(); break;
            case Qt::Key_Backspace: calculator_.backspace(); break;
            case Qt::Key_Delete: calculator_.clearEntry(); break;
            default:
                QDialog::keyPressEvent(event);  // Escape still closes the dialog
                return;
        }
    }
    refresh();
}

}  // namespace dyno
