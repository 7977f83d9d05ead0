#include "platform/settings/SettingsFile.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::string_view kRegHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kRegHeader4 = "REGEDIT4"; // the older, ANSI export
constexpr std::string_view kDwordPrefix = "dword:";

std::string_view Trim(std::string_view s) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && isSpace(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isSpace(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// "Name"=anything -> "Name", with `value` what follows the '=', whether or not it is a value
// we can read. Names with quotes or backslashes are not ours.
bool SplitValueLine(std::string_view line, std::string_view& name, std::string_view& value) {
    if (line.size() < 2 || line.front() != '"') {
        return false;
    }
    const size_t close = line.find('"', 1);
    if (close == std::string_view::npos || close == 1) {
        return false;
    }
    const std::string_view rawName = line.substr(1, close - 1);
    if (rawName.find('\\') != std::string_view::npos) {
        return false;
    }
    const std::string_view rest = Trim(line.substr(close + 1));
    if (rest.empty() || rest.front() != '=') {
        return false;
    }
    name = rawName;
    value = Trim(rest.substr(1));
    return true;
}

// A value line ending in a backslash goes on in the next line (long hex values are written so).
bool GoesOn(std::string_view text) {
    return !text.empty() && text.back() == '\\';
}

// "Name"=dword:0000002a -> ("Name", 42).
bool ParseDwordLine(std::string_view line, std::string& name, uint32_t& value) {
    std::string_view rawName;
    std::string_view rest;
    if (!SplitValueLine(line, rawName, rest)) {
        return false;
    }
    if (rest.size() <= kDwordPrefix.size() ||
        !EqualsNoCase(rest.substr(0, kDwordPrefix.size()), kDwordPrefix)) {
        return false;
    }
    const std::string_view digits = rest.substr(kDwordPrefix.size());
    if (digits.empty() || digits.size() > 8) {
        return false;
    }
    uint32_t result = 0;
    for (const char c : digits) {
        uint32_t digit = 0;
        if (c >= '0' && c <= '9') {
            digit = uint32_t(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = uint32_t(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = uint32_t(c - 'A' + 10);
        } else {
            return false;
        }
        result = result * 16 + digit;
    }
    name.assign(rawName);
    value = result;
    return true;
}

std::string DwordLine(std::string_view name, uint32_t value) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08x", value);
    std::string line(1, '"');
    line.append(name).append("\"=dword:").append(hex);
    return line;
}

bool IsBlank(std::string_view text) {
    return Trim(text).empty();
}

// Whether the trimmed line opens a section, and whether that section is `key`.
bool IsSection(std::string_view line, std::string_view key, bool& ours) {
    if (line.empty() || line.front() != '[') {
        return false;
    }
    // Registry key names are case-insensitive.
    ours = line.back() == ']' && EqualsNoCase(line.substr(1, line.size() - 2), key);
    return true;
}

// ---- text encodings ----

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The code points of UTF-8 text; malformed bytes become U+FFFD.
std::u32string DecodeUtf8(std::string_view text) {
    std::u32string out;
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = byte(i++);
        int extra = 0;
        char32_t c = lead;
        if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            c = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            c = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            c = lead & 0x07;
        } else if (lead >= 0x80) {
            extra = -1;
        }
        for (int k = 0; k < extra; ++k) {
            if (i >= text.size() || (byte(i) & 0xC0) != 0x80) {
                extra = -1;
                break;
            }
            c = (c << 6) | (byte(i++) & 0x3F);
        }
        out += extra < 0 ? char32_t{0xFFFD} : c;
    }
    return out;
}

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool IsUtf16(TRegEncoding encoding) {
    return encoding == TRegEncoding::Utf16Le || encoding == TRegEncoding::Utf16Be;
}

void AppendUnit(std::string& out, char16_t unit, TRegEncoding encoding) {
    const char low = static_cast<char>(unit & 0xFF);
    const char high = static_cast<char>(unit >> 8);
    if (encoding == TRegEncoding::Utf16Le) {
        out += low;
        out += high;
    } else {
        out += high;
        out += low;
    }
}

// UTF-8 text in the file's encoding.
std::string Encode(std::string_view text, TRegEncoding encoding) {
    if (!IsUtf16(encoding)) {
        return std::string(text);
    }
    std::string out;
    for (char32_t c : DecodeUtf8(text)) {
        if (c >= 0x10000) {
            c -= 0x10000;
            AppendUnit(out, static_cast<char16_t>(0xD800 | (c >> 10)), encoding);
            AppendUnit(out, static_cast<char16_t>(0xDC00 | (c & 0x3FF)), encoding);
        } else {
            AppendUnit(out, static_cast<char16_t>(c), encoding);
        }
    }
    return out;
}

// UTF-16 code units as UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(const std::u16string& units) {
    std::string out;
    for (size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

// The text of a line without its line ending.
std::string_view WithoutLineEnd(std::string_view text) {
    if (!text.empty() && text.back() == '\n') {
        text.remove_suffix(1);
    }
    if (!text.empty() && text.back() == '\r') {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

void TRegValues::Set(std::string_view name, uint32_t value) {
    for (TItem& item : Items) {
        if (EqualsNoCase(item.Name, name)) {
            item.Value = value;
            return;
        }
    }
    Items.push_back(TItem{std::string(name), value});
}

const uint32_t* TRegValues::Find(std::string_view name) const {
    for (const TItem& item : Items) {
        if (EqualsNoCase(item.Name, name)) {
            return &item.Value;
        }
    }
    return nullptr;
}

std::string SettingsFilePath() {
    std::string base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            return {};
        }
        base = std::string(home) + "/.config";
    }
    return base + "/Bellwick/Octavane/settings.reg";
}

TRegDocument TRegDocument::FromBytes(std::string_view bytes) {
    TRegDocument document;
    const auto starts = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
    if (starts("\xEF\xBB\xBF")) {
        document.Encoding_ = TRegEncoding::Utf8Bom;
        document.Bom = bytes.substr(0, 3);
    } else if (starts("\xFF\xFE")) {
        document.Encoding_ = TRegEncoding::Utf16Le;
        document.Bom = bytes.substr(0, 2);
    } else if (starts("\xFE\xFF")) {
        document.Encoding_ = TRegEncoding::Utf16Be;
        document.Bom = bytes.substr(0, 2);
    }
    bytes.remove_prefix(document.Bom.size());

    if (!IsUtf16(document.Encoding_)) {
        while (!bytes.empty()) {
            const size_t end = bytes.find('\n');
            const size_t length = end == std::string_view::npos ? bytes.size() : end + 1;
            const std::string_view raw = bytes.substr(0, length);
            document.Lines.push_back({std::string(raw), std::string(WithoutLineEnd(raw))});
            bytes.remove_prefix(length);
        }
    } else {
        const bool little = document.Encoding_ == TRegEncoding::Utf16Le;
        TLine line;
        std::u16string units;
        size_t i = 0;
        for (; i + 1 < bytes.size(); i += 2) {
            const auto b0 = static_cast<unsigned char>(bytes[i]);
            const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
            const auto unit = static_cast<char16_t>(little ? b0 | b1 << 8 : b0 << 8 | b1);
            line.Raw.append(bytes.substr(i, 2));
            units += unit;
            if (unit == u'\n') {
                line.Text = WithoutLineEnd(Utf16ToUtf8(units));
                document.Lines.push_back(std::move(line));
                line = TLine{};
                units.clear();
            }
        }
        document.Tail = bytes.substr(i); // an odd last byte stays the last
        if (!line.Raw.empty()) {
            line.Text = WithoutLineEnd(Utf16ToUtf8(units));
            document.Lines.push_back(std::move(line));
        }
    }
    // New lines end as the first line does.
    if (!document.Lines.empty()) {
        document.Crlf_ = EndsWith(document.Lines[0].Raw, Encode("\r\n", document.Encoding_));
    }
    return document;
}

TRegValues TRegDocument::Values(std::string_view key) const {
    TRegValues values;
    bool inKey = false;
    bool goesOn = false; // the line is the rest of the value above
    for (const TLine& line : Lines) {
        const std::string_view text = Trim(line.Text);
        if (goesOn) {
            goesOn = GoesOn(text);
            continue;
        }
        if (IsSection(text, key, inKey)) {
            continue;
        }
        std::string_view rawName;
        std::string_view rest;
        goesOn = SplitValueLine(text, rawName, rest) && GoesOn(text);
        std::string name;
        uint32_t value = 0;
        if (inKey && ParseDwordLine(text, name, value)) {
            values.Set(name, value);
        }
    }
    return values;
}

bool TRegDocument::IsExport() const {
    if (Lines.empty()) {
        return false;
    }
    const std::string_view first = Trim(Lines.front().Text);
    return first == kRegHeader || first == kRegHeader4;
}

bool TRegDocument::IsEmpty() const {
    return Lines.empty() && Tail.empty();
}

TRegDocument::TLine TRegDocument::MakeLine(std::string_view text) const {
    std::string raw(text);
    raw.append(Crlf_ ? "\r\n" : "\n");
    return {Encode(raw, Encoding_), std::string(text)};
}

void TRegDocument::Terminate(TLine& line) const {
    if (!EndsWith(line.Raw, Encode("\n", Encoding_))) {
        line.Raw += Encode(Crlf_ ? "\r\n" : "\n", Encoding_);
    }
}

void TRegDocument::Insert(size_t at, std::string_view text) {
    if (at == Lines.size() && !Lines.empty()) {
        Terminate(Lines.back());
    }
    Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(at), MakeLine(text));
}

void TRegDocument::Set(std::string_view key, const TRegValues& values) {
    std::vector<bool> present(values.Size(), false);
    std::vector<TLine> lines;
    lines.reserve(Lines.size() + values.Size());
    // After the last line of the first section of `key` (never inside a value that goes on, so
    // that what is added there is not taken as part of it); 0: none yet.
    size_t sectionEnd = 0;
    bool inKey = false;
    bool inFirst = false;
    bool goesOn = false;   // the line is the rest of the value above
    bool dropRest = false; // ... of a value of ours, whose own line has been replaced or dropped
    for (TLine& line : Lines) {
        const std::string_view text = Trim(line.Text);
        if (goesOn) {
            goesOn = GoesOn(text);
            if (!dropRest) {
                lines.push_back(std::move(line));
                sectionEnd = inFirst && !goesOn ? lines.size() : sectionEnd;
            }
            continue;
        }
        if (IsSection(text, key, inKey)) {
            inFirst = inKey && sectionEnd == 0;
            lines.push_back(std::move(line));
            sectionEnd = inFirst ? lines.size() : sectionEnd;
            continue;
        }
        std::string_view rawName;
        std::string_view rest;
        const bool valueLine = SplitValueLine(text, rawName, rest);
        goesOn = valueLine && GoesOn(text);
        dropRest = false;
        if (inKey && valueLine) {
            // Each of our names keeps one line, the first, whatever it held: a value that
            // cannot be read is replaced in its place rather than left beside a new one.
            size_t k = 0;
            for (const auto& [wanted, value] : values) {
                if (EqualsNoCase(wanted, rawName)) {
                    dropRest = true;
                    std::string name;
                    uint32_t stored = 0;
                    if (present[k]) {
                        line.Raw.clear(); // a later line of the same name goes
                    } else if (!ParseDwordLine(text, name, stored) || stored != value) {
                        line = MakeLine(DwordLine(rawName, value)); // spelt as the file does
                    }
                    present[k] = true;
                    break;
                }
                ++k;
            }
            if (line.Raw.empty()) {
                continue;
            }
        }
        lines.push_back(std::move(line));
        if (inFirst && !text.empty() && !goesOn) {
            sectionEnd = lines.size();
        }
    }
    Lines = std::move(lines);

    std::vector<std::string> added;
    size_t k = 0;
    for (const auto& [name, value] : values) {
        if (!present[k++]) {
            added.push_back(DwordLine(name, value));
        }
    }
    if (sectionEnd == 0) {
        if (Lines.empty()) {
            Insert(Lines.size(), kRegHeader);
            Insert(Lines.size(), "");
        } else if (!IsBlank(Lines.back().Text)) {
            Insert(Lines.size(), "");
        }
        std::string header(1, '[');
        header.append(key).append(1, ']');
        Insert(Lines.size(), header);
        sectionEnd = Lines.size();
    }
    for (const std::string& line : added) {
        Insert(sectionEnd++, line);
    }
}

std::string TRegDocument::ToBytes() const {
    std::string bytes = Bom;
    for (const TLine& line : Lines) {
        bytes += line.Raw;
    }
    return bytes + Tail;
}

TRegValues ParseRegText(std::string_view text, std::string_view key) {
    return TRegDocument::FromBytes(text).Values(key);
}

std::string FormatRegText(std::string_view key, const TRegValues& values) {
    TRegDocument document;
    document.Set(key, values);
    return document.ToBytes();
}

TRegRead AdoptRegBytes(std::string_view bytes, TRegDocument& document, std::string& error) {
    TRegDocument read = TRegDocument::FromBytes(bytes);
    if (!read.IsExport() && !read.IsEmpty()) {
        error = "not a registry export: its first line is not \"" + std::string(kRegHeader) + "\"";
        return TRegRead::Unreadable;
    }
    document = std::move(read);
    return TRegRead::Read;
}
