#include "app/acquisition/K40Session.h"

#include "acquisition/electronics/K40Electronics.h"
#include "app/composition/ProgramParts.h"

namespace dyno {

// The one line the K40Link sees: the link the factory gives for the port name
// passed to open(), until another name is opened.
class K40Session::NamedPortLink final : public ByteLink {
  public:
    explicit NamedPortLink(K40LinkFactory& links) : links_(links) {}
    ~NamedPortLink() override {
        if (active_ != nullptr) active_->setListener(nullptr);
    }
    NamedPortLink(const NamedPortLink&) = delete;
    NamedPortLink& operator=(const NamedPortLink&) = delete;

    bool open(std::string_view portName) override {
        ByteLink& wanted = links_.linkFor(portName);
        if (&wanted != active_) {
            if (active_ != nullptr) {
                active_->close();
                active_->setListener(nullptr);
            }
            active_ = &wanted;
            active_->setListener(listener_);
        }
        return active_->open(portName);
    }
    void close() override {
        if (active_ != nullptr) active_->close();
    }
    bool isOpen() const override { return active_ != nullptr && active_->isOpen(); }
    std::string errorText() const override {
        return active_ != nullptr ? active_->errorText() : std::string();
    }
    std::size_t bytesWaiting() const override {
        return active_ != nullptr ? active_->bytesWaiting() : 0;
    }
    std::size_t read(std::span<std::uint8_t> buffer) override {
        return active_ != nullptr ? active_->read(buffer) : 0;
    }
    bool write(std::span<const std::uint8_t> bytes) override {
        return active_ != nullptr && active_->write(bytes);
    }
    void purgeInput() override {
        if (active_ != nullptr) active_->purgeInput();
    }
    void setListener(ByteLinkListener* listener) override {
        listener_ = listener;
        if (active_ != nullptr) active_->setListener(listener);
    }

  private:
    K40LinkFactory& links_;
    ByteLink* active_ = nullptr;  // none until a port is opened
    ByteLinkListener* listener_ = nullptr;
};

K40Session::K40Session(Clock& clock, K40LinkFactory& links, SessionModel& model,
                       const K40Views& views)
    : messages_(&views.messages),
      liveTee_(views.sequence, views.live, model.slot(1)),
      port_(std::make_unique<NamedPortLink>(links)) {
    const K40Link::Seams seams{*port_, clock, liveTee_, liveTee_, views.status, *this};
    link_ = std::make_unique<K40Link>(seams, model, state_);
}

K40Session::~K40Session() {
    // The link lets go of the port before the port goes.
    link_.reset();
}

void K40Session::setSessionSetupRefresh(std::function<void(SessionSetup&)> refresh) {
    link_->setSessionSetupRefresh(std::move(refresh));
}

void K40Session::setWeatherSetupSource(std::function<K40WeatherSetup()> source) {
    weatherSource_ = source;
    link_->setWeatherSetupSource(std::move(source));
}

void K40Session::closeIfOtherPort(const std::string& portName) {
    // The link opens the port only when it is closed; another name in `comedit` is
    // another port.
    if (port_->isOpen() && portName != openPortName_) port_->close();
    openPortName_ = portName;
}

K40Link::Outcome K40Session::sendStartUp(const std::string& portName, std::uint8_t transferDelay,
                                         MessageSink& messages) {
    if (link_->isDispatching()) return K40Link::Outcome::Busy;
    closeIfOtherPort(portName);
    MessageSink* previous = messages_;
    messages_ = &messages;
    const K40Link::Outcome outcome = link_->sendStartUp(portName, transferDelay);
    messages_ = previous;
    return outcome;
}

K40Link::Outcome K40Session::start(const K40Start& request) {
    if (link_->isDispatching()) {
        // A message box of the dispatch is open; its nested event loop ran this.
        show(MessageKind::Warning, kDynoCaption, kSlot1BusyText);
        return K40Link::Outcome::Busy;
    }
    closeIfOtherPort(request.portName);
    lastStart_ = request;
    liveTee_.beginSession(request.session, request.isRevCounterCheck);
    return link_->start(request);
}

K40Link::Outcome K40Session::requestWeather(const std::string& portName,
                                            std::uint8_t transferDelay) {
    if (link_->isDispatching() || link_->isPaused()) return K40Link::Outcome::Busy;
    closeIfOtherPort(portName);
    const K40WeatherSetup weather = weatherSource_ ? weatherSource_() : K40WeatherSetup{};
    return link_->requestWeather(portName, transferDelay, weather);
}

bool K40Session::stop() {
    return link_->stopSession();
}

bool K40Session::isSessionRunning() const {
    return link_->isSessionRunning();
}

bool K40Session::isBusy() const {
    return link_->isDispatching() || link_->isPaused();
}

DynoElectronics::Request K40Session::start(const PreparedTestStart& start) {
    return requestOf(this->start(start.k40));
}

DynoElectronics::Request K40Session::readWeatherStation(const StationRequest& request) {
    const K40Link::Outcome outcome = requestWeather(request.portName, request.transferDelay);
    if (outcome == K40Link::Outcome::Busy) {
        messages_->show(MessageKind::Warning, kDynoCaption, kSlot1BusyText);
    }
    return requestOf(outcome);
}

void K40Session::show(MessageKind kind, std::string_view caption, std::string_view text) {
    messages_->show(kind, caption, text);
}

}  // namespace dyno
