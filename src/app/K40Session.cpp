#include "app/K40Session.h"

#include <QWidget>

#include "acquisition/ports/QtClock.h"
#include "acquisition/ports/SerialByteLink.h"
#include "app/ControlLookup.h"
#include "widgets/Led.h"

namespace dyno {

namespace {

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

// The one line the K40Link sees: the serial port or the simulated electronics,
// whichever the name given to open() stands for.
class K40Session::PortChoice final : public ByteLink {
  public:
    PortChoice(ByteLink& serial, ByteLink& simulated, bool isAlwaysSimulated)
        : serial_(serial), simulated_(simulated), isAlwaysSimulated_(isAlwaysSimulated) {}

    bool open(std::string_view portName) override {
        ByteLink& wanted =
            isAlwaysSimulated_ || portName == kSimulatedPortName ? simulated_ : serial_;
        if (&wanted != active_) {
            active_->close();
            active_ = &wanted;
        }
        return active_->open(portName);
    }
    void close() override { active_->close(); }
    bool isOpen() const override { return active_->isOpen(); }
    std::string errorText() const override { return active_->errorText(); }
    std::size_t bytesWaiting() const override { return active_->bytesWaiting(); }
    std::size_t read(std::span<std::uint8_t> buffer) override { return active_->read(buffer); }
    bool write(std::span<const std::uint8_t> bytes) override { return active_->write(bytes); }
    void purgeInput() override { active_->purgeInput(); }
    void setListener(ByteLinkListener* listener) override {
        serial_.setListener(listener);
        simulated_.setListener(listener);
    }

  private:
    ByteLink& serial_;
    ByteLink& simulated_;
    bool isAlwaysSimulated_;
    ByteLink* active_ = &serial_;
};

K40Session::K40Session(QWidget& window, SessionModel& model, SequenceView& sequenceView,
                       LiveDisplay& liveDisplay, MessageSink& messages)
    : window_(window),
      model_(model),
      sequenceView_(sequenceView),
      liveDisplay_(liveDisplay),
      messages_(&messages) {}

K40Session::~K40Session() = default;

void K40Session::configure(const K40SessionOptions& options) {
    link_.reset();
    portChoice_.reset();
    simulated_.reset();
    serial_.reset();
    ownedClock_.reset();
    openPortName_.clear();
    options_ = options;
}

K40Link& K40Session::link() {
    if (link_) return *link_;
    Clock* clock = options_.clock;
    if (clock == nullptr) {
        ownedClock_ = std::make_unique<QtClock>(options_.timeLapse);
        clock = ownedClock_.get();
    }
    const VehicleProfile* vehicle = findVehicleProfile(options_.vehicle);
    if (vehicle == nullptr) vehicle = &vehicleProfiles().front();
    serial_ = std::make_unique<SerialByteLink>();
    simulated_ = std::make_unique<SimulatedK40>(*clock, *vehicle, options_.electronics);
    portChoice_ = std::make_unique<PortChoice>(*serial_, *simulated_, options_.isAlwaysSimulated);
    const K40Link::Seams seams{*portChoice_, *clock, sequenceView_, liveDisplay_, *this, *this};
    link_ = std::make_unique<K40Link>(seams, model_, state_);
    link_->setSessionSetupRefresh(setupRefresh_);
    return *link_;
}

void K40Session::setSessionSetupRefresh(std::function<void(K40SessionSetup&)> refresh) {
    setupRefresh_ = std::move(refresh);
    if (link_) link_->setSessionSetupRefresh(setupRefresh_);
}

void K40Session::closeIfOtherPort(const std::string& portName) {
    // The link opens the port only when it is closed; another name in `comedit` is
    // another port.
    if (portChoice_ && portChoice_->isOpen() && portName != openPortName_) portChoice_->close();
    openPortName_ = portName;
}

K40Link::Outcome K40Session::sendStartUp(const QString& portName, std::uint8_t transferDelay,
                                         MessageSink& messages) {
    K40Link& k40 = link();
    if (k40.isDispatching()) return K40Link::Outcome::Busy;
    const std::string name = portName.trimmed().toStdString();
    closeIfOtherPort(name);
    MessageSink* previous = messages_;
    messages_ = &messages;
    const K40Link::Outcome outcome = k40.sendStartUp(name, transferDelay);
    messages_ = previous;
    return outcome;
}

K40Link::Outcome K40Session::start(const K40Start& request) {
    K40Link& k40 = link();
    if (k40.isDispatching()) {
        // A message box of the dispatch is open; its nested event loop ran this.
        show(MessageKind::Warning, kDynoCaption, kSlot1BusyText);
        return K40Link::Outcome::Busy;
    }
    closeIfOtherPort(request.portName);
    lastStart_ = request;
    return k40.start(request);
}

bool K40Session::isBusy() const {
    return link_ && (link_->isDispatching() || link_->isPaused());
}

bool K40Session::refuseWhileBusy(MessageSink& messages) const {
    if (!isBusy()) return false;
    messages.show(MessageKind::Warning, kDynoCaption, kSlot1BusyText);
    return true;
}

void K40Session::setLed(bool isOn) {
    if (auto* led = controls::find<Led>(&window_, "led")) led->setOn(isOn);
}

void K40Session::showFirmwareVersion(std::string_view high, std::string_view low) {
    controls::writeText(&window_, "versionhigh", fromView(high));
    controls::writeText(&window_, "versionlow", fromView(low));
}

void K40Session::showSampleSetting(std::string_view samples) {
    controls::writeText(&window_, "samples_edit", fromView(samples));
}

void K40Session::showStationValues(const StationDisplayTexts& texts) {
    controls::writeText(&window_, "baroedit", QString::fromStdString(texts.pressure));
    controls::writeText(&window_, "tempedit", QString::fromStdString(texts.temperature));
    controls::writeText(&window_, "fugtedit", QString::fromStdString(texts.humidity));
}

void K40Session::showCorrectionFactor(std::string_view text) {
    controls::writeText(&window_, "correctionedit", fromView(text));
}

void K40Session::show(MessageKind kind, std::string_view caption, std::string_view text) {
    messages_->show(kind, caption, text);
}

}  // namespace dyno
