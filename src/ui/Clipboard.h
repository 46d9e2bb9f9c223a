#pragma once

#include <optional>
#include <string>

namespace vestrino::ui {

// Where copied text waits to be pasted: the desktop's clipboard in a window, a plain string
// headless (a script sets it with `clipboard "TEXT"`).
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual std::optional<std::string> text() = 0;
    virtual void setText(const std::string& text) = 0;
};

// A clipboard of this process only.
class MemoryClipboard : public Clipboard {
public:
    std::optional<std::string> text() override { return text_; }
    void setText(const std::string& text) override { text_ = text; }

private:
    std::optional<std::string> text_;
};

} // namespace vestrino::ui
