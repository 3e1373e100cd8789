#pragma once

#include <QImage>
#include <QString>
#include <memory>

#include "evaluation/EvaluationOptions.h"
#include "liveview/LiveFeed.h"
#include "liveview/LiveViewServer.h"
#include "liveview/LiveViewTee.h"
#include "model/AnalysisSettings.h"

namespace dyno {

// The window's rider's live view: the server the Analysis page switches on and off,
// fed by the K40 session's and the card session's tees. Its access code is made
// once, when the program starts, and stays the same over every start of the server.
class RiderLiveView {
  public:
    RiderLiveView(LiveViewTee& k40, LiveViewTee& card);
    ~RiderLiveView();
    RiderLiveView(const RiderLiveView&) = delete;
    RiderLiveView& operator=(const RiderLiveView&) = delete;

    // Serves the view as `settings` say: stopped when it is off, otherwise (again) on
    // its port and reach. False, with errorText(), when the port cannot be had.
    bool start(const LiveViewSettings& settings);
    void stop();
    bool isRunning() const { return server_ != nullptr; }

    // The page's address with the code ("http://192.168.1.20:8040/?code=123456");
    // empty while stopped.
    QString address() const;
    const QString& accessCode() const { return code_; }
    // The address as a QR code for a phone's camera; a null image while stopped.
    QImage addressQrCode(int modulePixels = 4) const;
    const QString& errorText() const { return error_; }

    // The units the runs' figures are sent in: the Graphs and Setup pages' choices.
    void setEvaluationOptions(const EvaluationOptions& options);

  private:
    LiveViewTee& k40_;
    LiveViewTee& card_;
    LiveFeed feed_;
    QString code_;
    QString error_;
    EvaluationOptions options_;
    std::unique_ptr<LiveViewServer> server_;
};

}  // namespace dyno
