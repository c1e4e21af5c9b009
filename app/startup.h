#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// The parts of start-up that decide rather than show: where the main window goes, the
// screen-scale check and the removal of the last run's update files.
namespace velmora {

// The designed client size that the centring formula uses, whatever the window's real size.
inline constexpr QSize DesignedClientSize(264, 498);

// The designed client area centred on a screen of the given size, dividing with truncation.
QPoint centredPosition(QSize screen);

// A restored position that would leave the window on no attached screen's available area (a
// monitor that is gone) gives the centred position instead; anything on a screen, negative
// coordinates included, stays as it is.
QPoint reachablePosition(const QRect& restoredFrame, const QList<QRect>& availableAreas,
                         QPoint centred);

// The window's frame moved into a screen's available area: up and left as far as it sticks out
// past the bottom and right edges, then down and right so that its top and left edges are in.
// A frame taller or wider than the area keeps its top-left corner at the area's.
QRect keptInside(const QRect& frame, const QRect& area);

// Compares the screen scale stored for the given Windows version with 96 dots per inch and,
// above it, asks to set it to 96; on Yes writes 96, tells the user and ends the program once
// its event loop runs. Versions other than "6.1", "6.0" and "5.1" have no check. A refused
// write fails.
void runScreenScaleCheck(const QString& windowsVersion);

} // namespace velmora
