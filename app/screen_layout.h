#pragma once

#include <QFont>
#include <QRect>

class QLabel;
class QWidget;

// The windows are laid out in pixels of a 120 pixels-per-inch design. Everything is scaled by
// the screen's logical resolution, so a 96-dpi screen shows the windows at 0.8 of the design.
namespace tavrin::layout {

// logicalDpi / 120 of the primary screen, fixed at the first call.
double factor();

// A design length or coordinate in screen pixels.
int px(int designPixels);

// The screen rectangle of a design rectangle; adjacent design edges stay adjacent.
QRect rect(int x, int y, int width, int height);

void place(QWidget* widget, int x, int y, int width, int height);

// The design's "MS Sans Serif" and "MS Serif" at a design pixel height, mapped to the
// platform's sans and serif families. Slightly condensed, since the platform faces run wider
// than the ones the layout was drawn for.
QFont sansFont(int designHeight, bool bold = false);
QFont serifFont(int designHeight, bool bold = false);

// Puts an auto-sized caption at its design position, vertically centred on its field. A caption
// that would run into the field to its right is moved left to end a small gap before it.
void placeCaption(QLabel* caption, int x, int y, const QWidget* field = nullptr);

} // namespace tavrin::layout
