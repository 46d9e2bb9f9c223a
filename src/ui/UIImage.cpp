#include "ui/UIImage.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>

namespace vestrino::ui {

namespace {
struct Cache {
    std::mutex mutex;
    std::filesystem::path folder = "resources/images";
    std::map<std::string, std::shared_ptr<UIImage>> images;
};
Cache& cache() {
    static Cache c;
    return c;
}
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

void UIImage::clearCache() {
    std::lock_guard lock(cache().mutex);
    cache().images.clear();
}

std::shared_ptr<UIImage> UIImage::imageNamed(const std::string& name) {
    auto& c = cache();
    std::lock_guard lock(c.mutex);
    if (const auto it = c.images.find(name); it != c.images.end()) {
        return it->second;
    }
    std::ifstream in(c.folder / name, std::ios::binary);
    std::shared_ptr<UIImage> image;
    if (in) {
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        if (auto pixels = Image::fromData(bytes)) {
            // "_320" pictures are drawn at one pixel a point; "@2x" ones at two.
            const double scale = name.find("@2x") != std::string::npos ? 2.0 : 1.0;
            image = std::make_shared<UIImage>(std::move(*pixels), scale);
            image->name_ = name;
        }
    }
    c.images[name] = image; // a missing picture is remembered as missing
    return image;
}

std::shared_ptr<UIImage> UIImage::initWithData(std::string_view bytes) {
    auto pixels = Image::fromData(bytes);
    return pixels ? std::make_shared<UIImage>(std::move(*pixels)) : nullptr;
}

std::shared_ptr<UIImage> UIImage::stretchableImage(int leftCapWidth, int topCapHeight) const {
    // The pixels are shared, not copied: a screen that makes its stretchable pictures anew each
    // time it loads adds neither pixels nor textures.
    auto copy = std::make_shared<UIImage>(*this);
    copy->leftCap_ = leftCapWidth;
    copy->topCap_ = topCapHeight;
    return copy;
}

} // namespace vestrino::ui
