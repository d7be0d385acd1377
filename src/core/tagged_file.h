#pragma once

// The tagged text file: every data and results file of the program.
//
// Windows-1252 bytes, CR LF line ends (CR or LF alone are read as well).
// A data line is "#" KEY "#" followed by its values, each preceded by ">":
//   #TN2#>Whole Numbers>Decimals
// Values are stored as they are, with no quoting or escape, so a value may
// not hold ">" or "#" (or a line break); the writers refuse such values.
// A key's line is the first line that contains "#" KEY "#" anywhere; other
// lines ("...", rulers) are ignored.
//
// Values are not found by searching for the first ">": the first separator
// stands at character 6 for three-character keys and at character 8 for the
// five-digit question ids, and each later one is the next ">" after it. When
// fewer values are asked for than the line holds, the last one returned holds
// the rest of the line, separators included.
//
// Every operation opens the file, does its work and closes it. Lists are
// 1-based. Every failure is a TaggedFileError naming the file and the key.

#include <array>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "list.h"

namespace ep {

class TaggedFileError : public std::runtime_error {
public:
    TaggedFileError(std::string file, std::string key, const std::string& reason);

    const std::string& file() const { return file_; }
    const std::string& key() const { return key_; }
    // The reason alone, without the file and key.
    const std::string& reason() const { return reason_; }

private:
    std::string file_;
    std::string key_;
    std::string reason_;
};

// Text after the key's first separator (character 7 onwards); "" when the key
// is absent or its line is shorter than 7 characters.
std::string ReadField(const std::filesystem::path& file, std::string_view key);

// The whole line of the key, key included; "" when the key is absent.
std::string ReadTaggedLine(const std::filesystem::path& file, std::string_view key);

// Values 1 .. count of the key's line in a list of 10 (or 50) entries, the rest empty.
TextList ReadValues10(const std::filesystem::path& file, std::string_view key, int count);
TextList ReadValues50(const std::filesystem::path& file, std::string_view key, int count);

// Every value of the key's line; a line without values is an error.
TextList ReadAllValues(const std::filesystem::path& file, std::string_view key);

// 50 entries: entry i (i <= count) is the whole line of key 100 + i. The file
// is read once from the top, so the keys must stand in ascending order; once
// one is not found, it and every later entry are "".
TextList ReadNumberedLines(const std::filesystem::path& file, int count);

// Entry i is the number of values on the line of keys[i]; the keys must be in
// file order (the file is read once from the top).
List<int> CountValuesForKeys(const std::filesystem::path& file, const TextList& keys, int count);

// The values of keys[1]'s line, then those of keys[2]'s line, and so on, in one
// list. Built for five-digit keys; the keys must be in file order.
TextList ReadValuesForKeys(const std::filesystem::path& file, const TextList& keys, int count);

// Values 1 .. count of a whole tagged line (three-character key) held in memory,
// in a list of 80 (or 50) entries. count 0 gives a list of empty entries.
TextList SplitTaggedLine80(std::string_view line, int count);
TextList SplitTaggedLine50(std::string_view line, int count);

// Every value of a whole tagged line (three-character key) held in memory,
// however many there are; none for a line without ">".
TextList SplitAllValues(std::string_view line);

// Sets entry `lineIndex` (decimal text) of `lines` to "#" key "#>" + values
// 1 .. valueCount joined by ">", then rewrites the file with lines 1 ..
// lineCount, each ending in CR LF. The file is replaced only once the new one
// is complete; on failure neither the file nor `lines` changes.
void RewriteTaggedLine(TextList& lines, const TextList& values, std::string_view lineIndex,
                       std::string_view key, int lineCount, int valueCount,
                       const std::filesystem::path& file);

// The bytes RewriteTaggedLine writes, for a change that commits several
// files at once; `lines` is not changed.
std::string RewrittenLinesBytes(const TextList& lines, const TextList& values, std::string_view lineIndex,
                                std::string_view key, int lineCount, int valueCount,
                                const std::filesystem::path& file);

// "#" key "#>" + values 1 .. valueCount joined by ">": the line as written.
std::string KeyedLine(std::string_view key, const TextList& values, int valueCount);

// Writes exactly six lines, line j being "#" keys[j] "#>" + values 1 .. count of
// lists[j] joined by ">".
void WriteMarksFile(const std::array<const TextList*, 6>& lists,
                    const std::array<std::string_view, 6>& keys, int count,
                    const std::filesystem::path& file);

// The bytes WriteMarksFile writes.
std::string MarksFileBytes(const std::array<const TextList*, 6>& lists,
                           const std::array<std::string_view, 6>& keys, int count,
                           const std::filesystem::path& file);

// True when `value` can be stored in a tagged file and read back unchanged:
// no ">", "#", CR or LF, and every character representable in Windows-1252.
bool IsStorableValue(std::string_view value);

// Writes whole lines (each followed by CR LF) as one atomic rewrite. Lines are
// converted to Windows-1252 and must not hold line breaks.
std::string TaggedLinesBytes(const std::filesystem::path& file, const TextList& lines,
                             std::string_view keyForErrors);
void WriteTaggedLines(const std::filesystem::path& file, const TextList& lines,
                      std::string_view keyForErrors);

}  // namespace ep
