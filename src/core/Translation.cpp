#include "core/Translation.h"

#include "core/ResourceLocator.h"

#include <atomic>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <libintl.h>
#include <ostream>

namespace vestrino {

namespace {

std::atomic<Language> inForce{Language::Italian};

std::string_view variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string_view(value) : std::string_view();
}

} // namespace

std::optional<Language> Translation::parse(std::string_view code) {
    // The language is what comes before a territory, a codeset or a modifier.
    const auto end = code.find_first_of("_.@-");
    const std::string_view language = code.substr(0, end);
    if (language == "it") {
        return Language::Italian;
    }
    if (language == "en") {
        return Language::English;
    }
    return std::nullopt;
}

void Translation::useForProgram(std::string_view asked, std::string_view program,
                                std::ostream& err) {
    Language language = fromEnvironment();
    if (!asked.empty()) {
        language = parse(asked).value_or(language);
    }
    const auto catalogs =
        catalogFolder(ResourceLocator::executablePath().value_or(std::filesystem::path()));
    if (!use(language, catalogs)) {
        err << program << ": no English catalog in " << catalogs.string()
            << ": the texts stay in Italian\n";
    }
}

Language Translation::fromEnvironment() {
    // LANGUAGE lists languages in order of preference; it counts only with a locale other than C,
    // as gettext has it.
    const std::string_view locale = [] {
        for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
            if (const auto v = variable(name); !v.empty()) {
                return v;
            }
        }
        return std::string_view();
    }();
    if (locale != "C" && locale != "POSIX") {
        std::string_view list = variable("LANGUAGE");
        while (!list.empty()) {
            const auto colon = list.find(':');
            if (const auto language = parse(list.substr(0, colon))) {
                return *language;
            }
            list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
        }
    }
    if (locale.empty() || locale == "C" || locale == "POSIX" || locale.starts_with("C.")) {
        return Language::Italian;
    }
    return parse(locale).value_or(Language::Italian);
}

std::filesystem::path Translation::catalogFolder(const std::filesystem::path& executable) {
    if (const auto v = variable("VESTRINO_LOCALE"); !v.empty()) {
        return std::filesystem::path(v);
    }
    const auto bin = executable.parent_path();
    std::error_code ec;
    if (const auto installed = bin.parent_path() / "share" / "vestrino" / "locale";
        std::filesystem::is_directory(installed, ec)) {
        return installed;
    }
    return bin / "locale";
}

bool Translation::use(Language language, const std::filesystem::path& folder) {
    bool found = true;
    if (language == Language::English) {
        std::error_code ec;
        const auto catalog = folder / "en" / "LC_MESSAGES" / (std::string(kDomain) + ".mo");
        if (!std::filesystem::is_regular_file(catalog, ec)) {
            language = Language::Italian; // the texts as written, rather than half of them
            found = false;
        }
    }
    // Only the messages' category changes: numbers and dates keep the C locale's forms, which
    // the program's own formats rely on. Without the asked locale installed, C.UTF-8 stands in
    // (under plain C, gettext would never read a catalog).
    const char* messages = std::setlocale(LC_MESSAGES, "");
    if (!messages || std::strcmp(messages, "C") == 0 || std::strcmp(messages, "POSIX") == 0) {
        std::setlocale(LC_MESSAGES, "C.UTF-8");
    }
    ::setenv("LANGUAGE", language == Language::English ? "en" : "it", 1);
    ::bindtextdomain(kDomain, folder.c_str());
    ::bind_textdomain_codeset(kDomain, "UTF-8");
    inForce = language;
    return found;
}

Language Translation::current() {
    return inForce;
}

const char* tr(const char* italian) {
    // Italian is the texts' own language: nothing to look up.
    if (inForce == Language::Italian) {
        return italian;
    }
    return ::dgettext(Translation::kDomain, italian);
}

const char* trn(const char* singular, const char* plural, unsigned long count) {
    if (inForce == Language::Italian) {
        return count == 1 ? singular : plural;
    }
    return ::dngettext(Translation::kDomain, singular, plural, count);
}

std::string trs(std::string_view italian) {
    if (inForce == Language::Italian || italian.empty()) {
        return std::string(italian);
    }
    // gettext hands back the key itself when it has no translation: copied while it lives.
    const std::string key(italian);
    return std::string(::dgettext(Translation::kDomain, key.c_str()));
}

} // namespace vestrino
