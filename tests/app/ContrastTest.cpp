// The contrast of the application's colours (WCAG 2.1 AA) in the light and the dark palette:
// text at least 4.5:1 against what is behind it, field edges, focus rings, switches and page
// dots at least 3:1. Computed from the layouts as they are loaded, the colours the code draws
// with and the pictures each palette paints.
#include "app/chrome/AppStyle.h"
#include "core/Image.h"
#include "ui/LayoutLoader.h"
#include "ui/Palette.h"
#include "ui/Style.h"
#include "ui/TextField.h"
#include "ui/sdl/PictureCodec.h"

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

// The palette the colours are resolved in (each test runs in both).
const ui::Palette* gPalette = &ui::Palette::light();

// A layout's colour ("#0b3d91" or "@accent") or the code's, as the palette paints it.
Color paint(const Color& c) {
    return gPalette->resolve(c);
}
Color parse(const std::string& text) {
    const auto c = ui::LayoutLoader::parseColor(text);
    EXPECT_TRUE(c) << text;
    return paint(c.value_or(Color::black()));
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
        // A colour with alpha below one is a tint, not a background to read on.
        if (const Color c = parse(bg); c.a >= 1) {
            own = c;
        }
    }
    if (cls == "Label" && node.contains("text")) {
        out.push_back(
            {name + " text",
             node.contains("textColor") ? parse(node["textColor"]) : paint(ui::style::kInk), own,
             kText});
    }
    if (cls == "Button" && node.contains("title")) {
        out.push_back({name + " title", parse(node.value("titleColor", "@ink")), own, kText});
    }
    if (cls == "TextField") {
        out.push_back({name + " text", paint(ui::style::kInk), own, kText});
        if (node.contains("placeholder")) {
            out.push_back(
                {name + " placeholder", paint(ui::TextField::kPlaceholderColor), own, kText});
        }
        // The ring of the field being edited, on the field and on what is around it.
        const Color ring = paint(ui::TextField::kFocusRingColor);
        out.push_back({name + " focus ring", ring, own, kGraphic});
        out.push_back({name + " focus ring outside", ring, behind, kGraphic});
        if (node.value("borderWidth", 1.0) > 0) {
            const Color edge = paint(ui::TextField::kEdgeColor);
            out.push_back({name + " edge", edge, own, kGraphic});
            out.push_back({name + " edge outside", edge, behind, kGraphic});
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

// A picture as the palette paints it: its dark version in the dark palette, where it has one.
Image picture(const std::string& name) {
    const fs::path dark = kResources / "images" / ui::UIImage::kDarkFolder / name;
    const bool useDark = gPalette->appearance() == ui::Appearance::Dark && fs::exists(dark);
    std::ifstream in(useDark ? dark : kResources / "images" / name, std::ios::binary);
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

class PaletteContrast : public ::testing::TestWithParam<ui::Appearance> {
protected:
    void SetUp() override { gPalette = &ui::Palette::of(GetParam()); }
    void TearDown() override { gPalette = &ui::Palette::light(); }
};

TEST_P(PaletteContrast, EveryTextAndEdgeOfTheLayoutsAndTheCode) {
    std::vector<Pair> pairs;
    for (const auto& e : fs::directory_iterator(kResources / "layouts")) {
        if (e.path().extension() == ".json") {
            collect(layout(e.path().stem().string()), paint(appstyle::kSurface),
                    e.path().stem().string(), pairs);
        }
    }
    ASSERT_GT(pairs.size(), 60u); // every screen's texts were found
    using namespace ui::style;
    const Color wallet = parse(layout("CarteViewController")["children"][0]["backgroundColor"]);
    const Color pale = parse("@fieldFill"); // the login and CVV2 fields' fill
    const Color white = paint(appstyle::kSurface);
    std::vector<Pair> code = {
        {"alert title and message", paint(kAlertText), paint(kAlertPanel), kText},
        {"alert button title", paint(kAlertButtonTitle), paint(kAlertButton), kText},
        {"alert button title, pressed", paint(kAlertButtonTitleHighlighted), paint(kAlertButton),
         kText},
        {"placeholder on white", paint(kFieldPlaceholder), white, kText},
        {"placeholder on the pale fill", paint(kFieldPlaceholder), pale, kText},
        {"field edge on white", paint(kFieldEdge), white, kGraphic},
        {"field edge on the pale fill", paint(kFieldEdge), pale, kGraphic},
        {"field edge on the wallet's grey", paint(kFieldEdge), wallet, kGraphic},
        {"focus ring on the pale fill", paint(kFocusRing), pale, kGraphic},
        {"focus ring on its halo", paint(kFocusRing), paint(kFocusRingHalo), kGraphic},

        {"switch off, on the information screen", paint(kSwitchOff), white, kGraphic},
        {"switch on", paint(kSwitchOn), white, kGraphic},
        {"switch knob on the track off", paint(kSwitchKnob), paint(kSwitchOff), kGraphic},
        {"switch knob on the track on", paint(kSwitchKnob), paint(kSwitchOn), kGraphic},
        {"credit amount", paint(appstyle::kCredit), paint(kRow), kText},
        {"credit amount, row selected", paint(appstyle::kCredit), paint(kRowSelected), kText},
        {"debit amount", paint(appstyle::kDebit), paint(kRow), kText},
        {"debit amount, row selected", paint(appstyle::kDebit), paint(kRowSelected), kText},
        {"cash machine office", paint(appstyle::kCellTitle), paint(kRow), kText},
        {"cash machine place", paint(appstyle::kCellDetail), paint(kRow), kText},
        {"cash machine distance", paint(appstyle::kCellDistance), paint(kRow), kText},
        {"chart: what came in", paint(appstyle::kChartIn), white, kGraphic},
        {"chart: the axis", paint(appstyle::kChartAxis), white, kGraphic},
        {"chart: a month's name, chosen", paint(appstyle::kCellTitle),
         paint(appstyle::kChartChosen), kText},
        {"chart: what went out, chosen", paint(appstyle::kDebit), paint(appstyle::kChartChosen),
         kText},
        {"chart: what came in, chosen", paint(appstyle::kCredit), paint(appstyle::kChartChosen),
         kText},
    };
    pairs.insert(pairs.end(), code.begin(), code.end());
    // On the bars the ring shows by itself or by its halo (the light ring on the dark bars, the
    // white halo round the accent ring on the accent bars).
    const Color ring = paint(kFocusRing), halo = paint(kFocusRingHalo), bars = paint(kBars);
    pairs.push_back({"focus ring or its halo on the bars",
                     contrast(ring, bars) > contrast(halo, bars) ? ring : halo, bars, kGraphic});
    for (const Color& kind : appstyle::kChartKinds) {
        pairs.push_back({"chart: a kind of what went out", paint(kind), white, kGraphic});
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
TEST_P(PaletteContrast, PillButtonTitles) {
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
        EXPECT_GE(contrast(paint(appstyle::kFilledPillTitle), middle(filled, screen)), kText);
        EXPECT_GE(contrast(paint(appstyle::kOutlinedPillTitle), middle(outlined, screen)), kText);
        EXPECT_GE(contrast(strongestPixel(outlined, screen), screen), kGraphic);
    }
}

// Every colour of the layouts names its role, so that each palette paints it: no literal colour
// is left in a screen's layout.
TEST(Look, LayoutsNameRolesNotColours) {
    std::function<void(const nlohmann::json&, const std::string&)> visit =
        [&](const nlohmann::json& node, const std::string& where) {
            for (const auto& [key, value] : node.items()) {
                if (value.is_string() && key.find("olor") != std::string::npos) {
                    const std::string text = value.get<std::string>();
                    EXPECT_TRUE(text.starts_with("@") && ui::Palette::roleNamed(text.substr(1)))
                        << where << "." << key << " is " << text;
                }
            }
            for (const auto& c : node.value("children", nlohmann::json::array())) {
                visit(c, where + "/" + c.value("name", c.value("class", "")));
            }
        };
    for (const auto& entry : std::filesystem::directory_iterator(kResources / "layouts")) {
        visit(layout(entry.path().stem().string()), entry.path().stem().string());
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
TEST_P(PaletteContrast, PageDotsStandOutAndTheCurrentOneByItsShape) {
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
        // The other dots' middle is unlike their edge (lighter on the light page, darker on the
        // dark one): a ring, not a disc.
        const auto at = [](const Image& im, int x, int y) {
            const std::size_t i = (static_cast<std::size_t>(y) * im.width + x) * 4;
            return Color::rgb(im.rgba[i], im.rgba[i + 1], im.rgba[i + 2]);
        };
        const Color middle = at(other, other.width / 2, other.height / 2);
        EXPECT_GE(contrast(middle, strongestPixel(other, wallet)), 1.5);
        const Color currentMiddle = at(current, current.width / 2, current.height / 2);
        EXPECT_GE(contrast(currentMiddle, wallet), kGraphic); // solid to its middle
    }
}

INSTANTIATE_TEST_SUITE_P(Palettes, PaletteContrast,
                         ::testing::Values(ui::Appearance::Light, ui::Appearance::Dark),
                         [](const auto& info) {
                             return info.param == ui::Appearance::Dark ? "Dark" : "Light";
                         });
