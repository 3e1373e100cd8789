#pragma once

#include <QWidget>

#include "model/MessageSink.h"

namespace dyno {

// The program's modal messages as message boxes over `parent`, with an OK button.
class MessageBoxSink : public MessageSink {
  public:
    explicit MessageBoxSink(QWidget* parent = nullptr) : parent_(parent) {}
    void show(MessageKind kind, std::string_view caption, std::string_view text) override;

  private:
    QWidget* parent_;
};

}  // namespace dyno
