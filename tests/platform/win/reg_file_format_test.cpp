// The .reg text: exact bytes as the desktop registry editor exports them, and
// reading what such an editor (or a person) writes.
#include "platform/win/reg_file_format.h"

#include <gtest/gtest.h>

#include <glib.h>

#include <random>

#include "platform/win/registry.h"
#include "tests/platform/win/hostile_registry.h"
#include "tests/platform/win/reg_test_util.h"
#include "tests/platform/win/temp_registry.h"

namespace {

constexpr int kHKCU = 1;
constexpr int kHKLM = 2;

// Written by hand from the export rules: header, blank line, every key as its
// own section with parents first and siblings sorted regardless of case,
// dword:%08x in lower case, strings quoted with \\ and \" escapes, anything
// else as hex(N): (hex: for REG_BINARY) broken after the comma that reaches
// column 77 and continued on lines indented by two spaces, CRLF everywhere.
const char16_t kGolden[] =
    u"Windows Registry Editor Version 5.00\r\n"
    u"\r\n"
    u"[HKEY_CURRENT_USER\\Software]\r\n"
    u"\r\n"
    u"[HKEY_CURRENT_USER\\Software\\Tintor]\r\n"
    u"@=\"默认\"\r\n"
    u"\"Name\"=\"a \\\"quoted\\\" C:\\\\path\"\r\n"
    u"\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\r\n"
    u"  16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,\\\r\n"
    u"  2f,30,31,32,33,34,35,36,37,38,39,3a,3b\r\n"
    u"\"Multi\"=hex(7):61,00,62,00,00,00,63,00,64,00,00,00,00,00\r\n"
    u"\"Raw\"=hex(1):41,00\r\n"
    u"\"Q\"=hex(b):08,07,06,05,04,03,02,01\r\n"
    u"\"Short\"=hex(4):01,02,03\r\n"
    u"\"Empty\"=hex:\r\n"
    u"\"None\"=hex(0):\r\n"
    u"\r\n"
    u"[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n"
    u"\r\n"
    u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\apps]\r\n"
    u"\r\n"
    u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Meizu]\r\n"
    u"\r\n"
    u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Meizu\\Theme]\r\n"
    u"\r\n"
    u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Meizu\\Theme\\Colors]\r\n"
    u"\"SYSCLR_WINDOW_BG\"=dword:00ececec\r\n"
    u"\r\n"
    u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Meizu\\Theme\\Colors\\App]\r\n"
    u"\"CANLENDAR_TITLE_STATIC\"=dword:0338faa2\r\n"
    u"\r\n"
    u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zed]\r\n"
    u"\r\n";

TEST(RegFileFormat, WritesTheExactExportBytes) {
  TempRegistry registry;
  std::vector<BYTE> blob;
  for (int i = 0; i < 60; ++i) blob.push_back(static_cast<BYTE>(i));
  // Created in an order other than the file's, through the public API.
  ASSERT_EQ(CreateKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Zed"), ERROR_SUCCESS);
  ASSERT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"\\SOFTWARE\\Meizu\\Theme\\Colors\\App",
                     u"CANLENDAR_TITLE_STATIC", REG_DWORD, Le32(0x0338FAA2u)), ERROR_SUCCESS);
  ASSERT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"\\SOFTWARE\\Meizu\\Theme\\Colors", u"SYSCLR_WINDOW_BG",
                     REG_DWORD, Le32(0x00ECECECu)), ERROR_SUCCESS);
  ASSERT_EQ(CreateKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\apps\\"), ERROR_SUCCESS);
  const LPCWSTR tintor = u"Software\\Tintor";
  ASSERT_EQ(SetValue(HKEY_CURRENT_USER, tintor, u"", REG_SZ, SzBytes(u"默认")), ERROR_SUCCESS);
  ASSERT_EQ(SetValue(HKEY_CURRENT_USER, tintor, u"Name", REG_SZ, SzBytes(u"a \"quoted\" C:\\path")), ERROR_SUCCESS);
  ASSERT_EQ(SetValue(HKEY_CURRENT_USER, tintor, u"Blob", REG_BINARY, blob), ERROR_SUCCESS);
  ASSERT_EQ(SetValue(HKEY_CURRENT_USER, tintor, u"Multi", REG_MULTI_SZ,
                     Bytes({0x61, 0, 0x62, 0, 0, 0, 0x63, 0, 0x64, 0, 0, 0, 0, 0})), ERROR_SUCCESS);
  ASSERT_EQ(SetValue(HKEY_CURRENT_USER, tintor, u"Raw", REG_SZ, Bytes({0x41, 0})), ERROR_SUCCESS);
  ASSERT_EQ(SetValue(HKEY_CURRENT_USER, tintor, u"Q", REG_QWORD, Bytes({8, 7, 6, 5, 4, 3, 2, 1})), ERROR_SUCCESS);
  ASSERT_EQ(SetValue(HKEY_CURRENT_USER, tintor, u"Short", REG_DWORD, Bytes({1, 2, 3})), ERROR_SUCCESS);
  ASSERT_EQ(SetValue(HKEY_CURRENT_USER, tintor, u"Empty", REG_BINARY, {}), ERROR_SUCCESS);
  ASSERT_EQ(SetValue(HKEY_CURRENT_USER, tintor, u"None", REG_NONE, {}), ERROR_SUCCESS);

  const std::string expected = Utf16File(kGolden);
  const std::string actual = registry.ReadBytes();
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i) {
    ASSERT_EQ(static_cast<int>(static_cast<unsigned char>(actual[i])),
              static_cast<int>(static_cast<unsigned char>(expected[i])))
        << "first difference at byte " << i;
  }
}

TEST(RegFileFormat, GoldenFileReadsBackToTheSameValues) {
  RegistryHive hive;
  std::string error;
  const std::string bytes = Utf16File(kGolden);
  ASSERT_TRUE(ParseRegFile(bytes.data(), bytes.size(), &hive, &error)) << error;
  EXPECT_EQ(EncodeRegFile(hive), bytes);
  const RegistryKey* tintor = hive.Find(kHKCU, {u"software", u"TINTOR"});
  ASSERT_NE(tintor, nullptr);
  EXPECT_EQ(tintor->name, u"Tintor");
  ASSERT_NE(tintor->FindValue(u"name"), nullptr);
  EXPECT_EQ(tintor->FindValue(u"name")->data, SzBytes(u"a \"quoted\" C:\\path"));
  EXPECT_EQ(tintor->FindValue(u"")->data, SzBytes(u"默认"));
  EXPECT_EQ(tintor->FindValue(u"Raw")->type, REG_SZ);
  EXPECT_EQ(tintor->FindValue(u"Raw")->data, Bytes({0x41, 0}));
  EXPECT_EQ(tintor->FindValue(u"Short")->type, REG_DWORD);
  EXPECT_EQ(tintor->FindValue(u"Blob")->data.size(), 60u);
  EXPECT_EQ(tintor->FindValue(u"Blob")->data[59], 0x3B);
  EXPECT_EQ(tintor->FindValue(u"Q")->type, REG_QWORD);
  const RegistryKey* app = hive.Find(kHKLM, {u"SOFTWARE", u"Meizu", u"Theme", u"Colors", u"App"});
  ASSERT_NE(app, nullptr);
  EXPECT_EQ(app->FindValue(u"CANLENDAR_TITLE_STATIC")->data, Bytes({0xA2, 0xFA, 0x38, 0x03}));
}

TEST(RegFileFormat, EmptyRegistryIsHeaderAndBlankLine) {
  EXPECT_EQ(EncodeRegFile(RegistryHive()),
            Utf16File(u"Windows Registry Editor Version 5.00\r\n\r\n"));
}

TEST(RegFileFormat, HexWrappingDependsOnTheNameLength) {
  // A name so long that the first line is already past the limit: the first
  // byte ends it, and the rest go on as a normal continuation line.
  RegistryHive hive;
  RegistryKey* key = hive.Create(kHKLM, {u"K"}, nullptr);
  const std::u16string long_name(80, u'n');
  key->SetValue(long_name, REG_BINARY, Bytes({1, 2, 3}));
  // 26 bytes under "x": 'x' + quotes + '=' + "hex:" = 8 columns, so 23 bytes
  // fit before the break (8 + 23 * 3 = 77) and 3 go to the next line.
  std::vector<BYTE> data(26, 0xFF);
  key->SetValue(u"x", REG_BINARY, data);
  const std::u16string text = FormatRegText(hive);
  std::u16string expected_long = u"\"" + long_name + u"\"=hex:01,\\\r\n  02,03\r\n";
  EXPECT_NE(text.find(expected_long), std::u16string::npos);
  std::u16string first_line = u"\"x\"=hex:";
  for (int i = 0; i < 23; ++i) first_line += u"ff,";
  first_line += u"\\\r\n  ff,ff,ff\r\n";
  EXPECT_NE(text.find(first_line), std::u16string::npos);
}

TEST(RegFileFormat, StringsThatWouldNotSurviveQuotingAreWrittenAsHex) {
  struct Case {
    std::vector<BYTE> data;
    std::u16string_view expected;
  };
  const Case cases[] = {
      {SzBytes(u"plain"), u"\"v\"=\"plain\"\r\n"},
      {SzBytes(u""), u"\"v\"=\"\"\r\n"},
      {Bytes({}), u"\"v\"=hex(1):\r\n"},
      {Bytes({0x41}), u"\"v\"=hex(1):41\r\n"},                      // odd size
      {Bytes({0x41, 0, 0x42, 0}), u"\"v\"=hex(1):41,00,42,00\r\n"},  // no terminator
      {Bytes({0x41, 0, 0, 0, 0, 0}), u"\"v\"=hex(1):41,00,00,00,00,00\r\n"},  // two zeros
      {Bytes({0x0A, 0, 0, 0}), u"\"v\"=hex(1):0a,00,00,00\r\n"},    // line feed
      {Bytes({0x0D, 0, 0, 0}), u"\"v\"=hex(1):0d,00,00,00\r\n"},    // carriage return
  };
  for (const Case& c : cases) {
    RegistryHive hive;
    hive.Create(kHKLM, {u"K"}, nullptr)->SetValue(u"v", REG_SZ, c.data);
    const std::u16string text = FormatRegText(hive);
    EXPECT_NE(text.find(c.expected), std::u16string::npos)
        << "expected line not found for a value of " << c.data.size() << " bytes";
    // Whatever the form, the bytes come back exactly.
    const std::string file = EncodeRegFile(hive);
    RegistryHive back;
    std::string error;
    ASSERT_TRUE(ParseRegFile(file.data(), file.size(), &back, &error)) << error;
    EXPECT_EQ(back.Find(kHKLM, {u"K"})->FindValue(u"v")->data, c.data);
    EXPECT_EQ(back.Find(kHKLM, {u"K"})->FindValue(u"v")->type, REG_SZ);
  }
}

// What a person or another editor writes: comments, blank lines, indented and
// continued hex lists with spaces and upper case, escapes, keys in any order,
// a short root name, repeated sections, removals.
const char16_t kHandWritten[] =
    u"Windows Registry Editor Version 5.00\r\n"
    u"; exported by hand\r\n"
    u"\r\n"
    u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Meizu\\Theme\\Colors\\App]\r\n"
    u"\"MUTE_ONOFF_TIPS_COLOR\"=dword:ABCDEF\r\n"
    u"   ; an indented comment\r\n"
    u"\"Path\"=\"C:\\\\Program Files\\\\\\\"x\\\"\"   ; trailing comment\r\n"
    u"\r\n"
    u"[HKLM\\SOFTWARE\\Meizu\\Theme\\Colors]\r\n"
    u"  \"SYSCLR_WINDOW_BG\" = dword:00ECECEC\r\n"
    u"\"Bin\"=hex:01,02,\\\r\n"
    u"    0A , 0b,\\\r\n"
    u"\t ff\r\n"
    u"\"Expand\"=hex(2):25,00,41,00,25,00,00,00\r\n"
    u"\"Gone\"=dword:1\r\n"
    u"\"Gone\"=-\r\n"
    u"\r\n"
    u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Meizu\\Theme\\Colors\\App]\r\n"
    u"\"Second\"=dword:00000002\r\n"
    u"[HKEY_CURRENT_USER\\Old\\Child]\r\n"
    u"\"x\"=dword:1\r\n"
    u"[-HKEY_CURRENT_USER\\Old]\r\n"
    u"\"ignored\"=dword:2\r\n"
    u"[HKEY_USERS\\a]b]\r\n"
    u"@=\"default\"\r\n";

void ExpectHandWrittenContent(const RegistryHive& hive) {
  const RegistryKey* app = hive.Find(kHKLM, {u"SOFTWARE", u"Meizu", u"Theme", u"Colors", u"App"});
  ASSERT_NE(app, nullptr);
  ASSERT_NE(app->FindValue(u"MUTE_ONOFF_TIPS_COLOR"), nullptr);
  EXPECT_EQ(app->FindValue(u"MUTE_ONOFF_TIPS_COLOR")->data, Le32(0x00ABCDEF));
  EXPECT_EQ(app->FindValue(u"Path")->data, SzBytes(u"C:\\Program Files\\\"x\""));
  EXPECT_EQ(app->FindValue(u"Second")->data, Le32(2));
  const RegistryKey* colors = hive.Find(kHKLM, {u"SOFTWARE", u"Meizu", u"Theme", u"Colors"});
  ASSERT_NE(colors, nullptr);
  EXPECT_EQ(colors->FindValue(u"SYSCLR_WINDOW_BG")->data, Le32(0x00ECECEC));
  EXPECT_EQ(colors->FindValue(u"Bin")->data, Bytes({1, 2, 0x0A, 0x0B, 0xFF}));
  EXPECT_EQ(colors->FindValue(u"Bin")->type, REG_BINARY);
  EXPECT_EQ(colors->FindValue(u"Expand")->type, REG_EXPAND_SZ);
  EXPECT_EQ(colors->FindValue(u"Gone"), nullptr);
  EXPECT_EQ(hive.Find(kHKCU, {u"Old"}), nullptr);
  const RegistryKey* odd = hive.Find(3, {u"a]b"});
  ASSERT_NE(odd, nullptr);
  EXPECT_EQ(odd->FindValue(u"")->data, SzBytes(u"default"));
  EXPECT_EQ(hive.ValueCount(), 7u);
}

TEST(RegFileParse, ReadsWhatAnEditorOrAPersonWrites) {
  const std::string utf16 = Utf16File(kHandWritten);
  RegistryHive hive;
  std::string error;
  ASSERT_TRUE(ParseRegFile(utf16.data(), utf16.size(), &hive, &error)) << error;
  ExpectHandWrittenContent(hive);

  // The same text as UTF-8 (with and without its mark) and with bare LF lines.
  std::string utf8;
  for (const char16_t* p = kHandWritten; *p != 0; ++p) {
    const char16_t c = *p;
    if (c < 0x80) {
      utf8.push_back(static_cast<char>(c));
    } else {
      utf8.push_back(static_cast<char>(0xE0 | (c >> 12)));
      utf8.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  std::string lf;
  for (char c : utf8) {
    if (c != '\r') lf.push_back(c);
  }
  for (const std::string& variant : {utf8, "\xEF\xBB\xBF" + utf8, lf}) {
    RegistryHive h;
    ASSERT_TRUE(ParseRegFile(variant.data(), variant.size(), &h, &error)) << error;
    ExpectHandWrittenContent(h);
  }
  const std::string old_header = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"v\"=dword:00000001\r\n";
  RegistryHive h4;
  ASSERT_TRUE(ParseRegFile(old_header.data(), old_header.size(), &h4, &error)) << error;
  EXPECT_NE(h4.Find(kHKCU, {u"a"}), nullptr);
}

TEST(RegFileParse, RejectsBrokenTextWithAReasonAndKeepsTheTarget) {
  const std::string head = "Windows Registry Editor Version 5.00\r\n";
  struct Case {
    int line;
    std::string bytes;
  };
  const Case cases[] = {
      {__LINE__, ""},
      {__LINE__, "\r\n"},
      {__LINE__, "Windows Registry Editor Version 4.00\r\n"},
      {__LINE__, "\r\n" + head},
      {__LINE__, head + "\"v\"=dword:1\r\n"},                       // value before any key
      {__LINE__, head + "[HKEY_NOWHERE\\A]\r\n"},
      {__LINE__, head + "[HKEY_LOCAL_MACHINE\\A\\\\B]\r\n"},
      {__LINE__, head + "[HKEY_LOCAL_MACHINE\\A\r\n"},
      {__LINE__, head + "[HKEY_LOCAL_MACHINE\\A] x\r\n"},
      {__LINE__, head + "[-HKEY_LOCAL_MACHINE]\r\n"},
      {__LINE__, head + "[HKLM\\A]\r\nname=dword:1\r\n"},
      {__LINE__, head + "[HKLM\\A]\r\n\"v\"dword:1\r\n"},
      {__LINE__, head + "[HKLM\\A]\r\n\"v\"=word:1\r\n"},
      {__LINE__, head + "[HKLM\\A]\r\n\"v\"=dword:\r\n"},
      {__LINE__, head + "[HKLM\\A]\r\n\"v\"=dword:123456789\r\n"},
      {__LINE__, head + "[HKLM\\A]\r\n\"v\"=dword:12 x\r\n"},
      {__LINE__, head + "[HKLM\\A]\r\n\"v\"=hex:0g\r\n"},
      {__LINE__, head + "[HKLM\\A]\r\n\"v\"=hex:00 01\r\n"},
      {__LINE__, head + "[HKLM\\A]\r\n\"v\"=hex:001\r\n"},
      {__LINE__, head + "[HKLM\\A]\r\n\"v\"=hex(:00\r\n"},
      {__LINE__, head + "[HKLM\\A]\r\n\"v\"=hex(123456789):00\r\n"},
      {__LINE__, head + "[HKLM\\A]\r\n\"v\"=hex;00\r\n"},
      {__LINE__, head + "[HKLM\\A]\r\n\"v\"=hex:00,\\\r\n"},          // continued past the end
      {__LINE__, head + "[HKLM\\A]\r\n\"v\"=hex:00,\\\r\n\r\n"},      // empty continuation
      {__LINE__, head + "[HKLM\\A]\r\n\"v\"=hex:00\\\r\n  01\r\n"},   // no comma before '\'
      {__LINE__, head + "[HKLM\\A]\r\n\"v\"=\"open\r\n"},
      {__LINE__, head + "[HKLM\\A]\r\n\"v\"=\"a\\nb\"\r\n"},          // unknown escape
      {__LINE__, head + "[HKLM\\A]\r\n\"v\"=\"a\" b\r\n"},
      {__LINE__, head + "[HKLM\\A]\r\n\"v=\"a\"\r\n"},
      {__LINE__, head + "[HKLM\\A]\r\n\"v\"=dword:1"},               // no final line break
      {__LINE__, head + "[HKLM\\A]\r\n\"v\"=\"a\rb\"\r\n"},           // stray carriage return
      {__LINE__, head + "[HKLM\\A]\r\n\"v\"=\"a" + std::string(1, '\0') + "\"\r\n"},
      {__LINE__, head + "[HKLM\\A]\r\n\"v\"=\"\xC3\x28\"\r\n"},       // broken UTF-8
      {__LINE__, head + "[HKLM\\A]\r\n\"v\"=\"\xE0\x80\x80\"\r\n"},   // overlong UTF-8
      {__LINE__, head + "[HKLM\\A]\r\n\"v\"=\"\xED\xA0\x80\"\r\n"},   // UTF-8 surrogate
      {__LINE__, head + "[HKLM\\A]\r\n\"v\"=\"\xE4\xBD\"\r\n"},       // cut UTF-8
      {__LINE__, head + "[HKLM\\" + std::string(256, 'k') + "]\r\n"},
      {__LINE__, Utf16File(u"Windows Registry Editor Version 5.00\r\n") + "X"},  // half a unit
      {__LINE__, "\xFE\xFF" + std::string("\0W", 2)},                           // big-endian
      {__LINE__, std::string("\x00\x01\x02\x03", 4)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    RegistryHive hive;
    hive.Create(kHKLM, {u"Keep"}, nullptr)->SetValue(u"k", REG_DWORD, Le32(7));
    const RegistryHive before = hive;
    std::string error;
    EXPECT_FALSE(ParseRegFile(c.bytes.data(), c.bytes.size(), &hive, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(hive == before) << "a rejected file changed the content";
  }
  // Saved as UTF-16 without its mark: the message names that, not a symptom.
  const std::string unmarked = Utf16File(u"Windows Registry Editor Version 5.00\r\n", false);
  RegistryHive hive;
  std::string error;
  EXPECT_FALSE(ParseRegFile(unmarked.data(), unmarked.size(), &hive, &error));
  EXPECT_NE(error.find("without a byte-order mark"), std::string::npos) << error;
}

TEST(RegFileParse, EveryCutInsideALineIsRejected) {
  RegistryHive hive;
  RegistryKey* key = hive.Create(kHKLM, {u"SOFTWARE", u"Meizu", u"Theme", u"Colors"}, nullptr);
  key->SetValue(u"SYSCLR_WINDOW_BG", REG_DWORD, Le32(0x00ECECEC));
  key->SetValue(u"Blob", REG_BINARY, std::vector<BYTE>(40, 0x5A));
  key->SetValue(u"Text", REG_SZ, SzBytes(u"字符串"));
  const std::string file = EncodeRegFile(hive);
  int boundaries = 0;
  for (std::size_t cut = 0; cut < file.size(); ++cut) {
    const bool after_line_feed = cut >= 4 && file[cut - 2] == '\n' && file[cut - 1] == '\0';
    RegistryHive out;
    std::string error;
    const bool ok = ParseRegFile(file.data(), cut, &out, &error);
    if (after_line_feed) {
      ++boundaries;
      continue;  // a whole-line prefix is a shorter but sound file
    }
    EXPECT_FALSE(ok) << "cut at byte " << cut << " of " << file.size() << " was accepted";
  }
  EXPECT_GT(boundaries, 10);
}

TEST(RegFileParse, RandomGarbageIsRejected) {
  std::mt19937 rng(12345);
  const std::string head = "Windows Registry Editor Version 5.00\r\n[HKLM\\A]\r\n";
  int rejected = 0;
  for (int i = 0; i < 500; ++i) {
    std::string bytes(static_cast<std::size_t>(rng() % 200 + 1), '\0');
    for (char& c : bytes) c = static_cast<char>(rng());
    RegistryHive hive;
    std::string error;
    EXPECT_FALSE(ParseRegFile(bytes.data(), bytes.size(), &hive, &error));
    // Behind a sound header, binary noise still has to be rejected.
    bytes = head + bytes + "\r\n";
    if (!ParseRegFile(bytes.data(), bytes.size(), &hive, &error)) ++rejected;
  }
  EXPECT_GE(rejected, 495);
}

// Random content with awkward names survives writing and reading unchanged.
TEST(RegFileFormat, RandomContentSurvivesTheRoundTrip) {
  std::mt19937 rng(777);
  const std::u16string alphabet = u"aZ09 _-.[]@\"\\;=,{}\t字符éÉ\U0001F600";
  auto random_name = [&](bool key_name) {
    std::u16string name;
    const std::size_t n = rng() % 12 + (key_name ? 1 : 0);
    for (std::size_t i = 0; i < n; ++i) {
      char16_t c = alphabet[rng() % alphabet.size()];
      if (key_name && c == u'\\') c = u'/';
      name.push_back(c);
    }
    return name;
  };
  for (int round = 0; round < 200; ++round) {
    RegistryHive hive;
    const int keys = static_cast<int>(rng() % 6);
    for (int k = 0; k < keys; ++k) {
      RegistryPath path;
      const int depth = static_cast<int>(rng() % 4);
      for (int d = 0; d < depth; ++d) path.push_back(random_name(true));
      RegistryKey* key = hive.Create(static_cast<int>(rng() % 4), path, nullptr);
      const int values = static_cast<int>(rng() % 5);
      for (int v = 0; v < values; ++v) {
        std::vector<BYTE> data(rng() % 90);
        for (BYTE& b : data) b = static_cast<BYTE>(rng() % 4 == 0 ? 0 : rng());
        const DWORD types[] = {REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ,
                               REG_QWORD, 0x12345678u};
        DWORD type = types[rng() % 8];
        if (type == REG_DWORD && rng() % 2 == 0) data.resize(4);
        if (type == REG_SZ && rng() % 2 == 0) data = SzBytes(random_name(false));
        key->SetValue(random_name(false), type, data);
      }
    }
    const std::string file = EncodeRegFile(hive);
    RegistryHive back;
    std::string error;
    ASSERT_TRUE(ParseRegFile(file.data(), file.size(), &back, &error)) << "round " << round << ": " << error;
    EXPECT_EQ(EncodeRegFile(back), file) << "round " << round;
    EXPECT_EQ(back.ValueCount(), hive.ValueCount()) << "round " << round;
  }
}

}  // namespace

namespace {

// An old "REGEDIT4" export keeps expandable and multi-strings as 8-bit text in
// its hex lists; a version 5 file keeps them as UTF-16. Both read back to the
// same UTF-16 values.
TEST(RegFileParse, OldFormatTextListsBecomeUtf16) {
  struct Case {
    int line;
    const char* header;
    const char* data;             // the value's data as the file writes it
    DWORD type;
    std::vector<BYTE> expected;   // the bytes the registry then holds
  };
  const Case cases[] = {
      {__LINE__, "REGEDIT4", "hex(2):25,48,4f,4d,45,25,00", REG_EXPAND_SZ, SzBytes(u"%HOME%")},
      {__LINE__, "REGEDIT4", "hex(7):61,00,62,63,00,00", REG_MULTI_SZ,
       Bytes({0x61, 0, 0, 0, 0x62, 0, 0x63, 0, 0, 0, 0, 0})},
      {__LINE__, "REGEDIT4", "hex(2):e2,82,ac,00", REG_EXPAND_SZ, SzBytes(u"\u20AC")},
      {__LINE__, "REGEDIT4", "hex(2):", REG_EXPAND_SZ, {}},
      {__LINE__, "REGEDIT4", "hex:25,00", REG_BINARY, Bytes({0x25, 0})},
      {__LINE__, "REGEDIT4", "hex(1):41,00", REG_SZ, Bytes({0x41, 0})},
      {__LINE__, "Windows Registry Editor Version 5.00", "hex(2):25,00,00,00", REG_EXPAND_SZ,
       Bytes({0x25, 0, 0, 0})},
      {__LINE__, "Windows Registry Editor Version 5.00", "hex(7):61,00,00,00,00,00", REG_MULTI_SZ,
       Bytes({0x61, 0, 0, 0, 0, 0})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const std::string file =
        std::string(c.header) + "\r\n\r\n[HKEY_CURRENT_USER\\Env]\r\n\"v\"=" + c.data + "\r\n\r\n";
    RegistryHive hive;
    std::string error;
    ASSERT_TRUE(ParseRegFile(file.data(), file.size(), &hive, &error)) << error;
    const RegistryValue* v = hive.Find(kHKCU, {u"Env"})->FindValue(u"v");
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->type, c.type);
    EXPECT_EQ(v->data, c.expected);
  }
  // 8-bit text that is not UTF-8 cannot be read as this file's text either.
  const std::string bad = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Env]\r\n\"v\"=hex(2):c3,28,00\r\n";
  RegistryHive hive;
  std::string error;
  EXPECT_FALSE(ParseRegFile(bad.data(), bad.size(), &hive, &error));
  EXPECT_NE(error.find("line 4"), std::string::npos) << error;
}

}  // namespace

namespace {

std::string FileWithKeyAtDepth(std::size_t depth) {
  std::string file = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE";
  for (std::size_t i = 0; i < depth; ++i) file += "\\k";
  return file + "]\r\n\"v\"=dword:00000001\r\n\r\n";
}

// Keys nest at most 512 levels, as on the phone; a deeper file is refused
// rather than built into a tree too deep to walk.
TEST(RegFileParse, KeysNestAtMost512Levels) {
  RegistryHive hive;
  std::string error;
  const std::string deepest = FileWithKeyAtDepth(RegistryHive::kMaxDepth);
  ASSERT_TRUE(ParseRegFile(deepest.data(), deepest.size(), &hive, &error)) << error;
  EXPECT_EQ(hive.ValueCount(), 1u);
  // Written out and read back unchanged.
  const std::string again = EncodeRegFile(hive);
  RegistryHive back;
  ASSERT_TRUE(ParseRegFile(again.data(), again.size(), &back, &error)) << error;
  EXPECT_TRUE(back == hive);

  for (const std::size_t depth : {RegistryHive::kMaxDepth + 1, std::size_t{1000000}}) {
    SCOPED_TRACE(depth);
    const std::string file = FileWithKeyAtDepth(depth);
    RegistryHive refused;
    error.clear();
    EXPECT_FALSE(ParseRegFile(file.data(), file.size(), &refused, &error));
    EXPECT_NE(error.find("line 3"), std::string::npos) << error;
    EXPECT_EQ(refused.ValueCount(), 0u);
  }
}

// A value's name as long as the registry takes (16383 characters, as the
// phone's registry) is read; one longer is refused before it is copied.
TEST(RegFileParse, ValueNamesStopAtTheRegistrysLongest) {
  const auto file = [](std::size_t length) {
    return "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Long]\r\n\"" + std::string(length, 'n') + "\"=dword:00000001\r\n";
  };
  RegistryHive hive;
  std::string error;
  const std::string longest = file(16383);
  ASSERT_TRUE(ParseRegFile(longest.data(), longest.size(), &hive, &error)) << error;
  EXPECT_EQ(hive.ValueCount(), 1u);
  for (const std::size_t length : {std::size_t{16384}, std::size_t{8300000}}) {
    const std::string refused = file(length);
    RegistryHive none;
    error.clear();
    EXPECT_FALSE(ParseRegFile(refused.data(), refused.size(), &none, &error));
    EXPECT_EQ(error, "line 4: value name longer than 16383 characters");
  }
}

}  // namespace

namespace {

std::u16string Numbered(const char* prefix, int i) {
  const std::string s = prefix + std::to_string(i);
  return std::u16string(s.begin(), s.end());
}

// A key with many values and subkeys: each name is found in any case, holds
// its own data, and stays found after others are removed and added again.
TEST(RegFileParse, ManyNamesInOneKeyStayFoundThroughRemovals) {
  constexpr int kCount = 300;
  std::string file = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Wide]\r\n";
  for (int i = 0; i < kCount; ++i) {
    file += "\"Value" + std::to_string(i) + "\"=dword:" + std::to_string(10000000 + i) + "\r\n";
  }
  for (int i = 0; i < kCount; ++i) file += "[HKEY_LOCAL_MACHINE\\Wide\\Key" + std::to_string(i) + "]\r\n";
  // Remove every third value and key, then put some back in another case.
  file += "[HKEY_LOCAL_MACHINE\\Wide]\r\n";
  for (int i = 0; i < kCount; i += 3) file += "\"VALUE" + std::to_string(i) + "\"=-\r\n";
  for (int i = 0; i < kCount; i += 3) file += "[-HKEY_LOCAL_MACHINE\\Wide\\KEY" + std::to_string(i) + "]\r\n";
  file += "[HKEY_LOCAL_MACHINE\\Wide]\r\n";
  for (int i = 0; i < kCount; i += 6) file += "\"value" + std::to_string(i) + "\"=dword:00000001\r\n";
  for (int i = 0; i < kCount; i += 6) file += "[HKEY_LOCAL_MACHINE\\Wide\\key" + std::to_string(i) + "]\r\n";
  file += "\r\n";

  RegistryHive hive;
  std::string error;
  ASSERT_TRUE(ParseRegFile(file.data(), file.size(), &hive, &error)) << error;
  RegistryKey* wide = hive.Find(kHKLM, {u"WIDE"});
  ASSERT_NE(wide, nullptr);
  auto check = [&](int line) {
    SCOPED_TRACE(line);
    int values = 0;
    int keys = 0;
    for (int i = 0; i < kCount; ++i) {
      const bool removed = i % 3 == 0;
      const bool back = i % 6 == 0;
      const RegistryValue* v = wide->FindValue(Numbered("vAlUe", i));
      const RegistryKey* k = wide->FindSubkey(Numbered("kEy", i));
      if (removed && !back) {
        EXPECT_EQ(v, nullptr) << i;
        EXPECT_EQ(k, nullptr) << i;
        continue;
      }
      ASSERT_NE(v, nullptr) << i;
      ASSERT_NE(k, nullptr) << i;
      EXPECT_TRUE(RegistryNamesEqual(v->name, Numbered("value", i))) << i;
      EXPECT_TRUE(RegistryNamesEqual(k->name, Numbered("key", i))) << i;
      EXPECT_EQ(v->data, back ? Le32(1) : Le32(0x10000000u + static_cast<DWORD>(
                                                          std::stoul(std::to_string(i), nullptr, 16)))) << i;
      ++values;
      ++keys;
    }
    EXPECT_EQ(values, static_cast<int>(wide->values.size()));
    EXPECT_EQ(keys, static_cast<int>(wide->subkeys.size()));
  };
  check(__LINE__);
  // The same through direct changes, on a copy and on the original.
  RegistryHive copy = hive;
  wide = copy.Find(kHKLM, {u"Wide"});
  ASSERT_TRUE(wide->DeleteValue(u"VALUE1"));
  ASSERT_TRUE(wide->DeleteSubkey(u"KEY1"));
  EXPECT_TRUE(wide->SetValue(u"Value1", REG_DWORD, Le32(0x10000001)));
  bool created = false;
  ASSERT_NE(wide->FindOrAddSubkey(u"Key1", &created), nullptr);
  EXPECT_TRUE(created);
  check(__LINE__);
  wide = hive.Find(kHKLM, {u"Wide"});
  check(__LINE__);
}

}  // namespace

namespace {

// A file may make keys and values of two and a half times its size and
// 16 MiB more in memory: for 8 MiB of file, 36 MiB. Past that it is refused
// at the line that goes past it, whatever it is made of; short of it, every
// key and value is read.
TEST(RegFileParse, WhatAFileMakesInMemoryIsBoundedByItsSize) {
  constexpr std::size_t kSize = 8u << 20;
  const std::string nested = hostile::NestedKeysRegistry(kSize);
  ASSERT_EQ(nested.size(), kSize);
  RegistryHive hive;
  hive.Create(kHKLM, {u"kept"}, nullptr);
  std::string error;
  EXPECT_FALSE(ParseRegFile(nested.data(), nested.size(), &hive, &error));
  const std::string reason = ": more keys and values than a file of its size may hold: they would take "
                             "more than 36 MiB of memory";
  ASSERT_TRUE(error.starts_with("line ") && error.ends_with(reason)) << error;
  // Each line (after the header's two) makes 512 keys of 100 to 300 bytes
  // each: the 36 MiB are reached after 245 to 737 of them.
  const int line = std::stoi(error.substr(5));
  EXPECT_GE(line, 2 + 245) << error;
  EXPECT_LE(line, 2 + 737) << error;
  EXPECT_NE(hive.Find(kHKLM, {u"kept"}), nullptr) << "a refused file changed the hive it was read into";

  const std::string many = hostile::ManyKeysRegistry(kSize, 50000);
  RegistryHive keys;
  ASSERT_TRUE(ParseRegFile(many.data(), many.size(), &keys, &error)) << error;
  EXPECT_EQ(keys.Root(kHKLM).subkeys.size(), 50000u);
  EXPECT_NE(keys.Find(kHKLM, {u"k0"}), nullptr);
  EXPECT_NE(keys.Find(kHKLM, {u"kC34F"}), nullptr);  // 49999

  for (const bool utf16 : {false, true}) {
    const std::string blank = hostile::BlankLinesRegistry(kSize, utf16);
    RegistryHive h;
    ASSERT_TRUE(ParseRegFile(blank.data(), blank.size(), &h, &error)) << error;
    ASSERT_NE(h.Find(kHKLM, {u"K"}), nullptr);
    EXPECT_EQ(h.Find(kHKLM, {u"K"})->FindValue(u"v")->Dword(), 0x2Au) << (utf16 ? "UTF-16" : "UTF-8");
  }

  const std::string text = hostile::LongStringRegistry(kSize, 3u << 20);
  RegistryHive h;
  ASSERT_TRUE(ParseRegFile(text.data(), text.size(), &h, &error)) << error;
  std::vector<BYTE> expected;
  for (std::size_t i = 0; i < 3u << 20; ++i) expected.insert(expected.end(), {'x', 0});
  expected.insert(expected.end(), {0, 0});
  EXPECT_TRUE(h.Find(kHKLM, {u"K"})->FindValue(u"s")->data == expected);
}

// A file in UTF-8 holds what the same text in UTF-16 holds: names and
// strings of two, three and four bytes a character (a pair of UTF-16 units),
// the UTF-8 made from the UTF-16 file by GLib.
TEST(RegFileParse, Utf8TextReadsAsTheSameTextInUtf16) {
  RegistryHive hive;
  RegistryKey* key = hive.Create(kHKCU, {u"Café", u"字符😀"}, nullptr);
  key->SetValue(u"é\"😀", REG_SZ, SzBytes(u"a\\字😀\"é"));
  key->SetValue(u"😀", REG_DWORD, {1, 2, 3, 4});
  key->SetValue(u"", REG_SZ, SzBytes(u"😀😀"));
  const std::string utf16 = EncodeRegFile(hive);
  ASSERT_EQ(utf16.substr(0, 2), "\xFF\xFE");
  glong written = 0;
  gchar* utf8 = g_utf16_to_utf8(reinterpret_cast<const gunichar2*>(utf16.data() + 2),
                                static_cast<glong>((utf16.size() - 2) / 2), nullptr, &written, nullptr);
  ASSERT_NE(utf8, nullptr);
  const std::string text(utf8, static_cast<std::size_t>(written));
  g_free(utf8);
  RegistryHive back;
  std::string error;
  ASSERT_TRUE(ParseRegFile(text.data(), text.size(), &back, &error)) << error;
  EXPECT_TRUE(back == hive);
  EXPECT_EQ(EncodeRegFile(back), utf16);
}

}  // namespace
