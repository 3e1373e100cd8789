#pragma once

#include <QImage>
#include <QSize>

namespace dyno {

// The program's own picture of a roller dyno: a scooter wheel on the roller with
// the name beside it. It stands on the Info page, above the Speed page's dials and,
// small, on the printed report.
QImage dynoEmblem(QSize size);

}  // namespace dyno
