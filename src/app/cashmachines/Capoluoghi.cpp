#include "app/cashmachines/Capoluoghi.h"

#include "core/SearchText.h"

#include <cmath>
#include <fstream>
#include <mutex>
#include <nlohmann/json.hpp>

namespace vestrino {

namespace {

std::mutex& dataMutex() {
    static std::mutex m;
    return m;
}

std::filesystem::path& dataFolder() {
    static std::filesystem::path folder;
    return folder;
}

} // namespace

void Capoluoghi::setDataFolder(std::filesystem::path folder) {
    std::lock_guard lock(dataMutex());
    dataFolder() = std::move(folder);
}

const Capoluoghi& Capoluoghi::shared() {
    static const Capoluoghi list = [] {
        std::string error;
        std::filesystem::path folder;
        {
            std::lock_guard lock(dataMutex());
            folder = dataFolder();
        }
        auto loaded = load(folder / "capoluoghi.json", error);
        return loaded ? std::move(*loaded) : Capoluoghi();
    }();
    return list;
}

std::optional<Capoluoghi> Capoluoghi::load(const std::filesystem::path& file, std::string& error) {
    return read(file, error, true);
}

bool Capoluoghi::isSound(const std::filesystem::path& file, std::string& error) {
    return read(file, error, false).has_value();
}

std::optional<Capoluoghi> Capoluoghi::read(const std::filesystem::path& file, std::string& error,
                                           bool foldNames) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "the town list " + file.string() + " is missing or cannot be read";
        return std::nullopt;
    }
    const auto doc = nlohmann::json::parse(in, nullptr, false);
    const auto list = doc.is_object() ? doc.find("capoluoghi") : doc.end();
    if (!doc.is_object() || list == doc.end() || !list->is_array() || list->empty()) {
        error = "the town list " + file.string() + " is damaged (no list of towns)";
        return std::nullopt;
    }
    Capoluoghi out;
    for (const auto& entry : *list) {
        Capoluogo c;
        if (!entry.is_object() || !entry.value("nome", nlohmann::json()).is_string() ||
            !entry.value("sigla", nlohmann::json()).is_string() ||
            !entry.value("lat", nlohmann::json()).is_number() ||
            !entry.value("lng", nlohmann::json()).is_number()) {
            error = "the town list " + file.string() + " is damaged (an entry without name, " +
                    "sigla or position)";
            return std::nullopt;
        }
        c.nome = entry["nome"].get<std::string>();
        c.sigla = entry["sigla"].get<std::string>();
        c.lat = entry["lat"].get<double>();
        c.lng = entry["lng"].get<double>();
        if (std::abs(c.lat) > 90 || std::abs(c.lng) > 180) {
            error = "the town list " + file.string() + " gives " + c.nome + " no position on Earth";
            return std::nullopt;
        }
        if (foldNames) {
            c.folded = foldedForSearch(c.nome);
        }
        out.all_.push_back(std::move(c));
    }
    return out;
}

std::vector<const Capoluogo*> Capoluoghi::matching(std::string_view query) const {
    const std::string q = foldedForSearch(query);
    std::vector<const Capoluogo*> starting, inside;
    for (const auto& c : all_) {
        if (q.empty() || c.folded.starts_with(q) || foldedForSearch(c.sigla) == q) {
            starting.push_back(&c);
        } else if (containsFolded(c.folded, q)) {
            inside.push_back(&c);
        }
    }
    starting.insert(starting.end(), inside.begin(), inside.end());
    return starting;
}

const Capoluogo* Capoluoghi::named(std::string_view nome) const {
    for (const auto& c : all_) {
        if (c.nome == nome) {
            return &c;
        }
    }
    return nullptr;
}

} // namespace vestrino
