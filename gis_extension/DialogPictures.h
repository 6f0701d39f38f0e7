#pragma once
// The pictures of the parameters dialog, drawn in code: the folder button's picture,
// the picture shown while the dialog is busy, and the window's icon.
#include <QImage>

namespace gis_extension::pictures {

// 15 x 13: an open yellow folder.
QImage folderButton();
// 64 x 30: an hourglass beside three dots.
QImage busy();
// 32 x 32: two patches and the distance between them.
QImage withinDistanceIcon();

}  // namespace gis_extension::pictures
