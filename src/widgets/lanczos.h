#pragma once
// Windowed-sinc (Lanczos, a = 3) resampling for shrinking pictures: sharper
// than the bilinear or box filters that QImage::scaled offers, without their
// blur on text and thin lines.

#include <QImage>

namespace quarvel {
QImage LanczosScaled(const QImage& source, QSize size);
}
