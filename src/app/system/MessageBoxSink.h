#pragma once

#include <QWidget>

#include "model/MessageSink.h"

namespace dyno {

// The program's modal messages as message boxes with an OK button, over `parent`
// or, without one, over the active window.
class MessageBoxSink : public MessageSink {
  public:
    explicit MessageBoxSink(QWidget* parent = nullptr) : parent_(parent) {}
    void show(MessageKind kind, std::string_view caption, std::string_view text) override;

  private:
    QWidget* parent_;
};

}  // namespace dyno
