#include "app/composition/FunctionKeys.h"

#include <Qt>

namespace dyno {

std::optional<FunctionKeyAction> functionKeyAction(int qtKey) {
    switch (qtKey) {
        case Qt::Key_F1: return FunctionKeyAction::OpenHelp;
        case Qt::Key_F2: return FunctionKeyAction::UpdateDisplay;
        case Qt::Key_F3: return FunctionKeyAction::StartTest;
        case Qt::Key_F5: return FunctionKeyAction::SaveSession1;
        case Qt::Key_F8: return FunctionKeyAction::ShowCalculator;
        case Qt::Key_F9: return FunctionKeyAction::Print;
        default: return std::nullopt;
    }
}

}  // namespace dyno
