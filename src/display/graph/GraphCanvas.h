#pragma once

class QPainter;

namespace dyno {

class TextLayouts;

// The five paint boxes of the Graphs page, each drawn in its own pixel coordinates
// (origin top left). The page paints into images the size of its boxes;
// `dynotool graph` into images it writes as PNG; the print report into painters
// scaled to the page.
struct GraphCanvas {
    QPainter& graph;        // grafwin: the 600 x 400 black graph area
    QPainter& powerLabels;  // lodret: power numbers, left of the graph
    QPainter& axisLabels;   // vandret: speed (or engine-speed) numbers below it
    QPainter& rpmLabels;    // lodret2: engine-speed numbers, right of it
    QPainter& legend;       // data1: maximum power and correction factor per slot
    TextLayouts& texts;     // the labels' layouts, kept by the boxes' owner
};

}  // namespace dyno
