#include "app/system/PortList.h"

#include <QSerialPortInfo>

#include "simulator/SimulatedK40.h"

namespace dyno {

namespace {

constexpr int kComPorts = 9;
QString simulatedPort() {
    return QString::fromLatin1(kSimulatedPortName.data(),
                               static_cast<qsizetype>(kSimulatedPortName.size()));
}

}  // namespace

QStringList k40PortChoices(const QStringList& presentPorts) {
    QStringList choices;
    for (int n = 1; n <= kComPorts; ++n) choices << QStringLiteral("COM%1").arg(n);
    QStringList standardDevices;
    for (int n = 0; n < kComPorts; ++n) standardDevices << QStringLiteral("ttyS%1").arg(n);
    for (const QString& port : presentPorts) {
        if (port.isEmpty() || standardDevices.contains(port) || choices.contains(port)) continue;
        choices << port;
    }
    choices << simulatedPort();
    return choices;
}

QStringList k40PortChoicesOfThisMachine() {
    QStringList present;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        present << info.portName();
    }
    present.sort();
    return k40PortChoices(present);
}

}  // namespace dyno
