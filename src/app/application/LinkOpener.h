#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vestrino {

// Opens a place on a map outside the application. Replaceable: the window hands links to the
// desktop, a headless run and the tests record them.
class LinkOpener {
public:
    // Told on the main thread, once, whether a program took the place.
    using Done = std::function<void(bool opened)>;

    virtual ~LinkOpener() = default;
    // `geo` (a geo: URI) in the desktop's map handler; `web` (an OpenStreetMap page) when no
    // handler takes it.
    virtual void openPlace(const std::string& geo, const std::string& web, Done done) = 0;
    // The links asked so far, for an opener that keeps them (a headless run's snapshots list
    // them); nothing for one that hands them on.
    virtual std::optional<std::vector<std::string>> recordedLinks() const { return std::nullopt; }

    // The two links of a place.
    static std::string geoLink(double lat, double lng);
    static std::string webLink(double lat, double lng);
    // The place as a person reads it: "41.902330, 12.481610".
    static std::string coordinates(double lat, double lng);
};

// Hands links to xdg-open, on a background task (it may take a moment): the geo: link first,
// the web link when xdg-open says nothing took the first; not opened when neither was taken
// (or xdg-open is missing).
class DesktopLinkOpener : public LinkOpener {
public:
    void openPlace(const std::string& geo, const std::string& web, Done done) override;
};

// Keeps the links it was asked to open, in order (the geo: link of each), and says they were
// opened unless told that no handler is installed.
class RecordingLinkOpener : public LinkOpener {
public:
    void openPlace(const std::string& geo, const std::string& web, Done done) override;
    std::vector<std::string> opened() const;
    std::optional<std::vector<std::string>> recordedLinks() const override { return opened(); }
    void setHandlerInstalled(bool installed);

private:
    mutable std::mutex mutex_;
    std::vector<std::string> opened_;
    bool handlerInstalled_ = true;
};

} // namespace vestrino
