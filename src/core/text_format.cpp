#include "text_format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ep {
namespace {

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string TenthsText(long long tenths) {
    bool negative = tenths < 0;
    unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(tenths)
                                            : static_cast<unsigned long long>(tenths);
    std::string text = negative && magnitude != 0 ? "-" : "";
    text += std::to_string(magnitude / 10);
    if (magnitude % 10 != 0) {
        text += '.';
        text += static_cast<char>('0' + magnitude % 10);
    }
    return text;
}

}  // namespace

std::string PercentText(long long score, long long total) {
    if (total <= 0) return "0";
    bool negative = score < 0;
    long long scaled = (negative ? -score : score) * 1000;
    long long tenths = scaled / total;
    long long twiceRemainder = 2 * (scaled % total);
    if (twiceRemainder > total || (twiceRemainder == total && tenths % 2 == 1)) ++tenths;
    return TenthsText(negative ? -tenths : tenths);
}

std::string R1Text(double x) {
    if (!std::isfinite(x)) return "0";
    if (std::fabs(x) >= 1e15) return TenthsText(static_cast<long long>(std::nearbyint(x)) * 10);
    // Twelve significant digits, written out in fixed notation.
    int integerDigits = x == 0 ? 1 : static_cast<int>(std::floor(std::log10(std::fabs(x)))) + 1;
    int decimals = integerDigits >= 12 ? 1 : 12 - integerDigits;
    if (decimals < 1) decimals = 1;
    if (decimals > 30) decimals = 30;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, x);
    std::string_view text(buffer);
    bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    std::size_t point = text.find('.');
    long long tenths = std::atoll(std::string(text.substr(0, point)).c_str()) * 10 + (text[point + 1] - '0');
    std::string_view rest = text.substr(point + 2);
    std::size_t nonZero = rest.find_first_not_of('0');
    if (nonZero != std::string_view::npos) {
        bool tie = rest[0] == '5' && rest.find_first_not_of('0', 1) == std::string_view::npos;
        if (rest[0] > '5' || (rest[0] == '5' && !tie) || (tie && tenths % 2 == 1)) ++tenths;
    }
    return TenthsText(negative ? -tenths : tenths);
}

std::string ElapsedText(std::chrono::seconds elapsed) {
    long long total = elapsed.count() < 0 ? 0 : elapsed.count();
    return std::to_string(total / 3600) + ":" + std::to_string(total % 3600 / 60) + ":" +
           std::to_string(total % 60);
}

std::optional<double> ParseNumber(std::string_view text) {
    text = TrimBlanks(text);
    std::string clean;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') clean += '-';
        ++i;
    }
    // Whole part: plain digits, or 1 to 3 digits followed by ",ddd" groups.
    std::size_t start = i;
    while (i < text.size() && IsDigit(text[i])) clean += text[i++];
    std::size_t leading = i - start;
    if (i < text.size() && text[i] == ',') {
        if (leading < 1 || leading > 3) return std::nullopt;
        while (i < text.size() && text[i] == ',') {
            ++i;
            for (int k = 0; k < 3; ++k, ++i) {
                if (i >= text.size() || !IsDigit(text[i])) return std::nullopt;
                clean += text[i];
            }
        }
        if (i < text.size() && IsDigit(text[i])) return std::nullopt;
    }
    std::size_t fractionDigits = 0;
    if (i < text.size() && text[i] == '.') {
        clean += text[i++];
        while (i < text.size() && IsDigit(text[i])) {
            clean += text[i++];
            ++fractionDigits;
        }
    }
    if (leading == 0 && fractionDigits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        clean += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) clean += text[i++];
        std::size_t exponentStart = i;
        while (i < text.size() && IsDigit(text[i])) clean += text[i++];
        if (i == exponentStart) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    double value = 0;
    auto [end, error] = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    if (error != std::errc() || end != clean.data() + clean.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<long long> ParseInteger(std::string_view text) {
    text = TrimBlanks(text);
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
    long long value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace ep

namespace ep {
namespace {

// Leading digits of `text` as a number (at most `most` of them); nothing when there are none.
std::optional<int> TakeNumber(std::string_view& text, std::size_t most) {
    std::size_t n = 0;
    while (n < text.size() && IsDigit(text[n])) ++n;
    if (n == 0 || n > most) return std::nullopt;
    int value = 0;
    std::from_chars(text.data(), text.data() + n, value);
    text.remove_prefix(n);
    return value;
}

bool IsDateSeparator(char c) { return c == '/' || c == '.' || c == '-' || c == ' '; }

}  // namespace

bool IsStoredScore(std::string_view text) {
    std::optional<int> whole = TakeNumber(text, 3);
    if (!whole) return false;
    int tenths = *whole * 10;
    if (!text.empty()) {
        if (text.size() != 2 || text[0] != '.' || !IsDigit(text[1])) return false;
        tenths += text[1] - '0';
    }
    return tenths <= 1000;
}

bool IsStoredTime(std::string_view text) {
    std::optional<int> hours = TakeNumber(text, 5);
    if (!hours || text.empty() || text.front() != ':') return false;
    text.remove_prefix(1);
    std::optional<int> minutes = TakeNumber(text, 2);
    if (!minutes || *minutes > 59 || text.empty() || text.front() != ':') return false;
    text.remove_prefix(1);
    std::optional<int> seconds = TakeNumber(text, 2);
    return seconds && *seconds <= 59 && text.empty();
}

bool IsStoredDate(std::string_view text) {
    int numbers[3] = {};
    std::size_t digits[3] = {};
    for (int i = 0; i < 3; ++i) {
        const std::size_t before = text.size();
        std::optional<int> number = TakeNumber(text, 4);
        if (!number) return false;
        numbers[i] = *number;
        digits[i] = before - text.size();
        const std::size_t separators = text.size();
        while (!text.empty() && IsDateSeparator(text.front())) text.remove_prefix(1);
        if (i < 2 && (separators == text.size() || separators - text.size() > 2)) return false;
        if (i == 2 && separators - text.size() > 1) return false;
    }
    if (!text.empty()) return false;
    auto fits = [&](int y, int m, int d) {
        return (digits[y] == 2 || digits[y] == 4) && numbers[m] >= 1 && numbers[m] <= 12 && numbers[d] >= 1 &&
               numbers[d] <= 31 && digits[m] <= 2 && digits[d] <= 2;
    };
    return fits(0, 1, 2) || fits(2, 1, 0) || fits(2, 0, 1);
}

bool IsStoredState(std::string_view text) { return text == "0" || text == "1"; }

}  // namespace ep
