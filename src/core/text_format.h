#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace ep {

// A score as the percentage of the total, rounded to one decimal place with
// ties to the even digit, in its shortest form: "66.7", "50", "6.2" (6.25).
// Computed exactly in whole numbers, so ties are found exactly. A total of 0
// or less gives "0".
std::string PercentText(long long score, long long total);

// x rounded to one decimal place with halves to the even digit, in its shortest
// form ("50", "66.7", "-3.5"). x is taken as the decimal it was meant to be
// (an average of one-decimal scores): binary noise below 12 significant digits
// is dropped first, so 58.35 ties and goes to 58.4.
std::string R1Text(double x);

// Elapsed time as hours:minutes:seconds without leading zeros ("0:12:5").
// Hours are whole hours since the start: 25 hours stay 25.
std::string ElapsedText(std::chrono::seconds elapsed);

// A number as a pupil types it, read the same whatever the system's locale:
// surrounding spaces, an optional sign, digits with optional "," grouping in
// threes ("12,500"), an optional decimal part with "." and an optional exponent.
// ".5" and "5." are numbers too. Anything else is not a number.
std::optional<double> ParseNumber(std::string_view text);

// A whole number in decimal, surrounding spaces allowed.
std::optional<long long> ParseInteger(std::string_view text);

// The forms the results files hold values in, as the program writes them.
// A percentage score from 0 to 100 with at most one decimal ("66.7", "100").
bool IsStoredScore(std::string_view text);
// Hours, minutes and seconds ("0:12:5"; leading zeros are read too).
bool IsStoredTime(std::string_view text);
// A short date of three numbers ("14/03/2026", "3/14/26", "2026-03-14",
// "2026. 3. 14.") that can be a day, a month and a year in some order.
bool IsStoredDate(std::string_view text);
// An attempt's state: "0" or "1".
bool IsStoredState(std::string_view text);

}  // namespace ep
