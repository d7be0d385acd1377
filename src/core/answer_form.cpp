#include "answer_form.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "answer_check.h"
#include "cp1252.h"
#include "text_format.h"

namespace ep {
namespace {

// Numbers longer than this get no form-only note: their exact arithmetic
// would not fit. No answer of the course comes near it.
constexpr std::size_t kMaxDigits = 9;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AllDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (!IsDigit(c)) return false;
    }
    return true;
}

bool AllZeros(std::string_view text) { return text.find_first_not_of('0') == std::string_view::npos; }

// The spacing rule of "F" and "R" keys, which hold no space: every space goes.
std::string WithoutSpaces(std::string_view text) {
    std::string kept;
    for (char c : text) {
        if (c != ' ') kept += c;
    }
    return kept;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t pos = text.find(separator); pos != std::string_view::npos; pos = text.find(separator, start)) {
        parts.push_back(text.substr(start, pos - start));
        start = pos + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

// digits "/" digits, with no spaces left in it.
bool IsFraction(std::string_view text) {
    std::vector<std::string_view> parts = Split(text, '/');
    return parts.size() == 2 && AllDigits(parts[0]) && AllDigits(parts[1]) && !AllZeros(parts[1]);
}

// What the "X" rule reads when a key's whole part is as long as the whole
// part typed: the first space stays, every later one goes.
struct Mixed {
    std::string_view whole;
    std::string fraction;
};

std::optional<Mixed> ReadMixed(std::string_view text) {
    text = TrimSpaces(text);
    std::size_t space = text.find(' ');
    if (space == std::string_view::npos || !AllDigits(text.substr(0, space))) return std::nullopt;
    Mixed mixed{text.substr(0, space), WithoutSpaces(text.substr(space + 1))};
    if (!IsFraction(mixed.fraction)) return std::nullopt;
    return mixed;
}

bool IsRatio(std::string_view text) {
    std::vector<std::string_view> parts = Split(text, ':');
    if (parts.size() < 2) return false;
    for (std::string_view part : parts) {
        if (!AllDigits(part)) return false;
    }
    return true;
}

// ---- Exact values, for telling "the same value" from "the same text"

using Wide = unsigned __int128;

unsigned long long Gcd(unsigned long long a, unsigned long long b) {
    while (b != 0) {
        unsigned long long r = a % b;
        a = b;
        b = r;
    }
    return a;
}

// A non-negative rational number in lowest terms.
struct Rational {
    unsigned long long num = 0;
    unsigned long long den = 1;
    friend bool operator==(const Rational&, const Rational&) = default;
};

std::optional<unsigned long long> Whole(std::string_view digits) {
    if (!AllDigits(digits)) return std::nullopt;
    std::size_t start = digits.find_first_not_of('0');
    if (start == std::string_view::npos) return 0ULL;
    if (digits.size() - start > kMaxDigits) return std::nullopt;
    unsigned long long value = 0;
    for (char c : digits.substr(start)) value = value * 10 + static_cast<unsigned long long>(c - '0');
    return value;
}

std::optional<Rational> Lowest(unsigned long long num, unsigned long long den) {
    if (den == 0) return std::nullopt;
    unsigned long long g = Gcd(num, den);
    return Rational{num / g, den / g};
}

// "2.75", "3", ".5": digits with at most one decimal point.
std::optional<Rational> DecimalValue(std::string_view text) {
    std::size_t point = text.find('.');
    std::string_view whole = text.substr(0, point);
    std::string_view decimals = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (whole.empty() && decimals.empty()) return std::nullopt;
    if ((!whole.empty() && !AllDigits(whole)) || (!decimals.empty() && !AllDigits(decimals))) return std::nullopt;
    std::string digits = std::string(whole) + std::string(decimals);
    std::optional<unsigned long long> num = Whole(digits);
    if (!num || decimals.size() > kMaxDigits) return std::nullopt;
    unsigned long long den = 1;
    for (std::size_t k = 0; k < decimals.size(); ++k) den *= 10;
    return Lowest(*num, den);
}

// How the pupil wrote a number that "F" and "X" keys compare with.
enum class Written { kFraction, kMixed, kDecimal, kWhole };

struct Reading {
    Written written;
    Rational value;
    bool lowestTerms = true;  // a fraction (or a mixed number's fraction) that cannot be reduced
    bool proper = true;       // a fraction below 1 (for a mixed number's fraction)
};

std::optional<Reading> ReadNumberAsWritten(std::string_view text) {
    text = TrimSpaces(text);
    auto fractionReading = [](Written written, std::string_view fraction,
                              unsigned long long whole) -> std::optional<Reading> {
        std::vector<std::string_view> parts = Split(fraction, '/');
        std::optional<unsigned long long> top = Whole(parts[0]);
        std::optional<unsigned long long> bottom = Whole(parts[1]);
        if (!top || !bottom || *bottom == 0) return std::nullopt;
        std::optional<Rational> value = Lowest(whole * *bottom + *top, *bottom);
        if (!value) return std::nullopt;
        return Reading{written, *value, Gcd(*top, *bottom) == 1, *top < *bottom};
    };
    if (std::optional<Mixed> mixed = ReadMixed(text)) {
        std::optional<unsigned long long> whole = Whole(mixed->whole);
        if (!whole) return std::nullopt;
        return fractionReading(Written::kMixed, mixed->fraction, *whole);
    }
    const std::string joined = WithoutSpaces(text);
    if (IsFraction(joined)) return fractionReading(Written::kFraction, joined, 0);
    std::optional<Rational> value = DecimalValue(joined);
    if (!value) return std::nullopt;
    return Reading{joined.find('.') == std::string::npos ? Written::kWhole : Written::kDecimal, *value};
}

std::string FractionDifference(std::string_view kind, std::string_view key, std::string_view text) {
    std::optional<Reading> answer = ReadNumberAsWritten(text);
    std::optional<Reading> expected = ReadNumberAsWritten(key);
    if (!answer || !expected || answer->value != expected->value) return {};
    const bool mixedWanted = kind == "X";
    switch (answer->written) {
        case Written::kDecimal:
            return mixedWanted ? "give a mixed number, not a decimal" : "give a fraction, not a decimal";
        case Written::kFraction:
            if (mixedWanted) return answer->proper ? "" : "give a mixed number, not an improper fraction";
            return answer->lowestTerms ? "" : "not in its simplest form";
        case Written::kMixed:
            if (!mixedWanted) return "give a fraction, not a mixed number";
            return answer->lowestTerms && answer->proper ? "" : "not in its simplest form";
        case Written::kWhole:
            break;
    }
    return {};
}

std::string RatioDifference(std::string_view key, std::string_view text) {
    std::vector<std::string_view> keyParts = Split(key, ':');
    const std::string joined = WithoutSpaces(TrimSpaces(text));
    std::vector<std::string_view> answerParts = Split(joined, ':');
    if (keyParts.size() < 2 || keyParts.size() != answerParts.size()) return {};
    std::vector<Rational> a;
    std::vector<Rational> b;
    for (std::size_t i = 0; i < keyParts.size(); ++i) {
        std::optional<Rational> keyPart = DecimalValue(keyParts[i]);
        std::optional<Rational> answerPart = DecimalValue(answerParts[i]);
        if (!keyPart || !answerPart) return {};
        a.push_back(*keyPart);
        b.push_back(*answerPart);
    }
    // Proportional: b[j] / a[j] is the same for every j, taken against the
    // first part the key does not make 0.
    std::size_t pivot = 0;
    while (pivot < a.size() && a[pivot].num == 0) ++pivot;
    if (pivot == a.size() || b[pivot].num == 0) return {};
    for (std::size_t j = 0; j < a.size(); ++j) {
        const Wide left = Wide(b[j].num) * a[pivot].num * b[pivot].den * a[j].den;
        const Wide right = Wide(b[pivot].num) * a[j].num * b[j].den * a[pivot].den;
        if (left != right) return {};
    }
    return "give the ratio in its simplest form";
}

bool IsInvisible(char32_t c) {
    return (c >= 0x2000 && c <= 0x200F) || (c >= 0x2028 && c <= 0x202F) || (c >= 0x205F && c <= 0x206F) ||
           (c >= 0x0300 && c <= 0x036F) || c == 0xFEFF || c == 0x00AD || (c >= 0x80 && c <= 0x9F);
}

std::string CodeName(char32_t c) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
    return buffer;
}

}  // namespace

std::string ExpectedForm(std::string_view kind) {
    if (kind == "N") return "Write a whole number or a decimal, like 2.5 or 1,200";
    if (kind == "Q") return "Write 1, 2, 3 or 4";
    if (kind == "F") return "Write a fraction like 3/4";
    if (kind == "X") return "Write a mixed number: the whole number, a space, then the fraction, like 2 3/4";
    if (kind == "R") return "Write a ratio like 3:2";
    return {};
}

std::string AnswerFormProblem(std::string_view kind, std::string_view text) {
    if (TrimSpaces(text).empty()) return {};
    bool reads = true;
    if (kind == "N") {
        reads = ParseNumber(text).has_value();
    } else if (kind == "Q") {
        std::string_view choice = TrimSpaces(text);
        reads = choice.size() == 1 && choice[0] >= '1' && choice[0] <= '4';
    } else if (kind == "F") {
        reads = IsFraction(WithoutSpaces(TrimSpaces(text)));
    } else if (kind == "X") {
        reads = ReadMixed(text).has_value();
    } else if (kind == "R") {
        reads = IsRatio(WithoutSpaces(TrimSpaces(text)));
    }
    return reads ? std::string() : ExpectedForm(kind);
}

std::string FormOnlyDifference(std::string_view kind, std::string_view key, std::string_view text) {
    if (CheckAnswer(text, key, kind) != kCrossMark) return {};
    if (kind == "F" || kind == "X") return FractionDifference(kind, key, text);
    if (kind == "R") return RatioDifference(WithoutSpaces(TrimSpaces(key)), text);
    return {};
}

std::string AnswerRefusal(std::string_view text) {
    std::optional<std::u32string> chars = DecodeUtf8(text);
    if (!chars) return "This text cannot be used: the results file cannot hold it";
    for (char32_t c : *chars) {
        if (c == U'>') return "\">\" cannot be used: the results file keeps answers apart with it";
        if (c == U'#') return "\"#\" cannot be used: the results file marks its lines with it";
        if (c == U'\r' || c == U'\n' || c == 0x2028 || c == 0x2029 || c == 0x85) {
            return "A line break cannot be used: an answer is one line";
        }
        const std::string character = EncodeUtf8(std::u32string(1, c));
        if (IsCp1252Storable(character)) continue;
        if (IsInvisible(c)) {
            return "An invisible character (" + CodeName(c) + ") cannot be used: the results file cannot hold it";
        }
        return "\"" + character + "\" cannot be used: the results file cannot hold it";
    }
    return {};
}

}  // namespace ep
