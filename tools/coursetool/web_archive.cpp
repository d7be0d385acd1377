#include "web_archive.h"

#include <algorithm>
#include <cctype>

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

// Splits "name: value" lines up to the first empty line; continuation lines
// (starting with a blank) join the line before. Returns the offset after it.
std::size_t ReadHeaders(std::string_view text, std::map<std::string, std::string>& headers, std::string& error) {
    std::size_t pos = 0;
    std::string last;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        pos = end + 1;
        if (line.empty()) return pos;
        if ((line.front() == ' ' || line.front() == '\t') && !last.empty()) {
            headers[last] += " " + std::string(Trim(line));
            continue;
        }
        std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            error = "header line without a colon: " + std::string(line.substr(0, 60));
            return std::string_view::npos;
        }
        last = Lower(Trim(line.substr(0, colon)));
        headers[last] = std::string(Trim(line.substr(colon + 1)));
    }
    error = "headers do not end in an empty line";
    return std::string_view::npos;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::optional<std::string> DecodeQuotedPrintable(std::string_view in) {
    std::string out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '=') {
            out += in[i];
            continue;
        }
        if (in.substr(i + 1, 2) == "\r\n") {  // soft line break
            i += 2;
        } else if (i + 1 < in.size() && in[i + 1] == '\n') {
            i += 1;
        } else if (i + 2 < in.size() && HexValue(in[i + 1]) >= 0 && HexValue(in[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(in[i + 1]) * 16 + HexValue(in[i + 2]));
            i += 2;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

std::optional<std::string> DecodeBase64(std::string_view in) {
    static const std::string kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    int bits = 0, value = 0;
    for (char c : in) {
        if (c == '\r' || c == '\n' || c == ' ') continue;
        if (c == '=') break;
        std::size_t v = kAlphabet.find(c);
        if (v == std::string::npos) return std::nullopt;
        value = (value << 6) | static_cast<int>(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((value >> bits) & 0xFF);
        }
    }
    return out;
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
    WebArchive archive;
    std::size_t bodyStart = ReadHeaders(bytes, archive.headers, error);
    if (bodyStart == std::string_view::npos) return std::nullopt;
    std::string type = archive.headers["content-type"];
    if (Lower(type).rfind("multipart/related", 0) != 0) {
        error = "not multipart/related: \"" + type + "\"";
        return std::nullopt;
    }
    std::string boundary = HeaderParameter(type, "boundary");
    if (boundary.empty()) {
        error = "no boundary";
        return std::nullopt;
    }
    std::string delimiter = "--" + boundary;
    std::string_view body = bytes.substr(bodyStart);
    std::size_t pos = body.find(delimiter);
    if (pos == std::string_view::npos) {
        error = "no part starts with the boundary";
        return std::nullopt;
    }
    bool closed = false;
    while (pos != std::string_view::npos) {
        pos += delimiter.size();
        if (body.substr(pos, 2) == "--") {
            closed = true;
            break;
        }
        std::size_t lineEnd = body.find('\n', pos);
        if (lineEnd == std::string_view::npos) break;
        std::size_t next = body.find("\n" + delimiter, lineEnd);
        std::size_t end = next == std::string_view::npos ? body.size() : next;
        std::string_view raw = body.substr(lineEnd + 1, end - lineEnd - 1);
        ArchivePart part;
        std::size_t content = ReadHeaders(raw, part.headers, error);
        if (content == std::string_view::npos) return std::nullopt;
        std::string_view encoded = raw.substr(content);
        if (!encoded.empty() && encoded.back() == '\r') encoded.remove_suffix(1);
        std::string encoding = Lower(part.Header("content-transfer-encoding"));
        std::optional<std::string> decoded;
        if (encoding == "quoted-printable") {
            decoded = DecodeQuotedPrintable(encoded);
        } else if (encoding == "base64") {
            decoded = DecodeBase64(encoded);
        } else if (encoding.empty() || encoding == "7bit" || encoding == "8bit" || encoding == "binary") {
            decoded = std::string(encoded);
        }
        if (!decoded) {
            error = "part " + std::to_string(archive.parts.size() + 1) + " cannot be decoded (" + encoding + ")";
            return std::nullopt;
        }
        part.body = std::move(*decoded);
        archive.parts.push_back(std::move(part));
        pos = next == std::string_view::npos ? next : next + 1;
    }
    if (!closed) {
        error = "the archive does not end with its closing boundary";
        return std::nullopt;
    }
    if (archive.parts.empty()) {
        error = "no parts";
        return std::nullopt;
    }
    return archive;
}

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
