#include "app/acquisition/CardStartup.h"

#include <utility>

namespace dyno {

CardStartup connectCard(Electronics electronics, const CardChoice& choice,
                        const CardBusOpener& openBus, MessageSink& messages) {
    CardStartup startup;
    if (electronics != Electronics::Card || !openBus) return startup;
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
