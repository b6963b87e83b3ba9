// Every embedded picture is a PNG of the one fixed layout: 8-bit RGBA, chunks
// IHDR, pHYs, (iCCP,) cHRM, a single IDAT, IEND; only the overlay interlaced.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/resources/png_inspector.h"

namespace {

struct Expected {
  int id;
  bool platform;
  int width;
  int height;
  bool interlaced;
};

std::vector<Expected> AllPictures() {
  std::vector<Expected> all;
  for (int id = 102; id <= 169; ++id) {
    if (id == 122 || id == 165 || id == 166) continue;
    all.push_back({id, false, 80, 80, false});
  }
  all.push_back({165, false, 90, 90, true});
  all.push_back({170, false, 480, 150, false});
  all.push_back({188, true, 40, 40, false});
  return all;
}

std::uint32_t Word(const std::vector<std::uint8_t>& p, std::size_t at) {
  return (std::uint32_t{p[at]} << 24) | (std::uint32_t{p[at + 1]} << 16) |
         (std::uint32_t{p[at + 2]} << 8) | p[at + 3];
}

void CheckLayout(const Expected& e) {
  SCOPED_TRACE(testing::Message() << "picture " << e.id);
  const std::vector<std::uint8_t> bytes = e.platform ? PlatformResource(e.id) : ProgramResource(e.id);
  ASSERT_FALSE(bytes.empty());

  const std::vector<PngChunk> chunks = ListPngChunks(bytes.data(), bytes.size());
  std::vector<std::string> order;
  std::size_t total = 8;
  for (const PngChunk& c : chunks) {
    if (c.type != "iCCP") order.push_back(c.type);
    EXPECT_TRUE(c.crc_ok) << c.type;
    total += 12 + c.payload.size();
  }
  EXPECT_EQ(order, (std::vector<std::string>{"IHDR", "pHYs", "cHRM", "IDAT", "IEND"}));
  EXPECT_EQ(total, bytes.size()) << "bytes after IEND or a cut chunk";
  // An embedded colour profile, if any, sits between pHYs and cHRM.
  for (std::size_t i = 0; i < chunks.size(); ++i) {
    if (chunks[i].type == "iCCP") {
      EXPECT_TRUE(i == 2 && chunks[1].type == "pHYs" && chunks[3].type == "cHRM");
    }
  }
  ASSERT_GE(chunks.size(), 5u);

  const std::vector<std::uint8_t>& ihdr = chunks[0].payload;
  ASSERT_EQ(ihdr.size(), 13u);
  EXPECT_EQ(Word(ihdr, 0), static_cast<std::uint32_t>(e.width));
  EXPECT_EQ(Word(ihdr, 4), static_cast<std::uint32_t>(e.height));
  EXPECT_EQ(ihdr[8], 8) << "bit depth";
  EXPECT_EQ(ihdr[9], 6) << "colour type RGBA";
  EXPECT_EQ(ihdr[12], e.interlaced ? 1 : 0) << "interlace";

  const std::vector<std::uint8_t>& phys = chunks[1].payload;
  ASSERT_EQ(phys.size(), 9u);
  EXPECT_EQ(Word(phys, 0), 2835u);
  EXPECT_EQ(Word(phys, 4), 2835u);
  EXPECT_EQ(phys[8], 1) << "unit: metre";

  for (const PngChunk& c : chunks) {
    if (c.type != "cHRM") continue;
    ASSERT_EQ(c.payload.size(), 32u);
    const std::uint32_t srgb[8] = {31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(Word(c.payload, 4 * i), srgb[i]) << "cHRM value " << i;
  }

  const DecodedPng png = DecodePng(bytes.data(), bytes.size());
  ASSERT_TRUE(png.ok) << png.error;
  EXPECT_EQ(png.width, e.width);
  EXPECT_EQ(png.height, e.height);
}

TEST(PictureLayout, EveryPictureHasTheFixedPngLayout) {
  const std::vector<Expected> all = AllPictures();
  ASSERT_EQ(all.size(), 68u);  // 67 of the program's and the platform's one
  for (const Expected& e : all) CheckLayout(e);
}

TEST(PictureLayout, TheInspectorRejectsBrokenFiles) {
  // The checks above are only worth something if damage shows up in them.
  std::vector<std::uint8_t> bytes = ProgramResource(104);
  ASSERT_FALSE(bytes.empty());
  std::vector<std::uint8_t> bad_crc = bytes;
  bad_crc[20] ^= 0x01;  // inside IHDR's payload
  const std::vector<PngChunk> chunks = ListPngChunks(bad_crc.data(), bad_crc.size());
  ASSERT_FALSE(chunks.empty());
  EXPECT_FALSE(chunks[0].crc_ok);
  EXPECT_FALSE(DecodePng(bad_crc.data(), bad_crc.size()).ok);

  std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + bytes.size() / 2);
  EXPECT_FALSE(DecodePng(cut.data(), cut.size()).ok);
  EXPECT_NE(ListPngChunks(cut.data(), cut.size()).back().type, "IEND");

  std::vector<std::uint8_t> no_signature = bytes;
  no_signature[1] = 'X';
  EXPECT_TRUE(ListPngChunks(no_signature.data(), no_signature.size()).empty());
  EXPECT_FALSE(DecodePng(no_signature.data(), no_signature.size()).ok);
}

}  // namespace
