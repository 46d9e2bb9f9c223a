#pragma once

#include "app/settings/AppearanceChoice.h"

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

namespace vestrino {

// What the person chose and the application keeps between runs: whether amounts are hidden,
// the town and radius of the last cash-machine search, after how long without input the
// session locks itself, and the look (the desktop's, light or dark). Kept in preferences.json of
// the configuration folder (0600, written whole at every change). A file that cannot be read counts
// as the defaults (amounts shown, no town, 5 km, a lock after 5 minutes, the desktop's look).
class Preferences {
public:
    static constexpr int kDefaultRaggioKm = 5;
    // The lock's choices in minutes, 0 for never.
    static constexpr int kLockChoices[] = {1, 5, 15, 0};
    static constexpr int kDefaultLockMinutes = 5;
    // The largest preferences file read: a few hundred bytes are written.
    static constexpr std::size_t kMaxFileBytes = 64 * 1024;
    // What a hidden amount reads.
    static constexpr const char* kHiddenAmount = "••• €";

    // The application's preferences, read from the configuration folder at first use.
    static Preferences& shared();

    explicit Preferences(std::filesystem::path file);

    bool nascondiImporti() const;
    // False when the change could not be written (it still holds for this run).
    bool setNascondiImporti(bool on);
    std::optional<std::string> lumaspotCitta() const;
    int lumaspotRaggioKm() const;
    bool setLumaspot(const std::string& citta, int raggioKm);
    // Minutes without input before the session locks itself; 0: never.
    // Whether a copy of the cards and statements seen is kept for use without a connection
    // (on unless the person turned it off).
    bool usoSenzaConnessione() const;
    bool setUsoSenzaConnessione(bool on);
    int bloccoMinuti() const;
    bool setBloccoMinuti(int minutes);
    AppearanceChoice aspetto() const;
    bool setAspetto(AppearanceChoice choice);

    // Reads the file again (a new run, in tests).
    void reload();
    const std::filesystem::path& file() const { return file_; }

private:
    bool save();

    std::filesystem::path file_;
    mutable std::mutex mutex_;
    bool nascondiImporti_ = false;
    std::optional<std::string> citta_;
    int raggioKm_ = kDefaultRaggioKm;
    int bloccoMinuti_ = kDefaultLockMinutes;
    bool usoSenzaConnessione_ = true;
    AppearanceChoice aspetto_ = AppearanceChoice::System;
};

} // namespace vestrino
