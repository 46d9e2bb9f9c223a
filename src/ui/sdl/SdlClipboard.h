#pragma once

#include "ui/Clipboard.h"

namespace vestrino::ui {

// The desktop's clipboard, through SDL (the X selection CLIPBOARD); only while SDL's video
// subsystem runs.
class SdlClipboard : public Clipboard {
public:
    std::optional<std::string> text() override;
    void setText(const std::string& text) override;
};

} // namespace vestrino::ui
