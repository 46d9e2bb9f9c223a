#include "core/ReplyText.h"
#include "core/StringTrim.h"
#include "core/UnicodeText.h"
#include "core/UpperCase.h"
#include "core/Utf8.h"
#include "net/UrlEncoding.h"

#include <cstdio>
#include <gtest/gtest.h>

using namespace vestrino;

namespace {

std::string percentBytes(const std::string& s) {
    std::string out;
    char buf[4];
    for (const unsigned char c : s) {
        std::snprintf(buf, sizeof buf, "%%%02X", c);
        out += buf;
    }
    return out;
}

} // namespace

TEST(UrlEncoding, FormValues) {
    const std::pair<const char*, const char*> cases[] = {
        {"mario rossi&co", "mario%20rossi%26co"},
        {"pa=ss+word", "pa%3Dss%2Bword"},
        {"caffè", "caff%C3%A8"},
        {"é", "%C3%A9"},
        {"a/b?c#d[e]%f", "a%2Fb%3Fc%23d%5Be%5D%25f"},
        {"", ""},
        {"AZaz09-._~", "AZaz09-._~"}, // the unreserved characters stay as they are
        {"\x01\x7f \t", "%01%7F%20%09"},
        {"\u00a0\u20ac", "%C2%A0%E2%82%AC"}, // every byte of a character, upper-case hex
        {"\U0001F600", "%F0%9F%98%80"},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(urlEncodeUsingEncoding(in), out) << in;
    }
}

TEST(TrimNBSP, RemovesOnlyNoBreakSpaces) {
    const std::pair<std::string, std::string> cases[] = {
        {"1\u00a0234,56", "1234,56"},       {"\u00a0\u00a012,00\u00a0", "12,00"},
        {" 12 , 00 \t\n", " 12 , 00 \t\n"}, {"\u00a0", ""},
        {"\u202f1\u2007", "\u202f1\u2007"}, // narrow and figure spaces are other characters
        {"caff\u00e8\u00a0", "caff\u00e8"},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(trimNBSP(in), out) << in;
    }
    EXPECT_EQ(ltrim("  a b "), "a b ");
    EXPECT_EQ(rtrim("  a b \n"), "  a b");
}

TEST(Utf8, AcceptsWellFormedAndRefusesEverythingElse) {
    const std::pair<std::string, bool> cases[] = {
        {"", true},
        {"plain", true},
        {"\xC3\xA9", true},
        {"\xF0\x9F\x92\xB3", true},  // U+1F4B3
        {"\xC0\x80", false},         // overlong NUL
        {"\xE0\x80\xAF", false},     // overlong slash
        {"\xED\xA0\x80", false},     // surrogate
        {"\xF4\x90\x80\x80", false}, // above U+10FFFF
        {"\xC3", false},             // truncated
        {"abc\xE2\x82", false},      // truncated at the end
        {"\x80", false},             // lone continuation
        {"\xFF", false},
        {std::string("a\0b", 3), true}, // NUL is a character
    };
    for (const auto& [in, valid] : cases) {
        EXPECT_EQ(isValidUtf8(in), valid) << percentBytes(in);
        EXPECT_EQ(utf8Text(in).has_value(), valid) << percentBytes(in);
    }
    EXPECT_EQ(codePointCount("caff\u00e8 \U0001F4B3"), 7u);
}

TEST(Utf8, FirstAndLastCodePoints) {
    struct Case {
        std::string text;
        std::size_t n;
        std::string first, last;
    };
    const Case cases[] = {
        {"5333171012345670", 4, "5333", "5670"},
        {"12", 4, "12", "12"}, // shorter: whole
        {"", 3, "", ""},
        {"\u00e8\u00e8\u00e8\U0001F4B3x", 3, "\u00e8\u00e8\u00e8", "\u00e8\U0001F4B3x"},
        {"abc", 0, "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(firstCodePoints(c.text, c.n), c.first) << c.text;
        EXPECT_EQ(lastCodePoints(c.text, c.n), c.last) << c.text;
    }
}

TEST(ReplyText, DecodesUtf8ThenRemovesNoBreakSpaces) {
    EXPECT_EQ(decodeReplyText("<a>1\u00a0000</a>"), "<a>1000</a>");
    EXPECT_FALSE(decodeReplyText("<a>caff\xE8</a>").has_value()); // Latin-1, not UTF-8
    EXPECT_EQ(decodeReplyText(""), "");
}

TEST(UpperCase, FullUnicodeUpperCasing) {
    EXPECT_EQ(upperCased("ricarica carta"), "RICARICA CARTA");
    EXPECT_EQ(upperCased("caffè"), "CAFFÈ");
    EXPECT_EQ(upperCased("straße"), "STRASSE");
    EXPECT_EQ(upperCased("ﬁne"), "FINE");
    EXPECT_EQ(upperCased("istanbul"), "ISTANBUL"); // never the Turkish dotted capital
}

TEST(UnicodeText, TrimmingAndDecimalDigits) {
    EXPECT_EQ(trimWhitespaceAndNewlines("  Carta\u00a0spesa \n\t\u3000"), "Carta\u00a0spesa");
    EXPECT_EQ(trimWhitespaceAndNewlines("\n \u2028"), "");
    EXPECT_EQ(trimWhitespaceAndNewlines("x"), "x");
    const std::pair<const char*, bool> digits[] = {
        {"5375123400001117", true},
        {"\uff15\uff13\uff17", true}, // fullwidth
        {"\u0663\u0664", true},       // Arabic-Indic
        {"5375 1234", false},
        {"12a", false},
        {"\u00b2", false}, // superscript two: a digit, not a decimal digit
        {"\u2163", false}, // Roman numeral four
        {"", true},
    };
    for (const auto& [text, expected] : digits) {
        EXPECT_EQ(allDecimalDigits(text), expected) << text;
    }
}

// Where the characters a person sees end: an accent stays with its letter, a flag's two
// letters and a family's joined people are one, and a hostile pile of accents is taken in
// bounded pieces.
TEST(UnicodeText, GraphemeEnds) {
    struct Case {
        std::string text;
        std::size_t most;
        std::vector<std::size_t> ends;
    };
    const std::string pile = "a" + [] {
        std::string marks;
        for (int i = 0; i < 40; ++i) {
            marks += "\u0301"; // 2 bytes each
        }
        return marks;
    }();
    const Case cases[] = {
        {"abc", 10, {1, 2, 3}},
        {"abc", 2, {1, 2}},
        {"", 3, {}},
        {"e\u0301a", 5, {3, 4}},                      // e + combining acute, then a
        {"\U0001F1EE\U0001F1F9x", 5, {8, 9}},         // the Italian flag: two regional letters
        {"\U0001F44D\U0001F3FD!", 5, {8, 9}},         // thumbs up with a skin tone
        {"\U0001F469\u200D\U0001F467z", 5, {11, 12}}, // woman ZWJ girl
        {"\r\nx", 5, {2, 3}},                         // a CR LF pair is one
        {"x\r\r\n\n", 9, {1, 2, 4, 5}},               // only CR then LF is one
        {pile, 5, {1 + 31 * 2, 1 + 40 * 2}},          // 32 code points, then the other 9 marks
    };
    for (const auto& c : cases) {
        EXPECT_EQ(graphemeEnds(c.text, c.most), c.ends) << c.text;
    }
}
