#include "core/ImageResampler.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vestrino {

namespace {

constexpr double kLobes = 3;

double lanczos(double x) {
    x = std::abs(x);
    if (x < 1e-9) {
        return 1;
    }
    if (x >= kLobes) {
        return 0;
    }
    const double px = std::numbers::pi * x;
    return kLobes * std::sin(px) * std::sin(px / kLobes) / (px * px);
}

// For each output position along one axis: the first input pixel it reads and the weights of
// the pixels from there (summing to 1).
struct Taps {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<double> weights; // `count[i]` of them for output i, one after another
    std::vector<std::size_t> offset;
};

Taps taps(int in, int out) {
    Taps t;
    const double ratio = static_cast<double>(in) / out;
    // Made smaller, the filter widens to cover every input pixel that falls in an output one.
    const double stretch = std::max(1.0, ratio);
    const double support = kLobes * stretch;
    for (int o = 0; o < out; ++o) {
        const double centre = (o + 0.5) * ratio;
        const int lo = std::max(0, static_cast<int>(std::floor(centre - support)));
        const int hi = std::min(in - 1, static_cast<int>(std::ceil(centre + support)));
        t.first.push_back(lo);
        t.offset.push_back(t.weights.size());
        double sum = 0;
        for (int i = lo; i <= hi; ++i) {
            const double w = lanczos((i + 0.5 - centre) / stretch);
            t.weights.push_back(w);
            sum += w;
        }
        t.count.push_back(hi - lo + 1);
        for (std::size_t k = t.offset.back(); k < t.weights.size(); ++k) {
            t.weights[k] /= sum == 0 ? 1 : sum;
        }
    }
    return t;
}

} // namespace

Image ImageResampler::resized(const Image& source, int width, int height) {
    width = std::max(1, width);
    height = std::max(1, height);
    if ((source.width == width && source.height == height) || source.width <= 0 ||
        source.height <= 0) {
        return source;
    }
    const auto sw = static_cast<std::size_t>(source.width);
    const auto sh = static_cast<std::size_t>(source.height);
    const auto dw = static_cast<std::size_t>(width);
    const auto dh = static_cast<std::size_t>(height);
    // Premultiplied, in floating point, rows first then columns.
    std::vector<float> pre(sw * sh * 4);
    for (std::size_t p = 0; p < sw * sh; ++p) {
        const float a = source.rgba[p * 4 + 3] / 255.0f;
        for (std::size_t c = 0; c < 3; ++c) {
            pre[p * 4 + c] = source.rgba[p * 4 + c] * a;
        }
        pre[p * 4 + 3] = source.rgba[p * 4 + 3];
    }
    const Taps across = taps(source.width, width);
    std::vector<float> rows(dw * sh * 4);
    for (std::size_t y = 0; y < sh; ++y) {
        for (std::size_t x = 0; x < dw; ++x) {
            float sum[4] = {0, 0, 0, 0};
            const double* w = &across.weights[across.offset[x]];
            for (int k = 0; k < across.count[x]; ++k) {
                const float* px =
                    &pre[(y * sw + static_cast<std::size_t>(across.first[x] + k)) * 4];
                for (std::size_t c = 0; c < 4; ++c) {
                    sum[c] += static_cast<float>(w[k]) * px[c];
                }
            }
            std::copy(sum, sum + 4, &rows[(y * dw + x) * 4]);
        }
    }
    const Taps down = taps(source.height, height);
    Image out;
    out.width = width;
    out.height = height;
    out.rgba.resize(dw * dh * 4);
    for (std::size_t y = 0; y < dh; ++y) {
        const double* w = &down.weights[down.offset[y]];
        for (std::size_t x = 0; x < dw; ++x) {
            float sum[4] = {0, 0, 0, 0};
            for (int k = 0; k < down.count[y]; ++k) {
                const float* px = &rows[(static_cast<std::size_t>(down.first[y] + k) * dw + x) * 4];
                for (std::size_t c = 0; c < 4; ++c) {
                    sum[c] += static_cast<float>(w[k]) * px[c];
                }
            }
            // The filter's negative lobes overshoot at edges: back into range, colour no more
            // than its opacity allows.
            const float a = std::clamp(sum[3], 0.0f, 255.0f);
            std::uint8_t* o = &out.rgba[(y * dw + x) * 4];
            for (std::size_t c = 0; c < 3; ++c) {
                const float colour = a > 0 ? std::clamp(sum[c], 0.0f, a) * 255.0f / a : 0.0f;
                o[c] = static_cast<std::uint8_t>(std::lround(colour));
            }
            o[3] = static_cast<std::uint8_t>(std::lround(a));
        }
    }
    return out;
}

} // namespace vestrino
