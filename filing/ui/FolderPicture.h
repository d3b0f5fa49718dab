#pragma once

#include <QImage>

// The yellow file folder, 110 by 94 pixels, that every category target shows stretched.
QImage folderPicture();
