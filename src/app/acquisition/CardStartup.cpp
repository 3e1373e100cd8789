#include "app/acquisition/CardStartup.h"

#include <utility>

#include "evaluation/DynoConstants.h"

namespace dyno {

CardStartup connectCard(int electronicsIndex, const CardChoice& choice,
                        const CardBusOpener& openBus, MessageSink& messages) {
    CardStartup startup;
    if (electronicsIndex != static_cast<int>(Electronics::Card) || !openBus) return startup;
    CardBusOpening opening = openBus(choice);
    if (opening.bus == nullptr) {
        messages.show(MessageKind::Error, kCardErrorCaption, opening.errorText);
        startup.exitStatus = 1;
        return startup;
    }
    startup.bus = std::move(opening.bus);
    startup.timing = opening.timing;
    return startup;
}

}  // namespace dyno
