#include "editing/Wildcard.h"

#include <QChar>
#include <QLocale>

namespace korv {

namespace {

char32_t lowerCodePoint(char32_t c, LetterCase rule)
{
    if (c < 0x80) {
        if (c >= U'A' && c <= U'Z')
            return rule == LetterCase::Turkic && c == U'I' ? U'\u0131' : c + 32;
        return c;
    }
    // The simple (one code point) mapping: "İ" becomes "i" in every locale.
    if (c == U'\u0130')
        return U'i';
    return QChar::toLower(c);
}

} // namespace

LetterCase letterCaseOf(const QLocale &locale)
{
    const QLocale::Language language = locale.language();
    return language == QLocale::Turkish || language == QLocale::Azerbaijani ? LetterCase::Turkic
                                                                              : LetterCase::Default;
}

void lowerCaseInto(QStringView text, LetterCase rule, std::u32string &out)
{
    out.resize(std::size_t(text.size()));
    const char16_t *in = text.utf16();
    const qsizetype n = text.size();
    std::size_t w = 0;
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = in[i];
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(in[i + 1])) {
            c = QChar::surrogateToUcs4(char16_t(c), in[i + 1]);
            ++i;
        }
        out[w++] = lowerCodePoint(c, rule);
    }
    out.resize(w);
}

std::optional<WildcardPattern> WildcardPattern::compile(QStringView pattern, LetterCase rule)
{
    std::u32string p;
    lowerCaseInto(pattern, rule, p);
    WildcardPattern out;
    const std::size_t n = p.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char32_t c = p[i];
        switch (c) {
        case U'*':
            if (out.tokens_.empty() || out.tokens_.back().kind != Token::Star)
                out.tokens_.push_back({Token::Star});
            break;
        case U'?': out.tokens_.push_back({Token::Any}); break;
        case U'#': out.tokens_.push_back({Token::Digit}); break;
        case U'[': {
            const std::size_t close = p.find(U']', i + 1);
            if (close == std::u32string::npos)
                return std::nullopt;
            std::size_t k = i + 1;
            Token token{Token::Set};
            if (k < close && p[k] == U'!') {
                token.negated = true;
                ++k;
            }
            std::vector<Range> ranges;
            while (k < close) {
                const char32_t first = p[k];
                // "a-z" is a range; a "-" first or last stands for itself.
                if (k + 2 < close && p[k + 1] == U'-') {
                    const char32_t last = p[k + 2];
                    if (last < first)
                        return std::nullopt;
                    ranges.push_back({first, last});
                    k += 3;
                } else {
                    ranges.push_back({first, first});
                    ++k;
                }
            }
            i = close;
            if (ranges.empty() && !token.negated)
                break; // "[]": no character
            token.set = int(out.sets_.size());
            out.sets_.push_back(std::move(ranges));
            out.tokens_.push_back(token);
            break;
        }
        default: out.tokens_.push_back({Token::Literal, c}); break;
        }
    }

    // "*text*" (the usual search) needs no matcher: a substring search will do.
    const auto &t = out.tokens_;
    if (!t.empty() && t.front().kind == Token::Star && t.back().kind == Token::Star) {
        bool literalsOnly = true;
        for (std::size_t i = 1; i + 1 < t.size() && literalsOnly; ++i)
            literalsOnly = t[i].kind == Token::Literal;
        if (literalsOnly) {
            out.plainContains_ = true;
            for (std::size_t i = 1; i + 1 < t.size(); ++i)
                out.literal_.push_back(t[i].ch);
        }
    }
    return out;
}

bool WildcardPattern::tokenMatches(const Token &token, char32_t c) const
{
    switch (token.kind) {
    case Token::Literal: return c == token.ch;
    case Token::Any: return true;
    case Token::Digit: return c >= U'0' && c <= U'9';
    case Token::Set: {
        bool inList = false;
        for (const Range &r : sets_[std::size_t(token.set)]) {
            if (c >= r.first && c <= r.last) {
                inList = true;
                break;
            }
        }
        return inList != token.negated;
    }
    case Token::Star: break;
    }
    return false;
}

bool WildcardPattern::matches(std::u32string_view text) const
{
    if (plainContains_)
        return text.find(literal_) != std::u32string_view::npos;
    // Every token but "*" takes exactly one character, so going back to the
    // last "*" and letting it take one more character finds every match.
    const std::size_t n = text.size();
    const std::size_t m = tokens_.size();
    std::size_t t = 0, p = 0;
    std::size_t starP = std::u32string::npos, starT = 0;
    while (t < n) {
        if (p < m && tokens_[p].kind == Token::Star) {
            starP = ++p;
            starT = t;
        } else if (p < m && tokenMatches(tokens_[p], text[t])) {
            ++t;
            ++p;
        } else if (starP != std::u32string::npos) {
            p = starP;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < m && tokens_[p].kind == Token::Star)
        ++p;
    return p == m;
}

} // namespace korv
