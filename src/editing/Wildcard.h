#pragma once
// The find command's pattern language, matched on lower-cased texts:
//   *        any run of characters, also none
//   ?        any one character
//   #        any one digit 0 to 9
//   [list]   one character of the list, which may hold ranges such as a-z
//            (by character code); [!list] one character not in it
//   other    the character itself
// Inside brackets "*", "?", "#" and "[" stand for themselves, and a "-" first
// or last in the list too; "]" closes the list. An empty "[]" matches no
// character at all (it is left out).
//
// Letters are lower-cased one code point at a time as the user's locale does
// it: Turkish (and Azerbaijani) turn "I" into dotless "ı" and "İ" into "i";
// everywhere else "I" becomes "i" and "İ" too becomes a plain "i" (never the
// two characters "i" and a combining dot).

#include <QStringView>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QLocale;

namespace korv {

enum class LetterCase { Default, Turkic };

LetterCase letterCaseOf(const QLocale &locale);

// `text` lower-cased by `rule` into `out`, one element per code point.
void lowerCaseInto(QStringView text, LetterCase rule, std::u32string &out);

class WildcardPattern {
public:
    // Lower-cases `pattern` by `rule` and compiles it; empty when the pattern
    // is not valid (a "[" without its "]", or a range running backwards).
    static std::optional<WildcardPattern> compile(QStringView pattern, LetterCase rule);

    // True when the whole of `lowered` (already lower-cased) fits the pattern.
    bool matches(std::u32string_view lowered) const;

private:
    struct Range {
        char32_t first;
        char32_t last;
    };
    struct Token {
        enum Kind { Literal, Any, Digit, Set, Star } kind;
        char32_t ch = 0;      // Literal
        int set = -1;         // Set: index into sets_
        bool negated = false; // Set
    };

    bool tokenMatches(const Token &token, char32_t c) const;

    std::vector<Token> tokens_;
    std::vector<std::vector<Range>> sets_;
    // A pattern of literals between stars, as one text: a plain substring
    // search does the work.
    bool plainContains_ = false;
    std::u32string literal_;
};

} // namespace korv
