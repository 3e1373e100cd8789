#pragma once

#include <QString>

namespace dyno {

// Digits of the live view's access code: a million codes, typed on a phone in a
// moment, made afresh at each start of the program, so an address seen once on a
// workshop's network does not reach the view the next day.
inline constexpr int kAccessCodeDigits = 6;

// A code from the operating system's random source, not a seeded generator.
QString makeAccessCode();

// The same characters, compared in time that does not depend on where they differ.
bool isAccessCode(const QString& offered, const QString& code);

}  // namespace dyno
