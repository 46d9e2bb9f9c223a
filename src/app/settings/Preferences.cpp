#include "app/settings/Preferences.h"

#include "core/Paths.h"
#include "store/FileUtils.h"

#include <nlohmann/json.hpp>

namespace vestrino {

Preferences& Preferences::shared() {
    static Preferences preferences(configDirectory() / "preferences.json");
    return preferences;
}

Preferences::Preferences(std::filesystem::path file) : file_(std::move(file)) {
    reload();
}

void Preferences::reload() {
    std::lock_guard lock(mutex_);
    nascondiImporti_ = false;
    citta_.reset();
    raggioKm_ = kDefaultRaggioKm;
    bloccoMinuti_ = kDefaultLockMinutes;
    usoSenzaConnessione_ = true;
    aspetto_ = AppearanceChoice::System;
    // A preferences file is a few hundred bytes; anything else at its name (a FIFO, a folder,
    // a link, a huge file) is not read and the defaults hold.
    const auto bytes = FileUtils::readFile(file_, kMaxFileBytes);
    if (!bytes) {
        return;
    }
    const auto doc = nlohmann::json::parse(*bytes, nullptr, false);
    if (!doc.is_object()) {
        return;
    }
    if (const auto it = doc.find("nascondiImporti"); it != doc.end() && it->is_boolean()) {
        nascondiImporti_ = it->get<bool>();
    }
    if (const auto it = doc.find("lumaspotCitta"); it != doc.end() && it->is_string()) {
        citta_ = it->get<std::string>();
    }
    if (const auto it = doc.find("lumaspotRaggioKm"); it != doc.end() && it->is_number_integer()) {
        // Compared as the number written (4294967297 is no 1 km), never narrowed first.
        for (const int r : {1, 5, 20}) {
            if (*it == r) {
                raggioKm_ = r;
            }
        }
    }
    if (const auto it = doc.find("usoSenzaConnessione"); it != doc.end() && it->is_boolean()) {
        usoSenzaConnessione_ = it->get<bool>();
    }
    if (const auto it = doc.find("aspetto"); it != doc.end() && it->is_string()) {
        aspetto_ = appearanceChoiceNamed(it->get<std::string>()).value_or(AppearanceChoice::System);
    }
    if (const auto it = doc.find("bloccoMinuti"); it != doc.end() && it->is_number_integer()) {
        for (const int m : kLockChoices) {
            if (*it == m) {
                bloccoMinuti_ = m;
            }
        }
    }
}

bool Preferences::nascondiImporti() const {
    std::lock_guard lock(mutex_);
    return nascondiImporti_;
}

bool Preferences::setNascondiImporti(bool on) {
    std::lock_guard lock(mutex_);
    nascondiImporti_ = on;
    return save();
}

std::optional<std::string> Preferences::lumaspotCitta() const {
    std::lock_guard lock(mutex_);
    return citta_;
}

int Preferences::lumaspotRaggioKm() const {
    std::lock_guard lock(mutex_);
    return raggioKm_;
}

bool Preferences::setLumaspot(const std::string& citta, int raggioKm) {
    std::lock_guard lock(mutex_);
    citta_ = citta;
    raggioKm_ = raggioKm;
    return save();
}

int Preferences::bloccoMinuti() const {
    std::lock_guard lock(mutex_);
    return bloccoMinuti_;
}

bool Preferences::setBloccoMinuti(int minutes) {
    std::lock_guard lock(mutex_);
    bloccoMinuti_ = minutes;
    return save();
}

AppearanceChoice Preferences::aspetto() const {
    std::lock_guard lock(mutex_);
    return aspetto_;
}

bool Preferences::setAspetto(AppearanceChoice choice) {
    std::lock_guard lock(mutex_);
    aspetto_ = choice;
    return save();
}

bool Preferences::usoSenzaConnessione() const {
    std::lock_guard lock(mutex_);
    return usoSenzaConnessione_;
}

bool Preferences::setUsoSenzaConnessione(bool on) {
    std::lock_guard lock(mutex_);
    usoSenzaConnessione_ = on;
    return save();
}

bool Preferences::save() {
    nlohmann::ordered_json doc{{"nascondiImporti", nascondiImporti_},
                               {"lumaspotCitta", citta_ ? nlohmann::ordered_json(*citta_)
                                                        : nlohmann::ordered_json(nullptr)},
                               {"lumaspotRaggioKm", raggioKm_},
                               {"bloccoMinuti", bloccoMinuti_},
                               {"usoSenzaConnessione", usoSenzaConnessione_},
                               {"aspetto", std::string(appearanceChoiceName(aspetto_))}};
    return createPrivateDirectories(file_.parent_path()) &&
           FileUtils::writeAtomically(doc.dump(1) + "\n", file_);
}

} // namespace vestrino
