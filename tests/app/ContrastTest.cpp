// The contrast of the application's colours (WCAG 2.1 AA): text at least 4.5:1 against what is
// behind it, field edges, focus rings, switches and page dots at least 3:1. Computed from the
// layouts as they are loaded and from the colours the code draws with.
#include "app/AppStyle.h"
#include "core/Image.h"
#include "ui/PictureCodec.h"
#include "ui/Style.h"
#include "ui/TextField.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>

using namespace vestrino;
using ui::Color;
namespace fs = std::filesystem;

namespace {

const fs::path kResources = fs::path(VESTRINO_SOURCE_DIR) / "resources";

double channel(double c) {
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
double luminance(const Color& c) {
    return 0.2126 * channel(c.r) + 0.7152 * channel(c.g) + 0.0722 * channel(c.b);
}
double contrast(const Color& a, const Color& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Color parse(const std::string& hex) {
    const unsigned v = static_cast<unsigned>(std::stoul(hex.substr(1, 6), nullptr, 16));
    return Color::rgb((v >> 16) & 255, (v >> 8) & 255, v & 255);
}

std::string hex(const Color& c) {
    char out[8];
    std::snprintf(out, sizeof out, "#%02x%02x%02x", static_cast<int>(std::lround(c.r * 255)),
                  static_cast<int>(std::lround(c.g * 255)),
                  static_cast<int>(std::lround(c.b * 255)));
    return out;
}

constexpr double kText = 4.5;
constexpr double kGraphic = 3.0;

// One pair that must stand apart, and where it was found.
struct Pair {
    std::string where;
    Color front, back;
    double minimum;
};

// Walks a layout keeping the colour behind each view (the nearest opaque background of it or
// its ancestors; a screen without one is drawn on white) and lists its text and edge pairs.
void collect(const nlohmann::json& node, Color behind, const std::string& where,
             std::vector<Pair>& out) {
    const std::string cls = node.value("class", "");
    const std::string name = where + "/" + node.value("name", cls);
    Color own = behind;
    if (node.contains("backgroundColor")) {
        const std::string bg = node["backgroundColor"];
        // An 8-digit colour with alpha below one is a tint, not a background to read on.
        if (bg.size() == 7) {
            own = parse(bg);
        }
    }
    if (cls == "Label" && node.contains("text")) {
        out.push_back({name + " text",
                       node.contains("textColor") ? parse(node["textColor"]) : Color::black(), own,
                       kText});
    }
    if (cls == "Button" && node.contains("title")) {
        out.push_back({name + " title", parse(node.value("titleColor", "#000000")), own, kText});
    }
    if (cls == "TextField") {
        out.push_back({name + " text", Color::black(), own, kText});
        if (node.contains("placeholder")) {
            out.push_back({name + " placeholder", ui::TextField::kPlaceholderColor, own, kText});
        }
        // The ring of the field being edited, on the field and on what is around it.
        out.push_back({name + " focus ring", ui::TextField::kFocusRingColor, own, kGraphic});
        out.push_back(
            {name + " focus ring outside", ui::TextField::kFocusRingColor, behind, kGraphic});
        if (node.value("borderWidth", 1.0) > 0) {
            out.push_back({name + " edge", ui::TextField::kEdgeColor, own, kGraphic});
            out.push_back({name + " edge outside", ui::TextField::kEdgeColor, behind, kGraphic});
        }
    }
    if (node.contains("children")) {
        for (const auto& c : node["children"]) {
            collect(c, own, name, out);
        }
    }
}

nlohmann::json layout(const std::string& name) {
    std::ifstream in(kResources / "layouts" / (name + ".json"));
    return nlohmann::json::parse(in);
}

Image picture(const std::string& name) {
    std::ifstream in(kResources / "images" / name, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    auto image = ui::PictureCodec::decode(bytes);
    EXPECT_TRUE(image) << name;
    return image ? *image : Image{};
}

// The colour of a picture's pixel that stands out most against the background (a mark is as
// visible as its strongest part), among pixels at least half opaque.
Color strongestPixel(const Image& image, const Color& back, int* opaque = nullptr) {
    Color best = back;
    int count = 0;
    for (std::size_t i = 0; i + 3 < image.rgba.size(); i += 4) {
        if (image.rgba[i + 3] < 128) {
            continue;
        }
        ++count;
        const Color c = Color::rgb(image.rgba[i], image.rgba[i + 1], image.rgba[i + 2]);
        if (contrast(c, back) > contrast(best, back)) {
            best = c;
        }
    }
    if (opaque) {
        *opaque = count;
    }
    return best;
}

} // namespace

TEST(Contrast, TheRatioIsWcags) {
    EXPECT_NEAR(contrast(Color::black(), Color::white()), 21.0, 1e-9);
    EXPECT_NEAR(contrast(parse("#777777"), Color::white()), 4.48, 0.01);
    EXPECT_NEAR(contrast(parse("#0b3d91"), Color::white()), 10.04, 0.01);
    EXPECT_NEAR(contrast(Color::white(), Color::white()), 1.0, 1e-9);
}

TEST(Contrast, EveryTextAndEdgeOfTheLayoutsAndTheCode) {
    std::vector<Pair> pairs;
    for (const auto& e : fs::directory_iterator(kResources / "layouts")) {
        if (e.path().extension() == ".json") {
            collect(layout(e.path().stem().string()), Color::white(), e.path().stem().string(),
                    pairs);
        }
    }
    ASSERT_GT(pairs.size(), 60u); // every screen's texts were found
    using namespace ui::style;
    const Color wallet = parse(layout("CarteViewController")["children"][0]["backgroundColor"]);
    const Color pale = parse("#eef1f6"); // the login and CVV2 fields' fill
    const std::vector<Pair> code = {
        {"alert title and message", kAlertText, kAlertPanel, kText},
        {"alert button title", kAlertButtonTitle, kAlertButton, kText},
        {"alert button title, pressed", kAlertButtonTitleHighlighted, kAlertButton, kText},
        {"placeholder on white", kFieldPlaceholder, Color::white(), kText},
        {"placeholder on the pale fill", kFieldPlaceholder, pale, kText},
        {"field edge on white", kFieldEdge, Color::white(), kGraphic},
        {"field edge on the pale fill", kFieldEdge, pale, kGraphic},
        {"field edge on the wallet's grey", kFieldEdge, wallet, kGraphic},
        {"focus ring on the pale fill", kFocusRing, pale, kGraphic},
        {"switch off, on the information screen", kSwitchOff, Color::white(), kGraphic},
        {"switch on", kSwitchOn, Color::white(), kGraphic},
        {"switch knob on the track off", kSwitchKnob, kSwitchOff, kGraphic},
        {"switch knob on the track on", kSwitchKnob, kSwitchOn, kGraphic},
        {"credit amount", appstyle::kCredit, kRow, kText},
        {"credit amount, row selected", appstyle::kCredit, kRowSelected, kText},
        {"debit amount", appstyle::kDebit, kRow, kText},
        {"debit amount, row selected", appstyle::kDebit, kRowSelected, kText},
        {"cash machine office", appstyle::kCellTitle, kRow, kText},
        {"cash machine place", appstyle::kCellDetail, kRow, kText},
        {"cash machine distance", appstyle::kCellDistance, kRow, kText},
        {"chart: what came in", appstyle::kChartIn, Color::white(), kGraphic},
        {"chart: the axis", appstyle::kChartAxis, Color::white(), kGraphic},
        {"chart: a month's name, chosen", appstyle::kCellTitle, appstyle::kChartChosen, kText},
        {"chart: what went out, chosen", appstyle::kDebit, appstyle::kChartChosen, kText},
        {"chart: what came in, chosen", appstyle::kCredit, appstyle::kChartChosen, kText},
    };
    pairs.insert(pairs.end(), code.begin(), code.end());
    for (const Color& kind : appstyle::kChartKinds) {
        pairs.push_back({"chart: a kind of what went out", kind, Color::white(), kGraphic});
    }
    for (const auto& p : pairs) {
        EXPECT_GE(contrast(p.front, p.back), p.minimum)
            << p.where << ": " << hex(p.front) << " on " << hex(p.back) << " is "
            << contrast(p.front, p.back) << ":1";
    }
}

// The pill buttons' titles on the pictures they are drawn on: white on the filled pill's
// middle, the accent on the outlined pill's middle and on the screens' grey behind it, and the
// outline itself against that grey.
TEST(Contrast, PillButtonTitles) {
    const Color screen = parse(layout("TransazioniViewController")["backgroundColor"]);
    for (const char* suffix : {".png", "@2x.png"}) {
        SCOPED_TRACE(suffix);
        const Image filled = picture(std::string("vestrino_button_selected_320") + suffix);
        const Image outlined = picture(std::string("vestrino_button_filtro_320") + suffix);
        const auto middle = [&](const Image& im, const Color& back) {
            const std::size_t i = (static_cast<std::size_t>(im.height / 2) * im.width +
                                   static_cast<std::size_t>(im.width / 2)) *
                                  4;
            const double a = im.rgba[i + 3] / 255.0;
            auto mix = [&](std::uint8_t c, float b) {
                return static_cast<int>(std::lround(c * a + b * 255 * (1 - a)));
            };
            return Color::rgb(mix(im.rgba[i], back.r), mix(im.rgba[i + 1], back.g),
                              mix(im.rgba[i + 2], back.b));
        };
        EXPECT_GE(contrast(appstyle::kFilledPillTitle, middle(filled, screen)), kText);
        EXPECT_GE(contrast(appstyle::kOutlinedPillTitle, middle(outlined, screen)), kText);
        EXPECT_GE(contrast(strongestPixel(outlined, screen), screen), kGraphic);
    }
}

// Every field's placeholder looks alike: the regular face, at a text field's size, in the one
// placeholder colour (the field draws it); the buttons that are pill pictures have no flat
// background of their own in the layouts.
TEST(Look, PlaceholdersAndButtonsAlike) {
    std::function<void(const nlohmann::json&, const std::string&)> visit =
        [&](const nlohmann::json& node, const std::string& where) {
            const std::string cls = node.value("class", "");
            const std::string name = where + "/" + node.value("name", cls);
            if (cls == "TextField" && node.contains("placeholder")) {
                ASSERT_TRUE(node.contains("font")) << name;
                EXPECT_EQ(node["font"][0], "Helvetica") << name;
                EXPECT_GE(node["font"][1].get<double>(), 14) << name;
                EXPECT_LE(node["font"][1].get<double>(), 16) << name;
            }
            if (cls == "Button" && node.contains("title")) {
                EXPECT_FALSE(node.contains("backgroundColor")) << name << " is a flat rectangle";
            }
            for (const auto& c : node.value("children", nlohmann::json::array())) {
                visit(c, name);
            }
        };
    for (const auto& entry : std::filesystem::directory_iterator(kResources / "layouts")) {
        visit(layout(entry.path().stem().string()), entry.path().stem().string());
    }
}

// The page dots: each at least 3:1 on the wallet, and the current one told apart by more than
// its colour (it is larger and solid; the others are rings with a pale middle).
TEST(Contrast, PageDotsStandOutAndTheCurrentOneByItsShape) {
    const Color wallet = parse(layout("CarteViewController")["children"][0]["backgroundColor"]);
    for (const char* suffix : {".png", "@2x.png"}) {
        SCOPED_TRACE(suffix);
        const Image current = picture(std::string("vestrino_interface_pallino_blu_320") + suffix);
        const Image other = picture(std::string("vestrino_interface_pallino_giallo_320") + suffix);
        int currentArea = 0, otherArea = 0;
        EXPECT_GE(contrast(strongestPixel(current, wallet, &currentArea), wallet), kGraphic);
        EXPECT_GE(contrast(strongestPixel(other, wallet, &otherArea), wallet), kGraphic);
        // Larger by a quarter at least.
        EXPECT_GE(currentArea, otherArea * 5 / 4) << currentArea << " against " << otherArea;
        // The other dots' middle is lighter than their edge: a ring, not a disc.
        const auto at = [](const Image& im, int x, int y) {
            const std::size_t i = (static_cast<std::size_t>(y) * im.width + x) * 4;
            return Color::rgb(im.rgba[i], im.rgba[i + 1], im.rgba[i + 2]);
        };
        const Color middle = at(other, other.width / 2, other.height / 2);
        EXPECT_GT(luminance(middle), luminance(strongestPixel(other, wallet)) * 2);
        const Color currentMiddle = at(current, current.width / 2, current.height / 2);
        EXPECT_GE(contrast(currentMiddle, wallet), kGraphic); // solid to its middle
    }
}
