#pragma once

#include "ui/Geometry.h"

#include <string>
#include <string_view>
#include <vector>

namespace vestrino::ui {

// A font by the names the screens use ("HelveticaNeue-Bold", "Helvetica") and a size in points.
struct Font {
    std::string name = "Helvetica";
    double size = 17;
    bool bold() const { return name.find("Bold") != std::string::npos; }
    static Font systemFont(double size) { return {"Helvetica", size}; }
    static Font boldSystemFont(double size) { return {"Helvetica-Bold", size}; }
};

// Text metrics, in points, from the backend's font engine.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual Size measure(std::string_view text, const Font& font) = 0;
    virtual double lineHeight(const Font& font) = 0;
    // Where the caret stands before each code point of one line of text and after the last
    // (size: code points + 1), from the line's start. The base measures every prefix; an engine
    // does it in one pass.
    virtual std::vector<double> caretOffsets(std::string_view text, const Font& font);

    // The one measuring function the views use; a backend installs its engine at start.
    static TextMeasurer& shared();
    static void setShared(TextMeasurer* measurer);
};

} // namespace vestrino::ui
