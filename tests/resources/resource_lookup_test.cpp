// Finding embedded resources by module, type, integer name and language.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/win/resources.h"

namespace {

constexpr BYTE kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// The ids that carry a picture in the program: the 65 swatch faces, the
// pressed overlay and the banner.
std::vector<int> ProgramPictureIds() {
  std::vector<int> ids;
  for (int id = 102; id <= 170; ++id) {
    if (id != 122 && id != 166) ids.push_back(id);
  }
  return ids;
}

struct Found {
  const BYTE* data = nullptr;
  DWORD size = 0;
};

// The resource's bytes, or nulls when any step of the lookup fails.
Found Lookup(HMODULE module, UINT_PTR type, UINT_PTR name, WORD language) {
  HRSRC info = FindResourceExW(module, MAKEINTRESOURCEW(type), MAKEINTRESOURCEW(name), language);
  if (info == nullptr) return {};
  HGLOBAL handle = LoadResource(module, info);
  if (handle == nullptr) return {};
  return {static_cast<const BYTE*>(LockResource(handle)), SizeofResource(module, info)};
}

void ExpectPng(const Found& found, int line, int id) {
  SCOPED_TRACE(testing::Message() << "resource " << id << ", checked at line " << line);
  ASSERT_NE(found.data, nullptr);
  ASSERT_GT(found.size, sizeof kPngSignature + 12);
  EXPECT_EQ(0, std::memcmp(found.data, kPngSignature, sizeof kPngSignature));
  // The last chunk is IEND, so the size covers the whole file and no more.
  EXPECT_EQ(0, std::memcmp(found.data + found.size - 8, "IEND", 4));
}

TEST(ResourceLookup, EveryProgramPictureIsAWholePngUnderRcdataAndChinese) {
  const std::vector<int> ids = ProgramPictureIds();
  ASSERT_EQ(ids.size(), 67u);
  std::vector<const BYTE*> seen;
  for (int id : ids) {
    const Found found = Lookup(ProgramModuleHandle(), RT_RCDATA_ID, id, LANG_ZH_CN);
    ExpectPng(found, __LINE__, id);
    for (const BYTE* other : seen) EXPECT_NE(other, found.data) << "resource " << id;
    seen.push_back(found.data);
  }
}

TEST(ResourceLookup, TheRcdataMacroAndANullModuleMeanTheProgram) {
  HRSRC by_macro = FindResourceExW(ProgramModuleHandle(), RT_RCDATA, MAKEINTRESOURCEW(170), LANG_ZH_CN);
  HRSRC by_null = FindResourceExW(nullptr, RT_RCDATA, MAKEINTRESOURCEW(170), LANG_ZH_CN);
  ASSERT_NE(by_macro, nullptr);
  EXPECT_EQ(by_macro, by_null);
  EXPECT_EQ(SizeofResource(nullptr, by_null), SizeofResource(ProgramModuleHandle(), by_macro));
}

TEST(ResourceLookup, MissingNamesTypesLanguagesAndModulesFindNothing) {
  struct Case {
    const char* what;
    HMODULE module;
    UINT_PTR type;
    UINT_PTR name;
    WORD language;
  };
  HMODULE program = ProgramModuleHandle();
  int unrelated = 0;
  HMODULE stranger = reinterpret_cast<HMODULE>(&unrelated);
  const Case cases[] = {
      {"id 122 has no picture", program, 10, 122, LANG_ZH_CN},
      {"id 166 has no picture", program, 10, 166, LANG_ZH_CN},
      {"below the first face", program, 10, 101, LANG_ZH_CN},
      {"above the banner", program, 10, 171, LANG_ZH_CN},
      {"the platform's picture is not the program's", program, 10, 188, LANG_ZH_CN},
      {"type 3 (icon)", program, 3, 102, LANG_ZH_CN},
      {"type 2 (bitmap)", program, 2, 170, LANG_ZH_CN},
      {"language 1033", program, 10, 102, 1033},
      {"language neutral", program, 10, 170, 0},
      {"an unknown module", stranger, 10, 102, LANG_ZH_CN},
      {"the program's picture in the platform module", PlatformResourceModuleHandle(), 10, 170,
       LANG_ZH_CN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(FindResourceExW(c.module, MAKEINTRESOURCEW(c.type), MAKEINTRESOURCEW(c.name),
                              c.language),
              nullptr);
  }
}

TEST(ResourceLookup, StringNamesAndTypesAndNullsFindNothing) {
  HMODULE program = ProgramModuleHandle();
  EXPECT_EQ(FindResourceExW(program, RT_RCDATA, u"BANNER", LANG_ZH_CN), nullptr);
  EXPECT_EQ(FindResourceExW(program, u"PNG", MAKEINTRESOURCEW(170), LANG_ZH_CN), nullptr);
  EXPECT_EQ(FindResourceExW(program, nullptr, MAKEINTRESOURCEW(170), LANG_ZH_CN), nullptr);
  EXPECT_EQ(FindResourceExW(program, RT_RCDATA, nullptr, LANG_ZH_CN), nullptr);
}

TEST(ResourceLookup, HandlesFromAnotherModuleOrNowhereAreRefused) {
  HMODULE program = ProgramModuleHandle();
  HMODULE platform = PlatformResourceModuleHandle();
  EXPECT_NE(program, platform);
  HRSRC banner = FindResourceExW(program, RT_RCDATA, MAKEINTRESOURCEW(170), LANG_ZH_CN);
  ASSERT_NE(banner, nullptr);
  // A resource handle only means something to the module that gave it out.
  EXPECT_EQ(LoadResource(platform, banner), nullptr);
  EXPECT_EQ(SizeofResource(platform, banner), 0u);
  EXPECT_EQ(LoadResource(program, nullptr), nullptr);
  EXPECT_EQ(SizeofResource(program, nullptr), 0u);
  int not_a_resource = 0;
  HRSRC wild = reinterpret_cast<HRSRC>(&not_a_resource);
  EXPECT_EQ(LoadResource(program, wild), nullptr);
  EXPECT_EQ(SizeofResource(program, wild), 0u);
  EXPECT_EQ(LockResource(nullptr), nullptr);
}

TEST(ResourceLookup, ThePlatformModuleCarriesTheMenuTitlePicture) {
  const Found title = Lookup(PlatformResourceModuleHandle(), RT_RCDATA_ID, 188, LANG_ZH_CN);
  ExpectPng(title, __LINE__, 188);
  EXPECT_EQ(Lookup(PlatformResourceModuleHandle(), RT_RCDATA_ID, 188, 1033).data, nullptr);
  EXPECT_EQ(Lookup(PlatformResourceModuleHandle(), RT_RCDATA_ID, 102, LANG_ZH_CN).data, nullptr);
}

TEST(ResourceLookup, ALaterTableAddsAndReplacesEntries) {
  // Uses a type the embedded tables never carry, so the real pictures stay as they are.
  constexpr WORD kType = 999;
  static const BYTE first[] = {1, 2, 3};
  static const BYTE second[] = {4, 5};
  static const BYTE other[] = {6};
  const ResourceEntry a[] = {{kType, 1, LANG_ZH_CN, first, sizeof first}};
  const ResourceEntry b[] = {{kType, 1, LANG_ZH_CN, second, sizeof second},
                             {kType, 2, LANG_ZH_CN, other, sizeof other}};
  RegisterResourceTable(ResourceModuleId::Platform, a, 1);
  Found f = Lookup(PlatformResourceModuleHandle(), kType, 1, LANG_ZH_CN);
  EXPECT_EQ(f.data, first);
  EXPECT_EQ(f.size, 3u);
  RegisterResourceTable(ResourceModuleId::Platform, b, 2);
  f = Lookup(PlatformResourceModuleHandle(), kType, 1, LANG_ZH_CN);
  EXPECT_EQ(f.data, second);
  EXPECT_EQ(f.size, 2u);
  EXPECT_EQ(Lookup(PlatformResourceModuleHandle(), kType, 2, LANG_ZH_CN).data, other);
  EXPECT_EQ(Lookup(ProgramModuleHandle(), kType, 1, LANG_ZH_CN).data, nullptr);
  // The embedded picture is untouched.
  ExpectPng(Lookup(PlatformResourceModuleHandle(), RT_RCDATA_ID, 188, LANG_ZH_CN), __LINE__, 188);
  RegisterResourceTable(ResourceModuleId::Platform, nullptr, 5);  // ignored, no crash
}

}  // namespace
