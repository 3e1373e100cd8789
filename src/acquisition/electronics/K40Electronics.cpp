#include "acquisition/electronics/K40Electronics.h"

#include "acquisition/electronics/Slot1Lock.h"

namespace dyno {

DynoElectronics::Request requestOf(K40Link::Outcome outcome) {
    switch (outcome) {
        case K40Link::Outcome::Done: return DynoElectronics::Request::Done;
        case K40Link::Outcome::NothingToDo: return DynoElectronics::Request::NothingToDo;
        case K40Link::Outcome::PortFailed: return DynoElectronics::Request::Failed;
        case K40Link::Outcome::Busy: return DynoElectronics::Request::Busy;
    }
    return DynoElectronics::Request::Failed;
}

DynoElectronics::Request K40Electronics::told(K40Link::Outcome outcome) {
    // A request from inside a dispatch: a message box of the dispatch is open.
    if (outcome == K40Link::Outcome::Busy) {
        messages_.show(MessageKind::Warning, kDynoCaption, kSlot1BusyText);
    }
    return requestOf(outcome);
}

DynoElectronics::Request K40Electronics::start(const PreparedTestStart& start) {
    return told(link_.start(start.k40));
}

DynoElectronics::Request K40Electronics::readWeatherStation(const StationRequest& request) {
    return told(link_.requestWeather(request.portName, request.transferDelay, request.k40Weather));
}

}  // namespace dyno
