#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vestrino {

// A cash machine found by the search; every value is the text the service sent.
class ATMLumaspot {
public:
    const std::optional<std::string>& frazionario() const { return frazionario_; }
    void setFrazionario(std::optional<std::string> v) { frazionario_ = std::move(v); }
    const std::optional<std::string>& ufficio() const { return ufficio_; }
    void setUfficio(std::optional<std::string> v) { ufficio_ = std::move(v); }
    const std::optional<std::string>& provincia() const { return provincia_; }
    void setProvincia(std::optional<std::string> v) { provincia_ = std::move(v); }
    const std::optional<std::string>& cap() const { return cap_; }
    void setCap(std::optional<std::string> v) { cap_ = std::move(v); }
    const std::optional<std::string>& latitudine() const { return latitudine_; }
    void setLatitudine(std::optional<std::string> v) { latitudine_ = std::move(v); }
    const std::optional<std::string>& longitudine() const { return longitudine_; }
    void setLongitudine(std::optional<std::string> v) { longitudine_ = std::move(v); }

private:
    std::optional<std::string> frazionario_;
    std::optional<std::string> ufficio_;
    std::optional<std::string> provincia_;
    std::optional<std::string> cap_;
    std::optional<std::string> latitudine_;
    std::optional<std::string> longitudine_;
};

using ATMLumaspotPtr = std::shared_ptr<ATMLumaspot>;
using ListaLumaspot = std::vector<ATMLumaspotPtr>;

} // namespace vestrino
