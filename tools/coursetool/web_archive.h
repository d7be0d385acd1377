#pragma once
// Reading single-file web archives (MHTML: a MIME multipart/related message)
// as the question pages are shipped, to check that every part a page refers
// to is inside it. GMime does the MIME parsing and decoding.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ep::coursetool {

struct ArchivePart {
    std::map<std::string, std::string> headers;  // names in lower case, values unfolded
    std::string body;                            // after its transfer encoding is undone

    std::string Header(const std::string& name) const;
    std::string ContentType() const;             // "text/html", lower case, without parameters
    std::string Location() const { return Header("content-location"); }
};

struct WebArchive {
    std::map<std::string, std::string> headers;
    std::vector<ArchivePart> parts;  // the root (first) part first
};

// Parses an archive; on failure returns nothing and says why in `error`.
// Never throws, whatever the bytes.
std::optional<WebArchive> ParseWebArchive(std::string_view bytes, std::string& error);

// The value of a parameter of a header ("boundary" of a Content-Type), "" when absent.
std::string HeaderParameter(std::string_view header, std::string_view name);

// A reference resolved against the location of the page that makes it:
// absolute http:// addresses stay as they are, others replace the last path step.
std::string ResolveReference(std::string_view base, std::string_view reference);

// The page's text as a reader sees it: tags dropped (the header with the
// question number too), stacked fractions as a/b, entities decoded, blanks collapsed.
std::string PageText(std::string_view html);

}  // namespace ep::coursetool
