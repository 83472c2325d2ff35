#include "common/lanczos.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orrindale {

namespace {

constexpr double kSupport = 3.0;
constexpr int kChannels = 3;

// A picture as floating point red, green, blue triples, row by row.
struct Plane {
    int Width = 0, Height = 0;
    std::vector<float> Values;
    float* Row(int y) { return Values.data() + static_cast<size_t>(y) * Width * kChannels; }
    const float* Row(int y) const {
        return Values.data() + static_cast<size_t>(y) * Width * kChannels;
    }
};

Plane MakePlane(int width, int height) {
    Plane p{width, height, {}};
    p.Values.assign(static_cast<size_t>(width) * height * kChannels, 0.0f);
    return p;
}

Plane ToPlane(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    Plane p = MakePlane(rgb.width(), rgb.height());
    for (int y = 0; y < p.Height; ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        float* out = p.Row(y);
        for (int x = 0; x < p.Width; ++x) {
            *out++ = static_cast<float>(qRed(in[x]));
            *out++ = static_cast<float>(qGreen(in[x]));
            *out++ = static_cast<float>(qBlue(in[x]));
        }
    }
    return p;
}

// Values are clamped to the channel range after each pass: the kernel's negative lobes
// overshoot at hard edges, and carrying the overshoot into the second pass would brighten or
// darken the far side of a dot.
void Clamp(Plane& p) {
    for (float& v : p.Values)
        v = std::clamp(v, 0.0f, 255.0f);
}

Plane PassAcross(const Plane& in, int width) {
    const std::vector<LanczosTaps> taps = LanczosAxis(in.Width, width);
    Plane out = MakePlane(width, in.Height);
    for (int y = 0; y < in.Height; ++y) {
        const float* src = in.Row(y);
        float* dst = out.Row(y);
        for (const LanczosTaps& t : taps) {
            float sum[kChannels] = {0, 0, 0};
            const float* s = src + static_cast<size_t>(t.First) * kChannels;
            for (double w : t.Weights) {
                for (int c = 0; c < kChannels; ++c)
                    sum[c] += static_cast<float>(w) * s[c];
                s += kChannels;
            }
            for (int c = 0; c < kChannels; ++c)
                *dst++ = sum[c];
        }
    }
    Clamp(out);
    return out;
}

Plane PassDown(const Plane& in, int height) {
    const std::vector<LanczosTaps> taps = LanczosAxis(in.Height, height);
    Plane out = MakePlane(in.Width, height);
    const size_t rowValues = static_cast<size_t>(in.Width) * kChannels;
    for (int y = 0; y < height; ++y) {
        const LanczosTaps& t = taps[static_cast<size_t>(y)];
        float* dst = out.Row(y);
        for (size_t i = 0; i < t.Weights.size(); ++i) {
            const float w = static_cast<float>(t.Weights[i]);
            const float* src = in.Row(t.First + static_cast<int>(i));
            for (size_t v = 0; v < rowValues; ++v)
                dst[v] += w * src[v];
        }
    }
    Clamp(out);
    return out;
}

int Channel(float v) {
    return static_cast<int>(std::lround(v));
}

} // namespace

double LanczosKernel(double x) {
    x = std::fabs(x);
    if (x >= kSupport) return 0.0;
    if (x < 1e-9) return 1.0;
    const double px = std::numbers::pi * x;
    return kSupport * std::sin(px) * std::sin(px / kSupport) / (px * px);
}

std::vector<LanczosTaps> LanczosAxis(int from, int to) {
    std::vector<LanczosTaps> axis(static_cast<size_t>(std::max(to, 0)));
    if (from <= 0 || to <= 0) return axis;
    const double factor = static_cast<double>(to) / from;
    // Shrinking widens the kernel so that every source pixel contributes; enlarging keeps it.
    const double widen = std::max(1.0 / factor, 1.0);
    const double reach = kSupport * widen;
    for (int x = 0; x < to; ++x) {
        const double centre = (x + 0.5) / factor;
        const int first = static_cast<int>(std::max(centre - reach + 0.5, 0.0));
        const int stop =
            static_cast<int>(std::min(centre + reach + 0.5, static_cast<double>(from)));
        LanczosTaps& t = axis[static_cast<size_t>(x)];
        t.First = first;
        double total = 0;
        for (int s = first; s < stop; ++s) {
            t.Weights.push_back(LanczosKernel((s - centre + 0.5) / widen));
            total += t.Weights.back();
        }
        if (std::fabs(total) < 1e-12) {
            // Cannot happen with three lobes, but a zero sum must not divide: take the nearest.
            t.First = std::clamp(static_cast<int>(centre), 0, from - 1);
            t.Weights.assign(1, 1.0);
            continue;
        }
        for (double& w : t.Weights)
            w /= total;
    }
    return axis;
}

QImage LanczosResize(const QImage& source, int width, int height) {
    if (source.isNull() || width <= 0 || height <= 0) return {};
    const Plane in = ToPlane(source);
    // The axis with the larger factor goes first, the order common image tools use, so that
    // our results agree with theirs to the rounding of the intermediate picture.
    const double fx = static_cast<double>(width) / in.Width;
    const double fy = static_cast<double>(height) / in.Height;
    const Plane out =
        fx > fy ? PassDown(PassAcross(in, width), height) : PassAcross(PassDown(in, height), width);
    QImage result(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        const float* v = out.Row(y);
        for (int x = 0; x < width; ++x, v += kChannels)
            row[x] = qRgb(Channel(v[0]), Channel(v[1]), Channel(v[2]));
    }
    return result;
}

} // namespace orrindale
