#pragma once

#include <QString>
#include <QStringList>

namespace dyno {

// The K40 port choices of `comedit`: "COM1" .. "COM9" as the workshop knows them
// (COMn is the n-th standard serial port, /dev/ttyS(n-1)), then the serial ports
// present on this machine by their short names ("ttyUSB0"), then "SIM" for the
// built-in simulated electronics. `presentPorts` are short names; those already
// covered by a COM name and repeats are left out.
QStringList k40PortChoices(const QStringList& presentPorts);

// The same list with the serial ports this machine reports now.
QStringList k40PortChoicesOfThisMachine();

}  // namespace dyno
