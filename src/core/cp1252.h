#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ep {

// Files are Windows-1252 bytes; text in memory is UTF-8.

// Every byte has a character, so reading never fails: the five bytes that
// Windows-1252 leaves undefined map to the C1 controls of the same number,
// which Utf8ToCp1252 maps back, so any file survives a read and a rewrite.
std::string Cp1252ToUtf8(std::string_view bytes);

// Returns nothing when the text is not valid UTF-8 or holds a character
// that Windows-1252 cannot store.
std::optional<std::string> Utf8ToCp1252(std::string_view text);

// True when every character of the UTF-8 text can be stored in a file.
bool IsCp1252Storable(std::string_view text);

// Decodes UTF-8 into code points; nothing when the text is not valid UTF-8.
std::optional<std::u32string> DecodeUtf8(std::string_view text);
std::string EncodeUtf8(std::u32string_view text);

}  // namespace ep
