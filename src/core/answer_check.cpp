#include "answer_check.h"

#include <optional>
#include <vector>

#include "cp1252.h"
#include "text_format.h"

namespace ep {
namespace {

constexpr std::size_t kMaxGroupTail = 20;  // slots after a group's head

char32_t LowerChar(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    switch (c) {
        case 0x160: return 0x161;  // Š
        case 0x152: return 0x153;  // Œ
        case 0x17D: return 0x17E;  // Ž
        case 0x178: return 0xFF;   // Ÿ
        default: return c;
    }
}

bool SameText(std::string_view a, std::string_view b) {
    return LowerCase(TrimSpaces(a)) == LowerCase(TrimSpaces(b));
}

// The accepted values of a head key: the texts after each ";", the last one
// running to the end of the key.
std::vector<std::string_view> AcceptedValues(std::string_view key) {
    std::vector<std::string_view> values;
    std::size_t pos = key.find(';');
    while (pos != std::string_view::npos) {
        std::size_t next = key.find(';', pos + 1);
        values.push_back(key.substr(pos + 1, next == std::string_view::npos ? std::string_view::npos
                                                                            : next - pos - 1));
        pos = next;
    }
    return values;
}

const std::string& Entry(const TextList& list, std::size_t i) {
    static const std::string kEmpty;
    return i >= 1 && i <= list.size() ? list[i] : kEmpty;
}

bool ContinuesGroup(const TextList& keys, std::size_t i) { return Entry(keys, i) == " "; }

struct GroupPlace {
    std::size_t head;      // slot index of the group's head
    std::size_t position;  // 1 for the head, 2 for the slot after it, ...
};

// Where slot i stands in its group; nothing for a slot before any head.
std::optional<GroupPlace> PlaceInGroup(const TextList& keys, std::size_t i) {
    if (!ContinuesGroup(keys, i)) return GroupPlace{i, 1};
    std::size_t before = 0;
    while (before < kMaxGroupTail && i > before + 1 && ContinuesGroup(keys, i - before - 1)) ++before;
    std::size_t position = before + 2;
    if (i + 1 <= position) return std::nullopt;
    return GroupPlace{i + 1 - position, position};
}

std::string SpacingNormalised(std::string_view given, std::string_view correct) {
    std::optional<std::u32string> answer = DecodeUtf8(TrimSpaces(given));
    std::optional<std::u32string> key = DecodeUtf8(correct);
    if (!answer || !key) return {};
    std::size_t keySpace = key->find(U' ');  // 0-based; npos when the key has no space
    std::u32string kept;
    for (std::size_t pos = 0; pos < answer->size(); ++pos) {
        char32_t c = (*answer)[pos];
        if (pos == keySpace || c != U' ') kept += c;
    }
    return EncodeUtf8(kept);
}

}  // namespace

std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::string LowerCase(std::string_view text) {
    std::optional<std::u32string> chars = DecodeUtf8(text);
    if (!chars) {
        std::string out(text);
        for (char& c : out) {
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        }
        return out;
    }
    for (char32_t& c : *chars) c = LowerChar(c);
    return EncodeUtf8(*chars);
}

bool IsGroupKind(std::string_view kind) { return kind == "G" || kind == "M"; }

std::string CheckAnswer(std::string_view given, std::string_view correct, std::string_view kind) {
    auto mark = [](bool right) { return std::string(right ? kTickMark : kCrossMark); };
    if (kind == "N") {
        std::optional<double> answer = ParseNumber(given);
        if (!answer) return mark(false);
        std::optional<double> key = ParseNumber(correct);
        return mark(key && *answer == *key);
    }
    if (kind == "Q" || kind == "T" || kind == "L") return mark(SameText(given, correct));
    if (kind == "R" || kind == "F" || kind == "X") {
        return mark(SpacingNormalised(given, correct) == TrimSpaces(correct));
    }
    return {};
}

std::string CheckGroupAnswer(const TextList& given, const TextList& keys, const TextList& /*kinds*/,
                             std::size_t i) {
    auto mark = [](bool right) { return std::string(right ? kTickMark : kCrossMark); };
    std::optional<GroupPlace> place = PlaceInGroup(keys, i);
    if (!place) return mark(false);
    std::vector<std::string_view> values = AcceptedValues(Entry(keys, place->head));
    std::string answer = LowerCase(TrimSpaces(Entry(given, i)));
    if (place->position == 1) {
        for (std::string_view value : values) {
            if (answer == LowerCase(TrimSpaces(value))) return mark(true);
        }
        return mark(false);
    }
    // Values that earlier slots of the group have already used are struck out.
    std::vector<bool> struck(values.size(), false);
    for (std::size_t slot = i - 1; slot >= place->head; --slot) {
        for (std::size_t v = 0; v < values.size(); ++v) {
            if (SameText(Entry(given, slot), values[v])) struck[v] = true;
        }
        if (slot == place->head) break;
    }
    if (answer.empty()) return mark(false);
    for (std::size_t v = 0; v < values.size(); ++v) {
        if (!struck[v] && answer == LowerCase(TrimSpaces(values[v]))) return mark(true);
    }
    return mark(false);
}

std::string GroupModelAnswer(const TextList& given, const TextList& keys, const TextList& /*unused*/,
                             std::size_t i) {
    std::optional<GroupPlace> place = PlaceInGroup(keys, i);
    if (!place) return {};
    std::size_t last = place->head;
    while (last - place->head < kMaxGroupTail && last + 1 <= keys.size() && ContinuesGroup(keys, last + 1)) ++last;
    std::vector<std::string_view> values = AcceptedValues(Entry(keys, place->head));

    // r: how many earlier slots of the group went without a value, plus this one.
    std::size_t matched = 0;
    for (std::size_t slot = place->head; slot < i; ++slot) {
        for (std::string_view value : values) {
            if (SameText(Entry(given, slot), value)) ++matched;
        }
    }
    if (matched >= place->position) return {};
    std::size_t wanted = place->position - matched;

    std::size_t seen = 0;
    for (std::string_view value : values) {
        bool used = false;
        for (std::size_t slot = place->head; slot <= last && !used; ++slot) used = SameText(Entry(given, slot), value);
        if (!used && ++seen == wanted) return std::string(value);
    }
    return {};
}

}  // namespace ep
