#pragma once

// Judging an answer slot against its key, by the slot's answer kind:
//   "N"             numeric equality, no tolerance
//   "T", "Q", "L"   text equal ignoring case and outer spaces
//   "R", "F", "X"   exact text once spaces are dropped, except a space where
//                   the key has its first one ("5 2/3", "7:23", "109/200")
//   "G", "M"        slots of a group: the head slot's key lists the accepted
//                   values, each after ";" (";3;5"); every later slot of the
//                   group has the key " ". The values may be given in any
//                   order and each one counts once.

#include <string>
#include <string_view>

#include "list.h"

namespace ep {

// The result marks as stored in the results files: ü (0xFC) and û (0xFB) in
// Windows-1252, shown as a tick and a cross.
inline constexpr std::string_view kTickMark = "\u00FC";
inline constexpr std::string_view kCrossMark = "\u00FB";

// The tick mark, the cross mark, or "" for a kind without a rule.
std::string CheckAnswer(std::string_view given, std::string_view correct, std::string_view kind);

// The tick or cross mark of slot i of a group. `kinds` is not consulted.
std::string CheckGroupAnswer(const TextList& given, const TextList& keys, const TextList& kinds, std::size_t i);

// The accepted value to show as the model answer of slot i of a group (the
// r-th value that no slot of the group has given, r being the number of
// earlier slots that were not right); "" when there is none. The third list
// is not consulted.
std::string GroupModelAnswer(const TextList& given, const TextList& keys, const TextList& unused, std::size_t i);

// True for the kinds judged with their whole group.
bool IsGroupKind(std::string_view kind);

// Spaces removed from both ends (spaces only, not other blanks).
std::string_view TrimSpaces(std::string_view text);

// Lower case for every letter Windows-1252 can hold, on UTF-8 text.
std::string LowerCase(std::string_view text);

}  // namespace ep
