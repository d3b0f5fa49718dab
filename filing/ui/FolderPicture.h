#pragma once

#include <QImage>

// The yellow file folder, 110 by 94 pixels, that every category target shows stretched. Its background
// is the colour of its bottom-left pixel, which a transparent bitmap leaves see-through.
QImage folderPicture();
