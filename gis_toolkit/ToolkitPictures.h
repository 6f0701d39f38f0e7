#pragma once
// The toolkit's pictures, drawn in code: the report window's icon, the grip in the
// corner of resizable windows, and the progress window's picture, bar and bar border.
#include <QImage>

namespace gis_toolkit::pictures {

// A picture of that size to draw on, transparent where nothing is drawn.
QImage transparentImage(int width, int height);

// 16 x 16: a page of text.
QImage reportIcon();
// 15 x 15: diagonal white-and-grey grip bars on a transparent ground.
QImage cornerBars();
// 32 x 32: a clock face.
QImage progressClock();
// The sunken border of the progress bar and the bar itself (both drawn stretched).
QImage progressBarBorder();
QImage progressBar();

}  // namespace gis_toolkit::pictures
