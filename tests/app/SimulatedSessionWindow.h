#pragma once

// A window that records whole sessions on the simulated K40 electronics as fast as
// the computer goes: every port reaches them, the toolkit's timers run a hundred
// times the wall clock, and the session's questions are answered yes.
#include <QString>

#include "app/acquisition/K40Session.h"
#include "app/acquisition/TestControl.h"
#include "app/composition/MainWindow.h"
#include "app/composition/ProgramParts.h"
#include "app/pages/TestPage.h"
#include "model/MessageSink.h"

namespace dyno::testing {

inline ProgramOptions fastSimulatedSession() {
    ProgramOptions options;
    options.isSimulated = true;
    options.timeLapse = 100;
    options.electronics.isPacedAtLineRate = false;
    return options;
}

// The session's messages go to `messages`; "Start a new test?" is answered yes.
inline void takeSessionMessages(MainWindow& window, MessageSink& messages) {
    window.k40Session()->setMessageSink(messages);
    window.testControl()->setMessageSink(messages);
    window.testPage()->setConfirmation([](const QString&) { return true; });
}

}  // namespace dyno::testing
