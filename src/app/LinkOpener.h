#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace vestrino {

// Opens a place on a map outside the application. Replaceable: the window hands links to the
// desktop, a headless run and the tests record them.
class LinkOpener {
public:
    virtual ~LinkOpener() = default;
    // `geo` (a geo: URI) in the desktop's map handler; `web` (an OpenStreetMap page) when no
    // handler takes it.
    virtual void openPlace(const std::string& geo, const std::string& web) = 0;

    // The two links of a place.
    static std::string geoLink(double lat, double lng);
    static std::string webLink(double lat, double lng);
};

// Hands links to xdg-open, on a background task (it may take a moment): the geo: link first,
// the web link when xdg-open says nothing took the first.
class DesktopLinkOpener : public LinkOpener {
public:
    void openPlace(const std::string& geo, const std::string& web) override;
};

// Keeps the links it was asked to open, in order (the geo: link of each).
class RecordingLinkOpener : public LinkOpener {
public:
    void openPlace(const std::string& geo, const std::string& web) override;
    std::vector<std::string> opened() const;

private:
    mutable std::mutex mutex_;
    std::vector<std::string> opened_;
};

} // namespace vestrino
