#include "web_archive.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <mutex>

#include <gmime/gmime.h>

namespace ep::coursetool {
namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::optional<WebArchive> ParseArchive(std::string_view bytes, std::string& error);

// Drops a GObject reference however the function that took it ends.
template <typename T>
struct Unref {
    void operator()(T* object) const {
        if (object) g_object_unref(object);
    }
};
template <typename T>
using Ref = std::unique_ptr<T, Unref<T>>;

// What the parser reports that means the bytes are not a sound archive.
struct Warnings {
    std::string first;
};
void OnWarning(gint64 offset, GMimeParserWarning code, const gchar* item, gpointer data) {
    auto* warnings = static_cast<Warnings*>(data);
    const bool fatal = code == GMIME_CRIT_INVALID_HEADER_NAME || code == GMIME_CRIT_CONFLICTING_HEADER ||
                       code == GMIME_CRIT_CONFLICTING_PARAMETER || code == GMIME_CRIT_MULTIPART_WITHOUT_BOUNDARY ||
                       code == GMIME_CRIT_NESTING_OVERFLOW || code == GMIME_CRIT_PART_WITHOUT_HEADERS_OR_CONTENT ||
                       code == GMIME_WARN_MALFORMED_MULTIPART || code == GMIME_WARN_TRUNCATED_MESSAGE;
    if (fatal && warnings->first.empty()) {
        warnings->first = "malformed at byte " + std::to_string(offset) + (item ? std::string(" (") + item + ")" : "");
    }
}

std::map<std::string, std::string> Headers(GMimeObject* object) {
    std::map<std::string, std::string> headers;
    GMimeHeaderList* list = g_mime_object_get_header_list(object);
    for (int i = 0; i < g_mime_header_list_get_count(list); ++i) {
        GMimeHeader* header = g_mime_header_list_get_header_at(list, i);
        const char* value = g_mime_header_get_value(header);
        headers[Lower(g_mime_header_get_name(header))] = std::string(Trim(value ? value : ""));
    }
    return headers;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The library decodes leniently; a page the packer wrote holds only sound
// escapes, so one that does not is a fault worth naming.
bool SoundQuotedPrintable(std::string_view in) {
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '=') continue;
        const std::string_view rest = in.substr(i + 1, 2);
        const bool softBreak = rest.substr(0, 1) == "\n" || rest == "\r\n";
        const bool escape = rest.size() == 2 && HexValue(rest[0]) >= 0 && HexValue(rest[1]) >= 0;
        if (!softBreak && !escape && i + 1 < in.size()) return false;
    }
    return true;
}

std::string StreamBytes(GMimeStream* stream) {
    GByteArray* array = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(stream));
    return array ? std::string(reinterpret_cast<const char*>(array->data), array->len) : std::string();
}

}  // namespace

std::string ArchivePart::Header(const std::string& name) const {
    auto it = headers.find(name);
    return it == headers.end() ? std::string() : it->second;
}

std::string ArchivePart::ContentType() const {
    std::string type = Header("content-type");
    return Lower(Trim(std::string_view(type).substr(0, type.find(';'))));
}

std::string HeaderParameter(std::string_view header, std::string_view name) {
    std::string lower = Lower(header);
    std::string key = Lower(name) + "=";
    std::size_t pos = 0;
    while ((pos = lower.find(key, pos)) != std::string::npos) {
        bool starts = pos == 0 || lower[pos - 1] == ';' || lower[pos - 1] == ' ' || lower[pos - 1] == '\t';
        if (!starts) {
            ++pos;
            continue;
        }
        std::string_view rest = header.substr(pos + key.size());
        if (!rest.empty() && rest.front() == '"') {
            std::size_t close = rest.find('"', 1);
            return std::string(rest.substr(1, close == std::string_view::npos ? rest.npos : close - 1));
        }
        return std::string(Trim(rest.substr(0, rest.find(';'))));
    }
    return {};
}

std::optional<WebArchive> ParseWebArchive(std::string_view bytes, std::string& error) {
    // Whatever the bytes, a reason and no archive, never an exception.
    try {
        return ParseArchive(bytes, error);
    } catch (const std::exception& e) {
        error = std::string("the archive cannot be read: ") + e.what();
        return std::nullopt;
    }
}

namespace {

std::optional<WebArchive> ParseArchive(std::string_view bytes, std::string& error) {
    static std::once_flag started;
    std::call_once(started, [] { g_mime_init(); });
    Warnings warnings;
    std::unique_ptr<GMimeParserOptions, void (*)(GMimeParserOptions*)> options(g_mime_parser_options_new(),
                                                                             g_mime_parser_options_free);
    g_mime_parser_options_set_warning_callback(options.get(), OnWarning, &warnings);
    Ref<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(bytes.data(), bytes.size()));
    Ref<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
    Ref<GMimeObject> root(g_mime_parser_construct_part(parser.get(), options.get()));
    if (!root) {
        error = warnings.first.empty() ? "not a MIME message" : warnings.first;
        return std::nullopt;
    }
    WebArchive archive;
    archive.headers = Headers(root.get());
    const std::string type = archive.headers["content-type"];
    if (!GMIME_IS_MULTIPART(root.get()) ||
        !g_mime_content_type_is_type(g_mime_object_get_content_type(root.get()), "multipart", "related")) {
        error = "not multipart/related: \"" + type + "\"";
        return std::nullopt;
    }
    GMimeMultipart* multipart = GMIME_MULTIPART(root.get());
    const char* boundary = g_mime_multipart_get_boundary(multipart);
    if (!boundary || !*boundary) {
        error = "no boundary";
        return std::nullopt;
    }
    // The library takes an archive cut short as ended; a packed page always closes.
    if (bytes.find("--" + std::string(boundary) + "--") == std::string_view::npos) {
        error = "the archive does not end with its closing boundary";
        return std::nullopt;
    }
    if (!warnings.first.empty()) {
        error = warnings.first;
        return std::nullopt;
    }
    const int count = g_mime_multipart_get_count(multipart);
    for (int i = 0; i < count; ++i) {
        GMimeObject* object = g_mime_multipart_get_part(multipart, i);
        const std::string which = "part " + std::to_string(i + 1);
        if (!GMIME_IS_PART(object)) {
            error = which + " is not a single part";
            return std::nullopt;
        }
        ArchivePart part;
        part.headers = Headers(object);
        GMimeDataWrapper* content = g_mime_part_get_content(GMIME_PART(object));
        const std::string encoding = Lower(part.Header("content-transfer-encoding"));
        if (content) {
            Ref<GMimeStream> raw(g_mime_stream_mem_new());
            g_mime_stream_write_to_stream(g_mime_data_wrapper_get_stream(content), raw.get());
            g_mime_stream_reset(g_mime_data_wrapper_get_stream(content));
            Ref<GMimeStream> decoded(g_mime_stream_mem_new());
            const bool known = encoding.empty() || encoding == "7bit" || encoding == "8bit" || encoding == "binary" ||
                               encoding == "quoted-printable" || encoding == "base64";
            if (!known || (encoding == "quoted-printable" && !SoundQuotedPrintable(StreamBytes(raw.get()))) ||
                g_mime_data_wrapper_write_to_stream(content, decoded.get()) < 0) {
                error = which + " cannot be decoded (" + encoding + ")";
                return std::nullopt;
            }
            part.body = StreamBytes(decoded.get());
            // The line end before the next boundary belongs to the boundary.
            if (part.body.size() >= 2 && part.body.compare(part.body.size() - 2, 2, "\r\n") == 0) {
                part.body.resize(part.body.size() - 2);
            } else if (!part.body.empty() && part.body.back() == '\n') {
                part.body.pop_back();
            }
        }
        archive.parts.push_back(std::move(part));
    }
    if (archive.parts.empty()) {
        error = "no parts";
        return std::nullopt;
    }
    return archive;
}

}  // namespace

std::string ResolveReference(std::string_view base, std::string_view reference) {
    if (reference.find("://") != std::string_view::npos) return std::string(reference);
    std::size_t slash = base.rfind('/');
    return std::string(base.substr(0, slash + 1)) + std::string(reference);
}

std::string PageText(std::string_view html) {
    // Plain scanning, no regular expressions: pages are a few kilobytes and
    // std::regex recurses per character.
    std::string text(html);
    for (const char* block : {"style", "head", "header"}) {
        std::string open = std::string("<") + block;
        std::string close = std::string("</") + block + ">";
        std::size_t start;
        while ((start = text.find(open)) != std::string::npos) {
            char after = start + open.size() < text.size() ? text[start + open.size()] : '>';
            if (after != '>' && after != ' ') break;
            std::size_t end = text.find(close, start);
            if (end == std::string::npos) break;
            text.replace(start, end + close.size() - start, " ");
        }
    }
    auto replaceAll = [&text](std::string_view from, std::string_view to) {
        std::size_t pos = 0;
        while ((pos = text.find(from, pos)) != std::string::npos) {
            text.replace(pos, from.size(), to);
            pos += to.size();
        }
    };
    // A stacked fraction reads a/b here; the words a screen reader says for
    // it ("3 over 4") would only repeat it.
    for (std::size_t start; (start = text.find("<span class=\"sr\">")) != std::string::npos;) {
        std::size_t end = text.find("</span>", start);
        if (end == std::string::npos) break;
        text.erase(start, end + 7 - start);
    }
    for (std::size_t start; (start = text.find("</span><span class=\"den\"")) != std::string::npos;) {
        std::size_t end = text.find('>', start + 7);
        if (end == std::string::npos) break;
        text.replace(start, end + 1 - start, "/");
    }
    std::string out;
    bool inTag = false;
    for (char c : text) {
        if (c == '<') {
            inTag = true;
            out += ' ';
        } else if (c == '>' && inTag) {
            inTag = false;
        } else if (!inTag) {
            out += c;
        }
    }
    text = std::move(out);
    replaceAll("&#160;", " ");
    replaceAll("&nbsp;", " ");
    replaceAll("\xC2\xA0", " ");
    replaceAll("&lt;", "<");
    replaceAll("&gt;", ">");
    replaceAll("&amp;", "&");
    std::string collapsed;
    for (char c : text) {
        bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (blank) {
            if (!collapsed.empty() && collapsed.back() != ' ') collapsed += ' ';
        } else {
            // No blank before punctuation that a dropped tag left behind.
            if ((c == ',' || c == '.' || c == '?') && !collapsed.empty() && collapsed.back() == ' ') {
                collapsed.pop_back();
            }
            collapsed += c;
        }
    }
    return std::string(Trim(collapsed));
}

}  // namespace ep::coursetool
