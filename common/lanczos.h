// Picture scaling with the Lanczos filter (a windowed sinc with a support of three lobes).
//
// The printer's dot lines are drawn at full size and scaled down to the paper, the paper viewer
// and the system printer; a plain box filter would smear the dots into grey bars, Lanczos keeps
// their edges. The resampler is separable (one pass across, one pass down) and follows the
// usual conventions of image tools: pixel centres at half-integers, the kernel widened by the
// reduction factor when shrinking, and weights renormalised where the kernel leaves the picture.
#pragma once

#include <QImage>
#include <vector>

namespace orrindale {

// The Lanczos kernel with support 3: sinc(x) * sinc(x / 3) inside |x| < 3, zero outside.
double LanczosKernel(double x);

// The source pixels and weights that make one target pixel along one axis.
struct LanczosTaps {
    int First = 0;               // first source pixel
    std::vector<double> Weights; // for First, First + 1, ...; they sum to 1
};

// The taps of every target pixel when scaling `from` pixels to `to` pixels.
std::vector<LanczosTaps> LanczosAxis(int from, int to);

// The picture scaled to width x height. Colour channels only: the result is opaque
// (Format_RGB32), which is all the printer needs. An empty source or size gives a null image.
QImage LanczosResize(const QImage& source, int width, int height);

} // namespace orrindale
