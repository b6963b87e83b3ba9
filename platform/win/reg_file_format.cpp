// Writing and reading the exported registry text.
#include "platform/win/reg_file_format.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>

#include "platform/file/utf8.h"

namespace {

constexpr std::u16string_view kHeader5 = u"Windows Registry Editor Version 5.00";
constexpr std::u16string_view kHeader4 = u"REGEDIT4";
constexpr std::u16string_view kNewline = u"\r\n";
// A hex list is broken after the comma that brings its line to this width.
constexpr std::size_t kHexLineLimit = 77;

// ---- writing ----

void AppendAscii(std::u16string& out, std::string_view text) {
  for (char c : text) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
}

std::u16string Escape(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c == u'\\' || c == u'"') out.push_back(u'\\');
    out.push_back(c);
  }
  return out;
}

// A REG_SZ whose bytes come back unchanged from a quoted string: UTF-16 units,
// one terminating zero and no other, nothing that would break the line.
bool IsPlainString(const std::vector<BYTE>& data) {
  if (data.size() < 2 || data.size() % 2 != 0) return false;
  const std::size_t units = data.size() / 2;
  for (std::size_t i = 0; i < units; ++i) {
    const char16_t c = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    if (i + 1 == units) return c == 0;
    if (c == 0 || c == u'\r' || c == u'\n') return false;
  }
  return false;
}

void AppendHexList(std::u16string& out, std::size_t line_len, const std::vector<BYTE>& data) {
  static const char kDigits[] = "0123456789abcdef";
  for (std::size_t i = 0; i < data.size(); ++i) {
    out.push_back(static_cast<char16_t>(kDigits[data[i] >> 4]));
    out.push_back(static_cast<char16_t>(kDigits[data[i] & 0xF]));
    if (i + 1 == data.size()) break;
    out.push_back(u',');
    line_len += 3;
    if (line_len >= kHexLineLimit) {
      out += u"\\\r\n  ";
      line_len = 2;
    }
  }
}

// UTF-16LE bytes as UTF-8 (an unpaired surrogate as U+FFFD), as a REGEDIT4
// file keeps the text of hex(2) and hex(7) lists.
std::vector<BYTE> NarrowText(const std::vector<BYTE>& data) {
  std::vector<BYTE> out;
  const std::size_t units = data.size() / 2;
  for (std::size_t i = 0; i < units; ++i) {
    std::uint32_t cp = static_cast<std::uint32_t>(data[2 * i] | (data[2 * i + 1] << 8));
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units) {
      const std::uint32_t low = static_cast<std::uint32_t>(data[2 * i + 2] | (data[2 * i + 3] << 8));
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (cp >= 0xD800 && cp <= 0xDFFF) cp = 0xFFFD;
    if (cp < 0x80) {
      out.push_back(static_cast<BYTE>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<BYTE>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<BYTE>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<BYTE>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<BYTE>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<BYTE>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<BYTE>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<BYTE>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<BYTE>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<BYTE>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

void AppendValue(std::u16string& out, const RegistryValue& value, RegFileForm form) {
  const std::size_t start = out.size();
  if (value.name.empty()) {
    out += u"@=";
  } else {
    out += u'"';
    out += Escape(value.name);
    out += u"\"=";
  }
  std::size_t line_len = out.size() - start;
  char buffer[32];
  if (value.type == REG_SZ && IsPlainString(value.data)) {
    std::u16string text;
    for (std::size_t i = 0; i + 2 < value.data.size(); i += 2) {
      text.push_back(static_cast<char16_t>(value.data[i] | (value.data[i + 1] << 8)));
    }
    out += u'"';
    out += Escape(text);
    out += u'"';
  } else if (const std::optional<DWORD> v = value.Dword()) {
    std::snprintf(buffer, sizeof buffer, "dword:%08x", static_cast<unsigned>(*v));
    AppendAscii(out, buffer);
  } else {
    if (value.type == REG_BINARY) {
      std::snprintf(buffer, sizeof buffer, "hex:");
    } else {
      std::snprintf(buffer, sizeof buffer, "hex(%x):", static_cast<unsigned>(value.type));
    }
    AppendAscii(out, buffer);
    line_len += std::char_traits<char>::length(buffer);
    const bool text = value.type == REG_EXPAND_SZ || value.type == REG_MULTI_SZ;
    AppendHexList(out, line_len, form == RegFileForm::kRegedit4 && text ? NarrowText(value.data) : value.data);
  }
  out += kNewline;
}

void AppendKey(std::u16string& out, std::u16string& path, const RegistryKey& key, bool is_root,
               RegFileForm form, bool only_with_values = false) {
  if ((!is_root && !only_with_values) || !key.values.empty()) {
    out += kNewline;
    out += u'[';
    out += path;
    out += u']';
    out += kNewline;
    for (const RegistryValue& value : key.values) AppendValue(out, value, form);
  }
  std::vector<const RegistryKey*> children;
  children.reserve(key.subkeys.size());
  for (const RegistryKey& sub : key.subkeys) children.push_back(&sub);
  std::sort(children.begin(), children.end(), [](const RegistryKey* a, const RegistryKey* b) {
    return RegistryFoldCase(a->name) < RegistryFoldCase(b->name);
  });
  for (const RegistryKey* child : children) {
    const std::size_t keep = path.size();
    path += u'\\';
    path += child->name;
    AppendKey(out, path, *child, false, form, only_with_values);
    path.resize(keep);
  }
}

// ---- reading ----

}  // namespace

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool DecodeUtf8(const BYTE* bytes, std::size_t size, std::u16string* text, std::string* error) {
  const std::string_view utf8(reinterpret_cast<const char*>(bytes), size);
  for (std::size_t i = 0; i < size;) {
    const Utf8Char c = ::DecodeUtf8(utf8, i);
    switch (c.fault) {
      case Utf8Fault::kNone:
        break;
      case Utf8Fault::kBadByte:
        *error = "not UTF-8 or UTF-16 text (byte " + std::to_string(c.fault_at) + ")";
        return false;
      case Utf8Fault::kCut:
        *error = "UTF-8 text cut in the middle of a character";
        return false;
      case Utf8Fault::kInvalid:
        *error = "invalid UTF-8 sequence at byte " + std::to_string(c.fault_at);
        return false;
    }
    AppendUtf16(*text, c.code);
    i += c.length;
  }
  return true;
}

namespace {

std::optional<std::u16string> DecodeText(const BYTE* bytes, std::size_t size, std::string* error) {
  std::u16string text;
  if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    if (size % 2 != 0) {
      *error = "UTF-16 file with an odd number of bytes (cut in the middle of a character)";
      return std::nullopt;
    }
    text.reserve((size - 2) / 2);
    for (std::size_t i = 2; i < size; i += 2) {
      text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    }
    return text;
  }
  if (size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
    *error = "big-endian UTF-16 is not supported";
    return std::nullopt;
  }
  // UTF-16 saved without its mark has a zero byte beside each ASCII letter;
  // say so rather than report whatever that makes of the lines.
  if (size >= 2 && (bytes[0] == 0) != (bytes[1] == 0)) {
    *error = "UTF-16 text without a byte-order mark (a registry file in UTF-16 begins with FF FE)";
    return std::nullopt;
  }
  std::size_t i = 0;
  if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) i = 3;
  if (!DecodeUtf8(bytes + i, size - i, &text, error)) return std::nullopt;
  return text;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && RegistryNamesEqual(text.substr(0, prefix.size()), prefix);
}

class Parser {
 public:
  Parser(std::u16string text, const RegFileCheck& check) : text_(std::move(text)), check_(check) {
    SplitLines();
  }

  bool Run(RegistryHive* hive, RegFileFault* fault) {
    if (!ok_) return Fail(fault);
    old_format_ = !lines_.empty() && TrimmedEquals(lines_[0], kHeader4);
    if (lines_.empty() || (!TrimmedEquals(lines_[0], kHeader5) && !old_format_)) {
      message_ = "missing header line \"Windows Registry Editor Version 5.00\"";
      line_no_ = 1;
      kind_ = RegFileFault::Kind::kNotRegistry;
      return Fail(fault);
    }
    for (index_ = 1; index_ < lines_.size(); ++index_) {
      line_no_ = index_ + 1;
      if (!ParseLine(lines_[index_])) return Fail(fault);
    }
    *hive = std::move(hive_);
    return true;
  }

 private:
  void SplitLines() {
    if (text_.empty() || text_.back() != u'\n') {
      ok_ = false;
      message_ = "file does not end with a line break (cut short?)";
      line_no_ = 0;
      return;
    }
    std::size_t start = 0;
    while (start < text_.size()) {
      std::size_t end = text_.find(u'\n', start);
      std::size_t stop = end;
      if (stop > start && text_[stop - 1] == u'\r') --stop;
      std::u16string_view line(text_.data() + start, stop - start);
      if (line.find(u'\r') != std::u16string_view::npos || line.find(u'\0') != std::u16string_view::npos) {
        ok_ = false;
        message_ = "stray carriage return or NUL character";
        line_no_ = lines_.size() + 1;
        return;
      }
      lines_.push_back(line);
      start = end + 1;
    }
  }

  static bool TrimmedEquals(std::u16string_view line, std::u16string_view word) {
    while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
    return line == word;
  }

  bool Fail(RegFileFault* fault) {
    fault->line = line_no_;
    fault->reason = message_;
    fault->kind = kind_;
    return false;
  }

  // Shows an entry to the check; a refusal is this line's fault.
  bool Checked(std::size_t line, const std::u16string* value_name, bool removal, DWORD type,
               const std::vector<BYTE>* data) {
    if (!check_) return true;
    std::string why = check_(RegFileEntry{line, current_root_, current_path_, value_name, removal, type, data});
    if (why.empty()) return true;
    line_no_ = line;
    message_ = std::move(why);
    kind_ = RegFileFault::Kind::kRefused;
    return false;
  }

  bool Error(std::string message) {
    message_ = std::move(message);
    return false;
  }

  // Only blanks and an optional comment may follow a value.
  static bool RestIsEmpty(std::u16string_view rest) {
    std::size_t i = 0;
    while (i < rest.size() && IsBlank(rest[i])) ++i;
    return i == rest.size() || rest[i] == u';';
  }

  bool ParseLine(std::u16string_view line) {
    std::size_t i = 0;
    while (i < line.size() && IsBlank(line[i])) ++i;
    line.remove_prefix(i);
    if (line.empty() || line[0] == u';') return true;
    if (line[0] == u'[') return ParseSection(line);
    if (line[0] == u'@' || line[0] == u'"') return ParseValue(line);
    return Error("unexpected text (not a key, value or comment)");
  }

  bool ParseSection(std::u16string_view line) {
    const std::size_t close = line.rfind(u']');
    if (close == std::u16string_view::npos) return Error("key line without closing ']'");
    if (!RestIsEmpty(line.substr(close + 1))) return Error("text after the key's ']'");
    std::u16string_view body = line.substr(1, close - 1);
    bool remove = false;
    if (!body.empty() && body[0] == u'-') {
      remove = true;
      body.remove_prefix(1);
    }
    RegistryPath path;
    std::size_t start = 0;
    std::u16string_view root_name;
    bool first = true;
    while (true) {
      const std::size_t sep = body.find(u'\\', start);
      std::u16string_view part = body.substr(start, sep == std::u16string_view::npos ? sep : sep - start);
      if (part.empty()) return Error("empty key name in key path");
      if (part.size() > RegistryHive::kMaxNameLength) return Error("key name longer than " + std::to_string(RegistryHive::kMaxNameLength) + " characters");
      if (first) {
        root_name = part;
        first = false;
      } else {
        if (path.size() == RegistryHive::kMaxDepth) return Error("key path deeper than " + std::to_string(RegistryHive::kMaxDepth) + " levels");
        path.emplace_back(part);
      }
      if (sep == std::u16string_view::npos) break;
      start = sep + 1;
    }
    const int root = RegistryRootFromName(root_name);
    if (root < 0) return Error("key path does not begin with a known root such as HKEY_LOCAL_MACHINE");
    current_root_ = root;
    current_path_ = path;
    if (!Checked(line_no_, nullptr, remove, 0, nullptr)) return false;
    if (remove) {
      if (path.empty()) return Error("a root key cannot be removed");
      const std::u16string name = std::move(path.back());
      path.pop_back();
      if (RegistryKey* parent = hive_.Find(root, path)) parent->DeleteSubkey(name);
      has_key_ = false;  // values after a removed key are ignored, as by the editor
      skip_values_ = true;
      return true;
    }
    current_key_ = hive_.Create(root, path, nullptr);
    has_key_ = true;
    skip_values_ = false;
    return true;
  }

  // A quoted string starting at text[0] == '"'; sets *consumed past the
  // closing quote. A value's name is refused past the registry's longest
  // before it is copied whole.
  bool ParseQuoted(std::u16string_view text, std::u16string* out, std::size_t* consumed, bool name = false) {
    out->clear();
    for (std::size_t i = 1; i < text.size(); ++i) {
      if (name && out->size() > RegistryHive::kMaxValueNameLength) {
        return Error("value name longer than " + std::to_string(RegistryHive::kMaxValueNameLength) + " characters");
      }
      const char16_t c = text[i];
      if (c == u'"') {
        *consumed = i + 1;
        return true;
      }
      if (c == u'\\') {
        if (i + 1 >= text.size()) break;
        const char16_t next = text[++i];
        if (next != u'\\' && next != u'"') return Error("unknown escape in a quoted string (only \\\\ and \\\")");
        out->push_back(next);
      } else {
        out->push_back(c);
      }
    }
    return Error("quoted string without its closing '\"'");
  }

  bool ParseValue(std::u16string_view line) {
    const std::size_t first_line = line_no_;
    std::u16string name;
    std::size_t pos;
    if (line[0] == u'@') {
      pos = 1;
    } else if (!ParseQuoted(line, &name, &pos, true)) {
      return false;
    }
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    if (pos >= line.size() || line[pos] != u'=') return Error("value name not followed by '='");
    ++pos;
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    std::u16string_view data = line.substr(pos);

    if (!has_key_ && !skip_values_) return Error("value before the first key");

    if (!data.empty() && data[0] == u'-') {
      if (!RestIsEmpty(data.substr(1))) return Error("text after '-'");
      if (has_key_ && !Checked(first_line, &name, true, 0, nullptr)) return false;
      if (has_key_) current_key_->DeleteValue(name);
      return true;
    }
    DWORD type;
    std::vector<BYTE> bytes;
    if (!ParseData(data, &type, &bytes)) return false;
    if (has_key_ && !Checked(first_line, &name, false, type, &bytes)) return false;
    if (has_key_) current_key_->SetValue(name, type, std::move(bytes));
    return true;
  }

  // A value's data after its '=': "text", dword:, hex: or hex(N):.
  bool ParseData(std::u16string_view data, DWORD* type, std::vector<BYTE>* bytes) {
    if (!data.empty() && data[0] == u'"') {
      std::u16string text;
      std::size_t used;
      if (!ParseQuoted(data, &text, &used)) return false;
      if (!RestIsEmpty(data.substr(used))) return Error("text after a quoted string");
      *type = REG_SZ;
      bytes->reserve(text.size() * 2 + 2);
      for (char16_t c : text) {
        bytes->push_back(static_cast<BYTE>(c & 0xFF));
        bytes->push_back(static_cast<BYTE>(c >> 8));
      }
      bytes->push_back(0);
      bytes->push_back(0);
      return true;
    }
    if (StartsWithNoCase(data, u"dword:")) {
      std::size_t i = 6;
      DWORD v = 0;
      const std::size_t digits = ReadHexNumber(data, &i, &v);
      if (digits > 8) return Error("dword with more than 8 hex digits");
      if (digits == 0) return Error("dword without hex digits");
      if (!RestIsEmpty(data.substr(i))) return Error("text after a dword");
      *type = REG_DWORD;
      *bytes = DwordBytes(v);
      return true;
    }
    if (StartsWithNoCase(data, u"hex")) return ParseHexData(data, type, bytes);
    return Error("unknown value data (expected \"text\", dword:, hex: or hex(N):)");
  }

  // hex:..., or hex(N):... with the value's type N.
  bool ParseHexData(std::u16string_view data, DWORD* type, std::vector<BYTE>* bytes) {
    std::size_t i = 3;
    *type = REG_BINARY;
    if (i < data.size() && data[i] == u'(') {
      ++i;
      const std::size_t digits = ReadHexNumber(data, &i, type);
      if (digits > 8) return Error("hex(type) with more than 8 digits");
      if (digits == 0 || i >= data.size() || data[i] != u')') return Error("malformed hex(type)");
      ++i;
    }
    if (i >= data.size() || data[i] != u':') return Error("'hex' not followed by ':'");
    if (!ParseHexList(data.substr(i + 1), bytes)) return false;
    if (old_format_ && (*type == REG_EXPAND_SZ || *type == REG_MULTI_SZ) && !WidenOldText(bytes)) {
      return false;
    }
    return true;
  }

  // The hex digits from `*i` on, into `*value`; how many there were, stopping
  // at the ninth (more than a DWORD holds).
  static std::size_t ReadHexNumber(std::u16string_view data, std::size_t* i, DWORD* value) {
    std::size_t digits = 0;
    *value = 0;
    while (*i < data.size() && HexDigit(data[*i]) >= 0) {
      if (++digits > 8) return digits;
      *value = (*value << 4) | static_cast<DWORD>(HexDigit(data[*i]));
      ++*i;
    }
    return digits;
  }

  // A "REGEDIT4" file keeps expandable and multi-strings as 8-bit text (read
  // as UTF-8, like the file itself); the registry holds them as UTF-16LE.
  bool WidenOldText(std::vector<BYTE>* bytes) {
    std::u16string text;
    std::string why;
    if (!DecodeUtf8(bytes->data(), bytes->size(), &text, &why)) {
      message_ = "text in a hex(2) or hex(7) list of a REGEDIT4 file: " + why;
      return false;
    }
    bytes->clear();
    for (char16_t c : text) {
      bytes->push_back(static_cast<BYTE>(c & 0xFF));
      bytes->push_back(static_cast<BYTE>(c >> 8));
    }
    return true;
  }

  // Bytes separated by commas, a line ending in '\' continuing on the next.
  bool ParseHexList(std::u16string_view text, std::vector<BYTE>* out) {
    std::size_t i = 0;
    bool need_byte = false;  // after a comma
    while (true) {
      while (i < text.size() && IsBlank(text[i])) ++i;
      if (i >= text.size() || text[i] == u';') {
        return true;  // a trailing comma before the end is accepted
      }
      if (text[i] == u'\\') {
        if (!RestIsEmpty(text.substr(i + 1))) return Error("text after a continuation '\\'");
        if (!need_byte && !out->empty()) return Error("continuation '\\' without a comma before it");
        if (index_ + 1 >= lines_.size()) return Error("hex list continued past the end of the file");
        ++index_;
        line_no_ = index_ + 1;
        text = lines_[index_];
        i = 0;
        while (i < text.size() && IsBlank(text[i])) ++i;
        if (i >= text.size()) return Error("empty continuation line in a hex list");
        continue;
      }
      const int hi = HexDigit(text[i]);
      if (hi < 0) return Error("bad character in a hex list");
      int v = hi;
      ++i;
      if (i < text.size() && HexDigit(text[i]) >= 0) {
        v = v * 16 + HexDigit(text[i]);
        ++i;
      }
      out->push_back(static_cast<BYTE>(v));
      while (i < text.size() && IsBlank(text[i])) ++i;
      if (i < text.size() && text[i] == u',') {
        ++i;
        need_byte = true;
        continue;
      }
      need_byte = false;
      if (i < text.size() && text[i] != u';' && text[i] != u'\\') {
        return Error("bytes in a hex list must be separated by ','");
      }
      if (i < text.size() && text[i] == u'\\') return Error("continuation '\\' without a comma before it");
    }
  }

  std::u16string text_;
  const RegFileCheck& check_;
  int current_root_ = 0;
  RegistryPath current_path_;
  std::vector<std::u16string_view> lines_;
  bool ok_ = true;
  bool old_format_ = false;  // "REGEDIT4" rather than version 5.00
  std::string message_;
  RegFileFault::Kind kind_ = RegFileFault::Kind::kMalformed;
  std::size_t line_no_ = 0;
  std::size_t index_ = 0;
  // What the file says so far. Keys stay in place while their siblings come
  // and go, so the key the values go into is held by its address.
  RegistryHive hive_;
  RegistryKey* current_key_ = nullptr;
  bool has_key_ = false;
  bool skip_values_ = false;
};

}  // namespace

namespace {

std::string Utf16LeFile(const std::u16string& text) {
  std::string bytes;
  bytes.reserve(2 + text.size() * 2);
  bytes.push_back(static_cast<char>(0xFF));
  bytes.push_back(static_cast<char>(0xFE));
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

std::u16string FormatText(const RegistryHive& hive, RegFileForm form, bool only_with_values) {
  std::u16string out(form == RegFileForm::kRegedit4 ? kHeader4 : kHeader5);
  out += kNewline;
  for (int root = 0; root < RegistryHive::kRootCount; ++root) {
    std::u16string path(RegistryRootName(root));
    AppendKey(out, path, hive.Root(root), true, form, only_with_values);
  }
  out += kNewline;
  return out;
}

}  // namespace

std::u16string FormatRegText(const RegistryHive& hive) { return FormatText(hive, RegFileForm::kVersion5, false); }

std::string EncodeRegFile(const RegistryHive& hive, RegFileForm form, bool only_keys_with_values) {
  const std::u16string text = FormatText(hive, form, only_keys_with_values);
  if (form == RegFileForm::kVersion5) return Utf16LeFile(text);
  std::vector<BYTE> units;
  units.reserve(text.size() * 2);
  for (char16_t c : text) {
    units.push_back(static_cast<BYTE>(c & 0xFF));
    units.push_back(static_cast<BYTE>(c >> 8));
  }
  const std::vector<BYTE> narrow = NarrowText(units);
  return std::string(narrow.begin(), narrow.end());
}

std::string EncodeRegFile(const RegistryHive& hive) { return Utf16LeFile(FormatRegText(hive)); }

bool ReadRegFile(const void* data, std::size_t size, const RegFileCheck& check, RegistryHive* hive,
                 RegFileFault* fault) {
  RegFileFault local_fault;
  if (fault == nullptr) fault = &local_fault;
  *fault = RegFileFault();
  if (data == nullptr && size != 0) {
    fault->reason = "no data";
    fault->kind = RegFileFault::Kind::kNotText;
    return false;
  }
  if (size == 0) {
    fault->reason = "empty file";
    fault->kind = RegFileFault::Kind::kEmpty;
    return false;
  }
  std::optional<std::u16string> text = DecodeText(static_cast<const BYTE*>(data), size, &fault->reason);
  if (!text) {
    fault->kind = RegFileFault::Kind::kNotText;
    return false;
  }
  Parser parser(std::move(*text), check);
  return parser.Run(hive, fault);
}

std::string RegFileFault::In(const std::string& file) const {
  return file + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + reason;
}

bool ParseRegFile(const void* data, std::size_t size, RegistryHive* hive, std::string* error) {
  RegFileFault fault;
  if (ReadRegFile(data, size, RegFileCheck(), hive, &fault)) return true;
  if (error != nullptr) {
    *error = fault.line > 0 ? "line " + std::to_string(fault.line) + ": " + fault.reason : fault.reason;
  }
  return false;
}
