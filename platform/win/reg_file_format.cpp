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

// Where the text goes: UTF-16 units into a string, or UTF-16LE bytes into
// room made for all of them, or nowhere, only counted (to know that room).
class TextOut {
 public:
  TextOut() = default;
  explicit TextOut(std::u16string* units) : units_(units) {}
  explicit TextOut(char* bytes) : bytes_(bytes) {}

  void push_back(char16_t c) {
    if (units_ != nullptr) units_->push_back(c);
    if (bytes_ != nullptr) {
      bytes_[2 * size_] = static_cast<char>(c & 0xFF);
      bytes_[2 * size_ + 1] = static_cast<char>(c >> 8);
    }
    ++size_;
  }
  TextOut& operator+=(char16_t c) {
    push_back(c);
    return *this;
  }
  TextOut& operator+=(std::u16string_view text) {
    for (char16_t c : text) push_back(c);
    return *this;
  }
  // Units given so far.
  std::size_t size() const { return size_; }
  // Whether the units are only counted.
  bool counting() const { return units_ == nullptr && bytes_ == nullptr; }

 private:
  std::u16string* units_ = nullptr;
  char* bytes_ = nullptr;
  std::size_t size_ = 0;
};

void AppendAscii(TextOut& out, std::string_view text) {
  for (char c : text) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
}

// `text` with '\' and '"' escaped, as a quoted name or string holds it.
void AppendEscaped(TextOut& out, std::u16string_view text) {
  for (char16_t c : text) {
    if (c == u'\\' || c == u'"') out.push_back(u'\\');
    out.push_back(c);
  }
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

void AppendHexList(TextOut& out, std::size_t line_len, const std::vector<BYTE>& data) {
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

void AppendValue(TextOut& out, const RegistryValue& value, RegFileForm form) {
  const std::size_t start = out.size();
  if (value.name.empty()) {
    out += u"@=";
  } else {
    out += u'"';
    AppendEscaped(out, value.name);
    out += u"\"=";
  }
  std::size_t line_len = out.size() - start;
  char buffer[32];
  if (value.type == REG_SZ && IsPlainString(value.data)) {
    out += u'"';
    for (std::size_t i = 0; i + 2 < value.data.size(); i += 2) {
      const char16_t c = static_cast<char16_t>(value.data[i] | (value.data[i + 1] << 8));
      if (c == u'\\' || c == u'"') out.push_back(u'\\');
      out.push_back(c);
    }
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

void AppendKey(TextOut& out, std::u16string& path, const RegistryKey& key, bool is_root,
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
  // Only the written text depends on the order, not its length.
  if (!out.counting()) {
    std::sort(children.begin(), children.end(), [](const RegistryKey* a, const RegistryKey* b) {
      return RegistryNameBefore(a->name, b->name);
    });
  }
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
    if (text != nullptr) AppendUtf16(*text, c.code);
    i += c.length;
  }
  return true;
}

namespace {

// The file's text where it lies in the file's bytes, never copied whole:
// UTF-16LE units, or UTF-8 bytes (one unit a byte; a character past ASCII
// takes several, and is decoded only where a name or a string takes it).
// Every character the syntax uses is ASCII, so it is one unit either way.
class Units {
 public:
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  Units() = default;
  Units(const BYTE* bytes, std::size_t count, bool wide) : p_(bytes), n_(count), wide_(wide) {}

  std::size_t size() const { return n_; }
  bool empty() const { return n_ == 0; }
  char16_t operator[](std::size_t i) const {
    return wide_ ? static_cast<char16_t>(p_[2 * i] | (p_[2 * i + 1] << 8)) : static_cast<char16_t>(p_[i]);
  }
  char16_t back() const { return (*this)[n_ - 1]; }
  Units substr(std::size_t pos, std::size_t count = npos) const {
    return Units(p_ + pos * Width(), std::min(count, n_ - pos), wide_);
  }
  void remove_prefix(std::size_t count) {
    p_ += count * Width();
    n_ -= count;
  }
  void remove_suffix(std::size_t count) { n_ -= count; }
  std::size_t find(char16_t c, std::size_t from = 0) const {
    for (std::size_t i = from; i < n_; ++i) {
      if ((*this)[i] == c) return i;
    }
    return npos;
  }
  std::size_t rfind(char16_t c) const {
    for (std::size_t i = n_; i > 0; --i) {
      if ((*this)[i - 1] == c) return i - 1;
    }
    return npos;
  }
  bool operator==(std::u16string_view word) const {
    if (n_ != word.size()) return false;
    for (std::size_t i = 0; i < n_; ++i) {
      if ((*this)[i] != word[i]) return false;
    }
    return true;
  }

  // The character at *i as UTF-16 units given to `out` (push_back), *i
  // moved past it.
  template <typename Out>
  void TakeChar(std::size_t* i, Out& out) const {
    const char16_t unit = (*this)[*i];
    if (wide_ || unit < 0x80) {
      out.push_back(unit);
      ++*i;
      return;
    }
    const Utf8Char c = ::DecodeUtf8(std::string_view(reinterpret_cast<const char*>(p_), n_), *i);
    AppendUtf16(out, c.code);
    *i += c.length;
  }

  // All of it as UTF-16 into *text, unless that is more than `limit` units:
  // then false, having decoded no more than that.
  bool Text(std::u16string* text, std::size_t limit) const {
    text->clear();
    for (std::size_t i = 0; i < n_;) {
      TakeChar(&i, *text);
      if (text->size() > limit) return false;
    }
    return true;
  }

 private:
  std::size_t Width() const { return wide_ ? 2 : 1; }

  const BYTE* p_ = nullptr;
  std::size_t n_ = 0;
  bool wide_ = false;
};

// Where the text of the file lies and in which form, or why it is no text.
// Nothing is decoded into a copy: UTF-8 is only checked here.
bool FindText(const BYTE* bytes, std::size_t size, Units* text, std::string* error) {
  if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    if (size % 2 != 0) {
      *error = "UTF-16 file with an odd number of bytes (cut in the middle of a character)";
      return false;
    }
    *text = Units(bytes + 2, (size - 2) / 2, true);
    return true;
  }
  if (size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
    *error = "big-endian UTF-16 is not supported";
    return false;
  }
  // UTF-16 saved without its mark has a zero byte beside each ASCII letter;
  // say so rather than report whatever that makes of the lines.
  if (size >= 2 && (bytes[0] == 0) != (bytes[1] == 0)) {
    *error = "UTF-16 text without a byte-order mark (a registry file in UTF-16 begins with FF FE)";
    return false;
  }
  std::size_t i = 0;
  if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) i = 3;
  if (!DecodeUtf8(bytes + i, size - i, nullptr, error)) return false;
  *text = Units(bytes + i, size - i, false);
  return true;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Whether `text` begins with the ASCII word `prefix`, in any case.
bool StartsWithNoCase(Units text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) return false;
  std::u16string start;
  return text.substr(0, prefix.size()).Text(&start, prefix.size()) && RegistryNamesEqual(start, prefix);
}

// A string value's UTF-16LE bytes, given a unit at a time.
struct LittleEndianUnits {
  std::vector<BYTE>* bytes;
  void push_back(char16_t c) {
    bytes->push_back(static_cast<BYTE>(c & 0xFF));
    bytes->push_back(static_cast<BYTE>(c >> 8));
  }
  std::size_t size() const { return bytes->size() / 2; }
};

class Parser {
 public:
  Parser(Units text, std::size_t file_size, const RegFileCheck& check)
      : text_(text), check_(check), memory_limit_(RegFileMemoryLimit(file_size)) {
    CheckLines();
  }

  bool Run(RegistryHive* hive, RegFileFault* fault) {
    if (!ok_) return Fail(fault);
    Units line;
    NextLine(&line);  // there is one: the text ends with a line break
    old_format_ = TrimmedEquals(line, kHeader4);
    if (!TrimmedEquals(line, kHeader5) && !old_format_) {
      message_ = "missing header line \"Windows Registry Editor Version 5.00\"";
      kind_ = RegFileFault::Kind::kNotRegistry;
      return Fail(fault);
    }
    while (NextLine(&line)) {
      if (!ParseLine(line)) return Fail(fault);
    }
    *hive = std::move(hive_);
    return true;
  }

 private:
  // The text must end with a line break, and a carriage return may stand
  // only before one; no line holds a NUL.
  void CheckLines() {
    if (text_.empty() || text_.back() != u'\n') {
      ok_ = false;
      message_ = "file does not end with a line break (cut short?)";
      line_no_ = 0;
      return;
    }
    std::size_t line = 1;
    for (std::size_t i = 0; i < text_.size(); ++i) {
      const char16_t c = text_[i];
      if (c == u'\n') {
        ++line;
      } else if (c == u'\0' || (c == u'\r' && text_[i + 1] != u'\n')) {
        ok_ = false;
        message_ = "stray carriage return or NUL character";
        line_no_ = line;
        return;
      }
    }
  }

  // The next line, without its line break; line_no_ becomes its number.
  bool NextLine(Units* line) {
    if (next_ >= text_.size()) return false;
    const std::size_t end = text_.find(u'\n', next_);
    std::size_t stop = end;
    if (stop > next_ && text_[stop - 1] == u'\r') --stop;
    *line = text_.substr(next_, stop - next_);
    next_ = end + 1;
    ++line_no_;
    return true;
  }

  static bool TrimmedEquals(Units line, std::u16string_view word) {
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

  // Counts what a key or value just added takes; false past the limit.
  bool Spend(std::size_t cost) {
    memory_ += cost;
    if (memory_ <= memory_limit_) return true;
    return Error("more keys and values than a file of its size may hold: they would take more than " +
                 std::to_string(memory_limit_ >> 20) + " MiB of memory");
  }

  // Only blanks and an optional comment may follow a value.
  static bool RestIsEmpty(Units rest) {
    std::size_t i = 0;
    while (i < rest.size() && IsBlank(rest[i])) ++i;
    return i == rest.size() || rest[i] == u';';
  }

  bool ParseLine(Units line) {
    std::size_t i = 0;
    while (i < line.size() && IsBlank(line[i])) ++i;
    line.remove_prefix(i);
    if (line.empty() || line[0] == u';') return true;
    if (line[0] == u'[') return ParseSection(line);
    if (line[0] == u'@' || line[0] == u'"') return ParseValue(line);
    return Error("unexpected text (not a key, value or comment)");
  }

  bool ParseSection(Units line) {
    const std::size_t close = line.rfind(u']');
    if (close == Units::npos) return Error("key line without closing ']'");
    if (!RestIsEmpty(line.substr(close + 1))) return Error("text after the key's ']'");
    Units body = line.substr(1, close - 1);
    bool remove = false;
    if (!body.empty() && body[0] == u'-') {
      remove = true;
      body.remove_prefix(1);
    }
    RegistryPath path;
    std::size_t start = 0;
    std::u16string root_name;
    bool first = true;
    while (true) {
      const std::size_t sep = body.find(u'\\', start);
      Units part = body.substr(start, sep == Units::npos ? sep : sep - start);
      if (part.empty()) return Error("empty key name in key path");
      std::u16string name;
      if (!part.Text(&name, RegistryHive::kMaxNameLength)) {
        return Error("key name longer than " + std::to_string(RegistryHive::kMaxNameLength) + " characters");
      }
      if (first) {
        root_name = std::move(name);
        first = false;
      } else {
        if (path.size() == RegistryHive::kMaxDepth) return Error("key path deeper than " + std::to_string(RegistryHive::kMaxDepth) + " levels");
        path.push_back(std::move(name));
      }
      if (sep == Units::npos) break;
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
    current_key_ = &hive_.Root(root);
    for (const std::u16string& name : path) {
      RegistryKey* parent = current_key_;
      bool added = false;
      current_key_ = parent->FindOrAddSubkey(name, &added);
      if (added && !Spend(RegistryAddedSubkeyCost(*parent))) return false;
    }
    has_key_ = true;
    skip_values_ = false;
    return true;
  }

  // A quoted string starting at text[0] == '"', its units given to `out`;
  // sets *consumed past the closing quote. A value's name is refused past
  // the registry's longest before it is copied whole.
  template <typename Out>
  bool ParseQuoted(Units text, Out& out, std::size_t* consumed, bool name = false) {
    for (std::size_t i = 1; i < text.size();) {
      if (name && out.size() > RegistryHive::kMaxValueNameLength) {
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
        out.push_back(next);
        ++i;
      } else {
        text.TakeChar(&i, out);
      }
    }
    return Error("quoted string without its closing '\"'");
  }

  bool ParseValue(Units line) {
    const std::size_t first_line = line_no_;
    std::u16string name;
    std::size_t pos;
    if (line[0] == u'@') {
      pos = 1;
    } else if (!ParseQuoted(line, name, &pos, true)) {
      return false;
    }
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    if (pos >= line.size() || line[pos] != u'=') return Error("value name not followed by '='");
    ++pos;
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    Units data = line.substr(pos);

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
    if (!has_key_) return true;
    const std::size_t values = current_key_->values.size();
    const std::size_t data_size = bytes.size();
    current_key_->SetValue(name, type, std::move(bytes));
    return Spend(current_key_->values.size() > values ? RegistryAddedValueCost(*current_key_)
                                                      : RegistryDataCost(data_size));
  }

  // A value's data after its '=': "text", dword:, hex: or hex(N):.
  bool ParseData(Units data, DWORD* type, std::vector<BYTE>* bytes) {
    if (!data.empty() && data[0] == u'"') {
      // At most two bytes for each unit of the line, and two for the end.
      bytes->reserve(data.size() * 2);
      LittleEndianUnits text{bytes};
      std::size_t used;
      if (!ParseQuoted(data, text, &used)) return false;
      if (!RestIsEmpty(data.substr(used))) return Error("text after a quoted string");
      *type = REG_SZ;
      text.push_back(0);
      // What a comment after the string made room for is not kept.
      if (bytes->capacity() - bytes->size() > bytes->size() / 8) bytes->shrink_to_fit();
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
  bool ParseHexData(Units data, DWORD* type, std::vector<BYTE>* bytes) {
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
  static std::size_t ReadHexNumber(Units data, std::size_t* i, DWORD* value) {
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
    std::string why;
    if (!DecodeUtf8(bytes->data(), bytes->size(), nullptr, &why)) {
      message_ = "text in a hex(2) or hex(7) list of a REGEDIT4 file: " + why;
      return false;
    }
    // Straight into the new bytes: at most two for each byte of UTF-8.
    std::vector<BYTE> wide;
    wide.reserve(bytes->size() * 2);
    LittleEndianUnits out{&wide};
    const Units text(bytes->data(), bytes->size(), false);
    for (std::size_t i = 0; i < text.size();) text.TakeChar(&i, out);
    *bytes = std::move(wide);
    return true;
  }

  // Bytes separated by commas, a line ending in '\' continuing on the next.
  bool ParseHexList(Units text, std::vector<BYTE>* out) {
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
        if (!NextLine(&text)) return Error("hex list continued past the end of the file");
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

  Units text_;
  const RegFileCheck& check_;
  // What the keys and values made so far take, and the most they may.
  std::size_t memory_ = 0;
  std::size_t memory_limit_;
  int current_root_ = 0;
  RegistryPath current_path_;
  std::size_t next_ = 0;  // where the next line begins
  bool ok_ = true;
  bool old_format_ = false;  // "REGEDIT4" rather than version 5.00
  std::string message_;
  RegFileFault::Kind kind_ = RegFileFault::Kind::kMalformed;
  std::size_t line_no_ = 0;
  // What the file says so far. Keys stay in place while their siblings come
  // and go, so the key the values go into is held by its address.
  RegistryHive hive_;
  RegistryKey* current_key_ = nullptr;
  bool has_key_ = false;
  bool skip_values_ = false;
};

}  // namespace

namespace {

void FormatText(TextOut& out, const RegistryHive& hive, RegFileForm form, bool only_with_values) {
  out += form == RegFileForm::kRegedit4 ? kHeader4 : kHeader5;
  out += kNewline;
  for (int root = 0; root < RegistryHive::kRootCount; ++root) {
    std::u16string path(RegistryRootName(root));
    AppendKey(out, path, hive.Root(root), true, form, only_with_values);
  }
  out += kNewline;
}

std::u16string FormatText(const RegistryHive& hive, RegFileForm form, bool only_with_values) {
  TextOut counted;
  FormatText(counted, hive, form, only_with_values);
  std::u16string text;
  text.reserve(counted.size());
  TextOut out(&text);
  FormatText(out, hive, form, only_with_values);
  return text;
}

// The file in UTF-16LE with its byte-order mark, written straight into
// bytes made large enough first: a large registry is never held twice.
std::string Utf16LeFile(const RegistryHive& hive, std::size_t size) {
  std::string bytes(size, '\0');
  bytes[0] = static_cast<char>(0xFF);
  bytes[1] = static_cast<char>(0xFE);
  TextOut out(bytes.data() + 2);
  FormatText(out, hive, RegFileForm::kVersion5, false);
  return bytes;
}

}  // namespace

std::u16string FormatRegText(const RegistryHive& hive) { return FormatText(hive, RegFileForm::kVersion5, false); }

std::string EncodeRegFile(const RegistryHive& hive, RegFileForm form, bool only_keys_with_values) {
  if (form == RegFileForm::kVersion5 && !only_keys_with_values) return Utf16LeFile(hive, RegFileSize(hive));
  const std::u16string text = FormatText(hive, form, only_keys_with_values);
  std::vector<BYTE> units;
  units.reserve(text.size() * 2);
  for (char16_t c : text) {
    units.push_back(static_cast<BYTE>(c & 0xFF));
    units.push_back(static_cast<BYTE>(c >> 8));
  }
  if (form == RegFileForm::kVersion5) {
    std::string bytes("\xFF\xFE");
    bytes.append(units.begin(), units.end());
    return bytes;
  }
  const std::vector<BYTE> narrow = NarrowText(units);
  return std::string(narrow.begin(), narrow.end());
}

std::string EncodeRegFile(const RegistryHive& hive) { return Utf16LeFile(hive, RegFileSize(hive)); }

std::string EncodeRegFile(const RegistryHive& hive, std::size_t size) { return Utf16LeFile(hive, size); }

std::size_t RegFileSize(const RegistryHive& hive) {
  TextOut counted;
  FormatText(counted, hive, RegFileForm::kVersion5, false);
  return 2 + 2 * counted.size();
}

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
  Units text;
  if (!FindText(static_cast<const BYTE*>(data), size, &text, &fault->reason)) {
    fault->kind = RegFileFault::Kind::kNotText;
    return false;
  }
  Parser parser(text, size, check);
  return parser.Run(hive, fault);
}

std::size_t RegFileMemoryLimit(std::size_t size) { return size * 5 / 2 + (std::size_t{16} << 20); }

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
