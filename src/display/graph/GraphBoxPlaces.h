#pragma once

#include <QPoint>

// Where the Graphs page's paint boxes sit on the page, in the page's pixels: the
// window places its boxes here and the panel `dynotool graph` writes lays its images
// out the same way, so both show one picture.
namespace dyno::graph {

inline constexpr QPoint kLegendAt(0, 0);
inline constexpr QPoint kPowerLabelsAt(140, 0);
inline constexpr QPoint kGraphAt(161, 4);
inline constexpr QPoint kAxisLabelsAt(160, 406);
inline constexpr QPoint kRpmLabelsAt(764, 0);

}  // namespace dyno::graph
