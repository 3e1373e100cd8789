#include "evaluation/RollerInertia.h"

#include <algorithm>

#include "evaluation/DynoConstants.h"

namespace dyno {

const std::array<RollerInertia, RollerInertiaTable::kEntries>& RollerInertiaTable::entries() {
    // The quotients as the dyno's roller data sheet lists them, rounded to 11 places.
    static constexpr std::array<RollerInertia, kEntries> kTable{{
        // K70
        {0, 0.02092050209},
        {1, 0.02107531381},
        {2, 0.02122175732},
        {3, 0.02137656904},
        {10, 0.02859832636},
        {11, 0.02881171548},
        {12, 0.02900836820},
        {13, 0.02922594142},
        {20, 0.02617573222},
        {21, 0.02634728033},
        {22, 0.02651046025},
        {23, 0.02669037657},
        {30, 0.03463179916},
        {31, 0.03492887029},
        {32, 0.03478661088},
        {33, 0.03508786611},
        // K80
        {50, 0.02383682008},
        {51, 0.02401255230},
        {52, 0.02417991632},
        {53, 0.02435564854},
        {60, 0.03276150628},
        {61, 0.03297071130},
        {62, 0.03316736402},
        {63, 0.03337656904},
        {70, 0.02895397490},
        {71, 0.02913389121},
        {72, 0.02929288703},
        {73, 0.02945606695},
        {80, 0.03904602510},
        {81, 0.03934309623},
        {82, 0.03920083682},
        {83, 0.03950209205},
    }};
    return kTable;
}

std::optional<double> RollerInertiaTable::massFactorOf(int rollerCode) {
    const auto& table = entries();
    const auto found = std::find_if(table.begin(), table.end(), [rollerCode](const auto& entry) {
        return entry.rollerCode == rollerCode;
    });
    if (found == table.end()) return std::nullopt;
    return found->massFactor;
}

std::optional<double> speedOffsetOf(int dynoModel, int rollerCode) {
    if (dynoModel == static_cast<int>(DynoModel::K40)) return -5.0;
    const auto within = [rollerCode](int first, int last) {
        return rollerCode >= first && rollerCode <= last;
    };
    if (within(0, 19) || within(50, 69)) return 11.0;    // standard and heavy rollers
    if (within(20, 39) || within(70, 89)) return -10.0;  // rollers with eddy-current brake
    return std::nullopt;
}

}  // namespace dyno
