#include "tagged_file.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <vector>

#include "cp1252.h"
#include "file_io.h"

namespace ep {
namespace {

constexpr std::size_t kShortKeySeparator = 6;  // "#KEY#>": 1-based position of the first ">"
constexpr std::size_t kLongKeySeparator = 8;   // "#20011#>"

std::string Describe(const std::string& file, const std::string& key, const std::string& reason) {
    std::string text = file.empty() ? std::string("tagged line") : file;
    if (!key.empty()) text += ", key \"" + key + "\"";
    return text + ": " + reason;
}

[[noreturn]] void Fail(const std::filesystem::path& file, std::string_view key, const std::string& reason) {
    throw TaggedFileError(file.string(), std::string(key), reason);
}

// The file's bytes, read once; lines are views into them.
class FileLines {
public:
    FileLines(const std::filesystem::path& file, std::string_view key) {
        if (std::error_code error = ReadWholeFile(file, bytes_)) {
            Fail(file, key, "cannot be read (" + error.message() + ")");
        }
    }

    // The next line without its line end; nothing at the end of the file.
    // A line ends in CR LF, LF or CR alone: a file that passed through
    // another system reads the same.
    std::optional<std::string_view> Next() {
        if (pos_ >= bytes_.size()) return std::nullopt;
        std::string_view rest(bytes_);
        rest.remove_prefix(pos_);
        const std::size_t end = rest.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            pos_ = bytes_.size();
            return rest;
        }
        pos_ += end + (rest.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        return rest.substr(0, end);
    }

    // The next line that holds "#" key "#".
    std::optional<std::string_view> Find(std::string_view key) {
        std::string tag;
        tag.reserve(key.size() + 2);
        tag += '#';
        tag += key;
        tag += '#';
        while (auto line = Next()) {
            if (line->find(tag) != std::string_view::npos) return line;
        }
        return std::nullopt;
    }

private:
    std::string bytes_;
    std::size_t pos_ = 0;
};

std::size_t CountSeparators(std::string_view line) {
    return static_cast<std::size_t>(std::count(line.begin(), line.end(), '>'));
}

// Splits Windows-1252 bytes (one byte per character, so positions are
// characters) into `count` values; nothing when the line has too few separators.
std::optional<std::vector<std::string_view>> SplitBytes(std::string_view line, std::size_t firstSeparator,
                                                        std::size_t count) {
    std::vector<std::string_view> values;
    if (count == 0) return values;
    if (line.size() < firstSeparator) return std::nullopt;
    values.reserve(count);
    std::size_t p = firstSeparator - 1;
    for (std::size_t i = 1; i < count; ++i) {
        std::size_t next = line.find('>', p + 1);
        if (next == std::string_view::npos) return std::nullopt;
        values.push_back(line.substr(p + 1, next - p - 1));
        p = next;
    }
    values.push_back(line.substr(p + 1));
    return values;
}

void CheckCount(const std::filesystem::path& file, std::string_view key, int count, int capacity) {
    if (count < 0 || count > capacity) {
        Fail(file, key, "asked for " + std::to_string(count) + " values; between 0 and " +
                            std::to_string(capacity) + " can be read");
    }
}

std::string TooFew(std::string_view line, std::size_t wanted) {
    return "the line holds " + std::to_string(CountSeparators(line)) + " values, " + std::to_string(wanted) +
           " wanted";
}

TextList ReadValuesN(const std::filesystem::path& file, std::string_view key, int count, int capacity) {
    CheckCount(file, key, count, capacity);
    FileLines lines(file, key);
    auto line = lines.Find(key);
    if (!line) Fail(file, key, "the key is missing");
    auto values = SplitBytes(*line, kShortKeySeparator, static_cast<std::size_t>(count));
    if (!values) Fail(file, key, TooFew(*line, static_cast<std::size_t>(count)));
    TextList result(static_cast<std::size_t>(capacity));
    for (std::size_t i = 0; i < values->size(); ++i) result[i + 1] = Cp1252ToUtf8((*values)[i]);
    return result;
}

// The key of an in-memory line, for error messages.
std::string KeyOfLine(std::string_view line) {
    std::size_t open = line.find('#');
    if (open == std::string_view::npos) return {};
    std::size_t close = line.find('#', open + 1);
    if (close == std::string_view::npos) return {};
    return std::string(line.substr(open + 1, close - open - 1));
}

TextList SplitLineN(std::string_view line, int count, int capacity) {
    if (count < 0 || count > capacity) {
        throw TaggedFileError({}, KeyOfLine(line),
                              "asked for " + std::to_string(count) + " values; between 0 and " +
                                  std::to_string(capacity) + " can be read");
    }
    // Positions count characters: split the Windows-1252 form, one byte each.
    std::optional<std::string> bytes = Utf8ToCp1252(line);
    std::string_view view = bytes ? std::string_view(*bytes) : line;
    auto values = SplitBytes(view, kShortKeySeparator, static_cast<std::size_t>(count));
    if (!values) throw TaggedFileError({}, KeyOfLine(line), TooFew(view, static_cast<std::size_t>(count)));
    TextList result(static_cast<std::size_t>(capacity));
    for (std::size_t i = 0; i < values->size(); ++i) {
        result[i + 1] = bytes ? Cp1252ToUtf8((*values)[i]) : std::string((*values)[i]);
    }
    return result;
}

void CheckKeyCount(const std::filesystem::path& file, const TextList& keys, int count) {
    if (count < 0 || static_cast<std::size_t>(count) > keys.size()) {
        Fail(file, {}, "asked for " + std::to_string(count) + " keys of a list of " + std::to_string(keys.size()));
    }
}

bool HasForbidden(std::string_view text) {
    return text.find_first_of(">#\r\n") != std::string_view::npos;
}

std::string ToFileBytes(const std::filesystem::path& file, std::string_view key, std::string_view text) {
    std::optional<std::string> bytes = Utf8ToCp1252(text);
    if (!bytes) Fail(file, key, "a value holds a character that cannot be stored");
    return *std::move(bytes);
}

void AppendKeyedLine(std::string& out, const std::filesystem::path& file, std::string_view key,
                     const TextList& values, int count) {
    if (count < 0 || static_cast<std::size_t>(count) > values.size()) {
        Fail(file, key, "asked to write " + std::to_string(count) + " values of a list of " +
                            std::to_string(values.size()));
    }
    if (key.empty() || HasForbidden(key)) Fail(file, key, "the key cannot be stored");
    out += '#';
    out += ToFileBytes(file, key, key);
    out += "#>";
    for (int i = 1; i <= count; ++i) {
        const std::string& value = values[static_cast<std::size_t>(i)];
        if (HasForbidden(value)) {
            Fail(file, key, "value " + std::to_string(i) + " holds \">\", \"#\" or a line break");
        }
        if (i > 1) out += '>';
        out += ToFileBytes(file, key, value);
    }
}

void Commit(const std::filesystem::path& file, std::string_view key, const std::string& bytes) {
    if (std::error_code error = WriteFileAtomically(file, bytes)) {
        Fail(file, key, "cannot be written (" + error.message() + ")");
    }
}

std::optional<int> ParseIndex(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

}  // namespace

TaggedFileError::TaggedFileError(std::string file, std::string key, const std::string& reason)
    : std::runtime_error(Describe(file, key, reason)),
      file_(std::move(file)),
      key_(std::move(key)),
      reason_(reason) {}

std::string ReadField(const std::filesystem::path& file, std::string_view key) {
    FileLines lines(file, key);
    auto line = lines.Find(key);
    if (!line || line->size() < kShortKeySeparator + 1) return {};
    return Cp1252ToUtf8(line->substr(kShortKeySeparator));
}

std::string ReadTaggedLine(const std::filesystem::path& file, std::string_view key) {
    FileLines lines(file, key);
    auto line = lines.Find(key);
    return line ? Cp1252ToUtf8(*line) : std::string();
}

TextList ReadValues10(const std::filesystem::path& file, std::string_view key, int count) {
    return ReadValuesN(file, key, count, 10);
}

TextList ReadValues50(const std::filesystem::path& file, std::string_view key, int count) {
    return ReadValuesN(file, key, count, 50);
}

TextList ReadAllValues(const std::filesystem::path& file, std::string_view key) {
    FileLines lines(file, key);
    auto line = lines.Find(key);
    if (!line) Fail(file, key, "the key is missing");
    std::size_t count = CountSeparators(*line);
    if (count == 0) Fail(file, key, "the line holds no values");
    auto values = SplitBytes(*line, kShortKeySeparator, count);
    if (!values) Fail(file, key, "the line is malformed");
    TextList result;
    for (std::string_view value : *values) result.push_back(Cp1252ToUtf8(value));
    return result;
}

TextList ReadNumberedLines(const std::filesystem::path& file, int count) {
    CheckCount(file, {}, count, 50);
    FileLines lines(file, {});
    TextList result(50);
    for (int i = 1; i <= count; ++i) {
        auto line = lines.Find(std::to_string(100 + i));
        if (!line) break;
        result[static_cast<std::size_t>(i)] = Cp1252ToUtf8(*line);
    }
    return result;
}

List<int> CountValuesForKeys(const std::filesystem::path& file, const TextList& keys, int count) {
    CheckKeyCount(file, keys, count);
    FileLines lines(file, {});
    List<int> result;
    for (int i = 1; i <= count; ++i) {
        const std::string& key = keys[static_cast<std::size_t>(i)];
        auto line = lines.Find(key);
        if (!line) Fail(file, key, "the key is missing, or stands before the key listed ahead of it");
        result.push_back(static_cast<int>(CountSeparators(*line)));
    }
    return result;
}

TextList ReadValuesForKeys(const std::filesystem::path& file, const TextList& keys, int count) {
    CheckKeyCount(file, keys, count);
    FileLines lines(file, {});
    TextList result;
    for (int i = 1; i <= count; ++i) {
        const std::string& key = keys[static_cast<std::size_t>(i)];
        auto line = lines.Find(key);
        if (!line) Fail(file, key, "the key is missing, or stands before the key listed ahead of it");
        auto values = SplitBytes(*line, kLongKeySeparator, CountSeparators(*line));
        if (!values) Fail(file, key, "the line is malformed");
        for (std::string_view value : *values) result.push_back(Cp1252ToUtf8(value));
    }
    return result;
}

TextList SplitTaggedLine80(std::string_view line, int count) { return SplitLineN(line, count, 80); }

TextList SplitTaggedLine50(std::string_view line, int count) { return SplitLineN(line, count, 50); }

TextList SplitAllValues(std::string_view line) {
    int count = static_cast<int>(CountSeparators(line));
    TextList values = SplitLineN(line, count, count);
    return values;
}

std::string RewrittenLinesBytes(const TextList& lines, const TextList& values, std::string_view lineIndex,
                                std::string_view key, int lineCount, int valueCount,
                                const std::filesystem::path& file) {
    std::optional<int> k = ParseIndex(lineIndex);
    if (!k || *k < 1 || *k > lineCount) {
        Fail(file, key, "line " + std::string(lineIndex) + " is not one of the " + std::to_string(lineCount) +
                            " lines to write");
    }
    if (lineCount < 0 || static_cast<std::size_t>(lineCount) > lines.size()) {
        Fail(file, key, "asked to write " + std::to_string(lineCount) + " lines of a list of " +
                            std::to_string(lines.size()));
    }
    std::string newLine;
    AppendKeyedLine(newLine, file, key, values, valueCount);
    std::string bytes;
    for (int i = 1; i <= lineCount; ++i) {
        if (i == *k) {
            bytes += newLine;
        } else {
            const std::string& line = lines[static_cast<std::size_t>(i)];
            if (line.find_first_of("\r\n") != std::string::npos) Fail(file, key, "a line holds a line break");
            bytes += ToFileBytes(file, key, line);
        }
        bytes += "\r\n";
    }
    return bytes;
}

void RewriteTaggedLine(TextList& lines, const TextList& values, std::string_view lineIndex,
                       std::string_view key, int lineCount, int valueCount,
                       const std::filesystem::path& file) {
    Commit(file, key, RewrittenLinesBytes(lines, values, lineIndex, key, lineCount, valueCount, file));
    lines[static_cast<std::size_t>(*ParseIndex(lineIndex))] = KeyedLine(key, values, valueCount);
}

std::string KeyedLine(std::string_view key, const TextList& values, int valueCount) {
    std::string line = "#" + std::string(key) + "#>";
    for (int i = 1; i <= valueCount; ++i) {
        if (i > 1) line += '>';
        line += values[static_cast<std::size_t>(i)];
    }
    return line;
}

std::string MarksFileBytes(const std::array<const TextList*, 6>& lists, const std::array<std::string_view, 6>& keys,
                           int count, const std::filesystem::path& file) {
    std::string bytes;
    for (std::size_t j = 0; j < 6; ++j) {
        AppendKeyedLine(bytes, file, keys[j], *lists[j], count);
        bytes += "\r\n";
    }
    return bytes;
}

void WriteMarksFile(const std::array<const TextList*, 6>& lists, const std::array<std::string_view, 6>& keys,
                    int count, const std::filesystem::path& file) {
    Commit(file, keys[0], MarksFileBytes(lists, keys, count, file));
}

bool IsStorableValue(std::string_view value) { return !HasForbidden(value) && IsCp1252Storable(value); }

std::string TaggedLinesBytes(const std::filesystem::path& file, const TextList& lines, std::string_view keyForErrors) {
    std::string bytes;
    for (const std::string& line : lines) {
        if (line.find_first_of("\r\n") != std::string::npos) Fail(file, keyForErrors, "a line holds a line break");
        bytes += ToFileBytes(file, keyForErrors, line);
        bytes += "\r\n";
    }
    return bytes;
}

void WriteTaggedLines(const std::filesystem::path& file, const TextList& lines, std::string_view keyForErrors) {
    Commit(file, keyForErrors, TaggedLinesBytes(file, lines, keyForErrors));
}

}  // namespace ep
