// The pixels of a picture that show something, as a region: the window shape
// of a translucent surface without a compositor and its input shape with one.
#pragma once

#include <QImage>
#include <QRegion>

// Pixels of a 32-bit picture with at least MinAlpha in their alpha byte.
QRegion PixelRegion(const QImage& Image, unsigned MinAlpha);
