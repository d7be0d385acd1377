#pragma once

// Help with the form of an answer, beside the answer check and bound by its
// rules. A text "reads in its kind's form" exactly when CheckAnswer could
// tick it against some key written in that kind's form:
//   "N"            a number ParseNumber reads ("2.5", "1,200", " 84 ")
//   "Q"            1, 2, 3 or 4
//   "F"            digits "/" digits, spaces anywhere (the check drops them)
//   "X"            digits, a space, then digits "/" digits; only that first
//                  space counts, others are dropped
//   "R"            two or more groups of digits joined by ":", spaces anywhere
//   "T", "L", "G", "M" and unknown kinds: any text
// A fraction's bottom number is never 0. Whether the value is right, in its
// simplest form or proper is the check's business, not the form's.

#include <string>
#include <string_view>

namespace ep {

// "" when `text` reads in the form of `kind` (and for a text of spaces only,
// which is no answer yet); otherwise what form is expected, with an example
// ("Write a fraction like 3/4"). Never says whether the value is right.
std::string AnswerFormProblem(std::string_view kind, std::string_view text);

// What AnswerFormProblem says for `kind` whenever a text does not read: the
// form expected, with an example; "" for kinds compared as text.
std::string ExpectedForm(std::string_view kind);

// For an answer the check crosses although its value is the key's value:
// what is wrong with its form ("not in its simplest form", "give a mixed
// number, not an improper fraction", ...). "" for a ticked answer, for one of
// another value, and for kinds compared as text.
std::string FormOnlyDifference(std::string_view kind, std::string_view key, std::string_view text);

// Why an answer box cannot take `text`: its first character that a results
// file cannot hold (">", "#", a line break, a character outside
// Windows-1252), named, with the reason. "" when every character can be kept.
std::string AnswerRefusal(std::string_view text);

}  // namespace ep
