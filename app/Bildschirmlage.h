#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where a window with this frame must go so that it lies on a screen: unchanged when its middle is on
// one, otherwise moved onto the nearest screen's free area (as much of it as fits).
QPoint sichtbareLage(const QRect& rahmen);
// A place beside the frame `neben` for a window of size `groesse`: right of it, or left of it when the
// screen ends there; always on a screen.
QPoint lageDaneben(const QRect& neben, const QSize& groesse);
// A stored window size made fit for the screen nearest to ort: at least minimum (and one pixel), at most
// that screen's free area, whatever the settings said (zero, negative, huge).
QSize passendeGroesse(const QSize& gewuenscht, const QSize& minimum, const QPoint& ort);
