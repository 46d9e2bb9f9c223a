#include "app/application/AppResources.h"

#include "app/cashmachines/Capoluoghi.h"
#include "core/PngCheck.h"
#include "ui/UIImage.h"

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

namespace vestrino {

namespace {

enum class Read { Ok, Missing };

Read readWhole(const std::filesystem::path& file, std::string& bytes) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return Read::Missing;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.bad() ? Read::Missing : Read::Ok;
}

} // namespace

bool AppResources::verify(const std::filesystem::path& folder, std::string& error) {
    std::string bytes;
    for (const auto name : kLayouts) {
        const auto file = folder / "layouts" / (std::string(name) + ".json");
        if (readWhole(file, bytes) != Read::Ok) {
            error = "the layout " + file.string() + " is missing or cannot be read";
            return false;
        }
        const auto doc = nlohmann::json::parse(bytes, nullptr, false);
        if (doc.is_discarded() || !doc.is_object() || !doc.contains("class")) {
            error = "the layout " + file.string() + " is damaged (no JSON view tree)";
            return false;
        }
    }
    for (const auto name : kImages) {
        const auto file = folder / "images" / name;
        if (readWhole(file, bytes) != Read::Ok) {
            error = "the picture " + file.string() + " is missing or cannot be read";
            return false;
        }
        if (!isSoundPng(bytes)) {
            error = "the picture " + file.string() + " is damaged (not a whole PNG file)";
            return false;
        }
        // The sharper version for HiDPI screens is optional, but one that is there must be
        // sound.
        const auto sharp = folder / "images" / ui::UIImage::highResolutionName(std::string(name));
        if (readWhole(sharp, bytes) == Read::Ok && !isSoundPng(bytes)) {
            error = "the picture " + sharp.string() + " is damaged (not a whole PNG file)";
            return false;
        }
    }
    for (const auto name : kData) {
        if (!Capoluoghi::isSound(folder / "data" / name, error)) {
            return false;
        }
    }
    return true;
}

} // namespace vestrino
