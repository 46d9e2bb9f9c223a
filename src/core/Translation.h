#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace vestrino {

// The languages the application speaks: Italian, the language its texts are written in, and
// English from the gettext catalog (po/en.po, compiled to <catalogs>/en/LC_MESSAGES/vestrino.mo).
enum class Language { Italian, English };

// Puts a language in force for the process's texts, through gettext. The language comes from
// the command line or from the environment as gettext reads it (LANGUAGE, then LC_ALL,
// LC_MESSAGES, LANG): Italian when none is set, C or POSIX, or a language without a catalog;
// English for any English. It works whether or not the system has that locale installed (a
// minimal system has only C.UTF-8): the messages' locale falls back to C.UTF-8, and gettext is
// told the language itself.
class Translation {
public:
    static constexpr const char* kDomain = "vestrino";

    // "it", "en", "en_GB.UTF-8", "it_IT@euro": the language; nothing for another one.
    static std::optional<Language> parse(std::string_view code);
    // The language the environment asks for.
    static Language fromEnvironment();
    // The catalogs' folder for a program at `executable`: installed, <prefix>/share/vestrino/
    // locale; in a build folder, locale/ beside the program; VESTRINO_LOCALE when set.
    static std::filesystem::path catalogFolder(const std::filesystem::path& executable);
    // Puts the language in force; false, and Italian in force, when English was asked for and
    // its catalog is not in `folder`.
    static bool use(Language language, const std::filesystem::path& folder);
    static Language current();
    // A program's start: the language asked on its command line ("it", "en"; empty: the
    // environment's) in force from the running program's catalogs. When English has no
    // catalog, the program says so on `err` and the texts stay Italian.
    static void useForProgram(std::string_view asked, std::string_view program, std::ostream& err);
};

// The text in the language in force: the Italian text itself, or its translation.
const char* tr(const char* italian);
// The same for a text that depends on a count ("movimento" / "movimenti").
const char* trn(const char* singular, const char* plural, unsigned long count);
// Marks a text for the catalog where it is written (a table of texts), translated where it is
// used with tr().
constexpr const char* N_(const char* italian) {
    return italian;
}
// tr() on a string.
std::string trs(std::string_view italian);

} // namespace vestrino
