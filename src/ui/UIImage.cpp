#include "ui/UIImage.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <optional>

namespace vestrino::ui {

namespace {
struct Cache {
    std::mutex mutex;
    std::filesystem::path folder = "resources/images";
    double preferredScale = 1.0;
    std::string language;
    std::map<std::string, std::shared_ptr<UIImage>> images;
};
Cache& cache() {
    static Cache c;
    return c;
}
// Read by background tasks too (the banner is decoded off the main thread), which may still run
// while the program ends: a plain atomic pointer, never destroyed.
std::atomic<PictureDecoder> gDecoder{nullptr};
} // namespace

namespace {
std::uint64_t nextIdentity() {
    static std::atomic<std::uint64_t> counter{0};
    return ++counter;
}
} // namespace

UIImage::UIImage(Image pixels, double scale)
    : pixels_(std::make_shared<const Image>(std::move(pixels))), scale_(scale),
      identity_(nextIdentity()) {}

void UIImage::setResourceFolder(std::filesystem::path folder) {
    std::lock_guard lock(cache().mutex);
    cache().folder = std::move(folder);
    cache().images.clear();
}

void UIImage::setDecoder(PictureDecoder decoder) {
    gDecoder = decoder;
    std::lock_guard lock(cache().mutex);
    cache().images.clear();
}

void UIImage::clearCache() {
    std::lock_guard lock(cache().mutex);
    cache().images.clear();
}

void UIImage::setPreferredScale(double pixelsPerPoint) {
    std::lock_guard lock(cache().mutex);
    cache().preferredScale = pixelsPerPoint;
    cache().images.clear();
}

void UIImage::setLanguageFolder(std::string language) {
    std::lock_guard lock(cache().mutex);
    cache().language = std::move(language);
    cache().images.clear();
}

std::string UIImage::highResolutionName(const std::string& name) {
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? name + "@2x" : name.substr(0, dot) + "@2x" + name.substr(dot);
}

namespace {
// The decoded picture in the file, or nothing when it is missing or is no picture.
std::optional<Image> decodeFile(PictureDecoder decoder, const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!decoder || !in) {
        return std::nullopt;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return decoder(bytes);
}
} // namespace

std::shared_ptr<UIImage> UIImage::imageNamed(const std::string& name) {
    auto& c = cache();
    std::lock_guard lock(c.mutex);
    if (const auto it = c.images.find(name); it != c.images.end()) {
        return it->second;
    }
    // The picture in a folder: the language's version first, then the picture itself; "_320"
    // pictures are drawn at one pixel a point, "@2x" ones at two, and a sharper version is only
    // worth its pixels on a screen that shows them.
    const auto load = [&c, &name](const std::filesystem::path& folder) {
        const auto decode = [&](const std::string& file) {
            if (!c.language.empty()) {
                if (auto pixels = decodeFile(gDecoder, folder / c.language / file)) {
                    return pixels;
                }
            }
            return decodeFile(gDecoder, folder / file);
        };
        std::shared_ptr<UIImage> image;
        const bool named2x = name.find("@2x") != std::string::npos;
        if (!named2x && c.preferredScale > 1.0) {
            if (auto pixels = decode(highResolutionName(name))) {
                image = std::make_shared<UIImage>(std::move(*pixels), 2.0);
            }
        }
        if (!image) {
            if (auto pixels = decode(name)) {
                image = std::make_shared<UIImage>(std::move(*pixels), named2x ? 2.0 : 1.0);
            }
        }
        if (image) {
            image->name_ = name; // snapshots name the picture the screens asked for
        }
        return image;
    };
    std::shared_ptr<UIImage> image = load(c.folder);
    if (image) {
        image->dark_ = load(c.folder / kDarkFolder);
    }
    c.images[name] = image; // a missing picture is remembered as missing
    return image;
}

std::shared_ptr<UIImage> UIImage::initWithData(std::string_view bytes) {
    const PictureDecoder decoder = gDecoder;
    auto pixels = decoder ? decoder(bytes) : std::nullopt;
    return pixels ? std::make_shared<UIImage>(std::move(*pixels)) : nullptr;
}

std::shared_ptr<UIImage> UIImage::stretchableImage(int leftCapWidth, int topCapHeight) const {
    // The pixels are shared, not copied: a screen that makes its stretchable pictures anew each
    // time it loads adds neither pixels nor textures.
    auto copy = std::make_shared<UIImage>(*this);
    copy->leftCap_ = leftCapWidth;
    copy->topCap_ = topCapHeight;
    if (dark_) {
        copy->dark_ = dark_->stretchableImage(leftCapWidth, topCapHeight);
    }
    return copy;
}

Rect UIImage::opaqueBounds() const {
    if (opaqueBounds_) {
        return *opaqueBounds_;
    }
    const Image& p = *pixels_;
    int x0 = p.width, y0 = p.height, x1 = -1, y1 = -1;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            if (p.rgba[(static_cast<std::size_t>(y) * p.width + x) * 4 + 3] != 0) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
        }
    }
    opaqueBounds_ =
        x1 < 0 ? Rect{{0, 0}, size()}
               : makeRect(x0 / scale_, y0 / scale_, (x1 - x0 + 1) / scale_, (y1 - y0 + 1) / scale_);
    return *opaqueBounds_;
}

} // namespace vestrino::ui
