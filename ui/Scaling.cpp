#include "ui/Scaling.h"

#include <algorithm>
#include <cstdint>

namespace tovik::ui {

namespace {

int divideRounded(std::int64_t numerator, std::int64_t denominator) {
    const std::int64_t half = denominator / 2;
    const std::int64_t rounded = numerator >= 0 ? (numerator + half) / denominator : (numerator - half) / denominator;
    return static_cast<int>(rounded);
}

}  // namespace

int ScaleToDpi(int value, int dpi) {
    if (dpi <= 0) return value;
    return divideRounded(static_cast<std::int64_t>(value) * dpi, designDpi);
}

int ScaleFromDpi(int pixels, int dpi) {
    if (dpi <= 0) return pixels;
    return divideRounded(static_cast<std::int64_t>(pixels) * designDpi, dpi);
}

Rect ScaleRect(const Rect& place, int dpi) {
    const int left = ScaleToDpi(place.left, dpi);
    const int top = ScaleToDpi(place.top, dpi);
    return Rect{left, top, ScaleToDpi(place.left + place.width, dpi) - left,
                ScaleToDpi(place.top + place.height, dpi) - top};
}

Font ScaleFont(const Font& font, int dpi) {
    Font scaled = font;
    scaled.height = ScaleToDpi(font.height, dpi);
    return scaled;
}

int FrameWidth(int dpi) { return std::max(1, ScaleToDpi(1, dpi)); }

int OuterHeightToDevice(int height, int dpi, WindowFrame frame) {
    return ScaleToDpi(height - frame.atDesignDpi, dpi) + frame.atDpi;
}

int OuterHeightFromDevice(int pixels, int dpi, WindowFrame frame) {
    return ScaleFromDpi(pixels - frame.atDpi, dpi) + frame.atDesignDpi;
}

int PictureSizeFor(int dpi, std::span<const int> available) {
    const int wanted = ScaleToDpi(designPictureSize, dpi);
    int best = 0;
    for (const int size : available)
        if (size <= wanted && size > best) best = size;
    if (best == 0 && !available.empty()) best = *std::min_element(available.begin(), available.end());
    return best;
}

}  // namespace tovik::ui
