#include "app/acquisition/RiderLiveView.h"

#include "liveview/AccessCode.h"
#include "liveview/AddressQrCode.h"

namespace dyno {

RiderLiveView::RiderLiveView(LiveViewTee& k40, LiveViewTee& card)
    : k40_(k40), card_(card), code_(makeAccessCode()) {
    // Fed while stopped too: a view switched on mid-session shows where it stands.
    k40_.attach(&feed_);
    card_.attach(&feed_);
}

RiderLiveView::~RiderLiveView() {
    k40_.attach(nullptr);
    card_.attach(nullptr);
}

bool RiderLiveView::start(const LiveViewSettings& settings) {
    stop();
    error_.clear();
    if (!settings.isOn) return true;
    auto server = std::make_unique<LiveViewServer>(feed_, code_);
    server->setEvaluationOptions(options_);
    if (!server->listen(settings.reach, settings.port)) {
        error_ = server->errorText();
        return false;
    }
    server_ = std::move(server);
    return true;
}

void RiderLiveView::stop() {
    server_.reset();
}

QString RiderLiveView::address() const {
    return server_ ? server_->address() : QString();
}

QImage RiderLiveView::addressQrCode(int modulePixels) const {
    return server_ ? dyno::addressQrCode(server_->address(), modulePixels) : QImage();
}

void RiderLiveView::setEvaluationOptions(const EvaluationOptions& options) {
    options_ = options;
    if (server_) server_->setEvaluationOptions(options);
}

}  // namespace dyno
