#pragma once

#include <optional>

namespace dyno {

// What the function keys do anywhere in the main window. Shift, Ctrl and Alt are
// not looked at: Shift+F5 saves session 1 just like F5.
enum class FunctionKeyAction {
    OpenHelp,        // F1
    UpdateDisplay,   // F2, the Graphs page's "Update Display"
    StartTest,       // F3, the Test page's "Start Test"
    SaveSession1,    // F5, "Save Test session 1"
    ShowCalculator,  // F8
    Print,           // F9
};

// `qtKey` is a Qt::Key value; modifiers are deliberately not an argument.
std::optional<FunctionKeyAction> functionKeyAction(int qtKey);

}  // namespace dyno
