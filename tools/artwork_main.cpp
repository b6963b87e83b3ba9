// tintor_artwork: draws every picture the program and the platform embed,
// and the tables that name them.
//
//   tintor_artwork PROGRAM_DIR PLATFORM_DIR
//
// writes PROGRAM_DIR/{swatch_NNN,pressed_165,banner_170}.png and
// PROGRAM_DIR/resources.txt, PLATFORM_DIR/palette_188.png and
// PLATFORM_DIR/resources.txt. Same input, same bytes, on every run.
//
//   tintor_artwork --icons DIR
//
// writes the desktop icon in the icon theme layout under DIR:
// hicolor/NxN/apps/tintor.png for each size and hicolor/scalable/apps/tintor.svg.
#include <cairo.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tools/app_icon_art.h"
#include "tools/banner_art.h"
#include "tools/palette_icon_art.h"
#include "tools/png_file_writer.h"
#include "tools/pressed_overlay_art.h"
#include "tools/swatch_face_art.h"

namespace {

struct Output {
  int id;
  std::string file;
};

bool Write(const std::string& dir, const Output& out, const RgbaImage& image,
           PngInterlace interlace, std::vector<Output>* table) {
  std::string error;
  if (!WritePngFile(dir + "/" + out.file, image, interlace, &error)) {
    std::fprintf(stderr, "tintor_artwork: %s\n", error.c_str());
    return false;
  }
  table->push_back(out);
  return true;
}

bool WriteTable(const std::string& dir, const std::string& what, const std::vector<Output>& table) {
  const std::string path = dir + "/resources.txt";
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << "# " << what << "\n"
       << "# Each line: resource id, PNG file beside this table. Type RCDATA (10),\n"
       << "# language 2052. Written by tools/tintor_artwork; do not edit by hand.\n";
  for (const Output& o : table) file << o.id << ' ' << o.file << '\n';
  file.close();
  if (!file) {
    std::fprintf(stderr, "tintor_artwork: %s: write failed\n", path.c_str());
    return false;
  }
  return true;
}

bool DrawProgramArt(const std::string& dir) {
  std::vector<Output> table;
  bool ok = true;
  for (const SwatchFace& face : SwatchFaces()) {
    ok = ok && Write(dir, {face.id, "swatch_" + std::to_string(face.id) + ".png"},
                     DrawSwatchFace(face), PngInterlace::None, &table);
  }
  ok = ok && Write(dir, {165, "pressed_165.png"}, DrawPressedOverlay(), PngInterlace::Adam7, &table);
  ok = ok && Write(dir, {170, "banner_170.png"}, DrawBanner(), PngInterlace::None, &table);
  return ok && WriteTable(dir, "The program's embedded pictures: swatch faces, pressed overlay, banner.",
                          table);
}

bool DrawPlatformArt(const std::string& dir) {
  std::vector<Output> table;
  return Write(dir, {188, "palette_188.png"}, DrawPaletteIcon(), PngInterlace::None, &table) &&
         WriteTable(dir, "The platform's shared pictures: the popup menu's title icon.", table);
}

// Makes `dir` and its parents; false, with a message, when that fails.
bool MakeFolder(const std::filesystem::path& dir) {
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) {
    std::fprintf(stderr, "tintor_artwork: %s: %s\n", dir.c_str(), error.message().c_str());
    return false;
  }
  return true;
}

bool DrawIcons(const std::filesystem::path& dir) {
  const std::filesystem::path theme = dir / "hicolor";
  std::string error;
  bool ok = true;
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
    const std::string square = std::to_string(size) + "x" + std::to_string(size);
    const std::filesystem::path folder = theme / square / "apps";
    ok = ok && MakeFolder(folder) &&
         WritePngFile(folder / "tintor.png", DrawAppIcon(size), PngInterlace::None, &error);
  }
  const std::filesystem::path scalable = theme / "scalable" / "apps";
  ok = ok && MakeFolder(scalable) && WriteAppIconSvg(scalable / "tintor.svg", &error);
  if (!error.empty()) std::fprintf(stderr, "tintor_artwork: %s\n", error.c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  const bool icons = argc == 3 && std::string(argv[1]) == "--icons";
  if (argc != 3) {
    std::fprintf(stderr,
                 "usage: tintor_artwork PROGRAM_DIR PLATFORM_DIR\n"
                 "       tintor_artwork --icons DIR\n");
    return 2;
  }
  const bool ok = icons ? DrawIcons(argv[2]) : DrawProgramArt(argv[1]) && DrawPlatformArt(argv[2]);
  cairo_debug_reset_static_data();
  return ok ? 0 : 1;
}
