#include "studio/shelf/import_sheet.h"

#include <algorithm>
#include <cctype>

#include "platform/file/folder.h"
#include "platform/file/user_folders.h"
#include "platform/file/utf16.h"
#include "platform/shell/canvas.h"
#include "platform/shell/shell.h"
#include "studio/shelf/shelf_texts.h"
#include "studio/studio_texts.h"
#include "studio/widgets/style.h"

namespace {

using namespace studio_style;
constexpr int kSheetWidth = 440;
constexpr int kFileHeight = 30;
constexpr int kListHeight = 6 * (kFileHeight + 4);
// More than a person would look through in a list.
constexpr std::size_t kMostFiles = 60;

bool IsRegistryFile(const std::string& name) {
  if (name.size() <= 4 || name[0] == '.') return false;
  std::string end = name.substr(name.size() - 4);
  for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return end == ".reg";
}

// The registry files in the documents and download folders, by path.
std::vector<std::string> RegistryFiles() {
  std::vector<std::string> folders;
  for (UserFolder which : {UserFolder::kDocuments, UserFolder::kDownload}) {
    const std::string folder = UserFolderPath(which);
    if (!folder.empty() && std::find(folders.begin(), folders.end(), folder) == folders.end()) {
      folders.push_back(folder);
    }
  }
  std::vector<std::string> paths;
  for (const std::string& folder : folders) {
    std::vector<std::string> names;
    FileError error;
    if (!ListFolder(folder, &names, &error)) continue;
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
      if (IsRegistryFile(name) && paths.size() < kMostFiles) paths.push_back(folder + "/" + name);
    }
  }
  return paths;
}

}  // namespace

ImportSheet::ImportSheet(int studio_width, Shell* shell)
    : StudioLayer(shell),
      title_(18, true, kSheetInk),
      note_(kNotePx, false, kSheetNote),
      path_(shelf_text::kImportPathHint, 1024),
      import_(shelf_text::kImport, StudioButton::Look::kGo),
      cancel_(studio_text::kCancel, StudioButton::Look::kLight) {
  SetPlace(Place::Side);
  SetDimsBehind(true);
  const int inner = kSheetWidth - 2 * kSheetPad;
  title_.SetText(shelf_text::kImportTitle);
  int y = 18;
  title_.SetBounds(kSheetPad, y, inner, title_.HeightFor(inner));
  y += title_.GetHeight() + 8;
  const std::vector<std::string> paths = RegistryFiles();
  note_.SetText(paths.empty() ? shelf_text::kNoRegistryFiles : shelf_text::kImportNote);
  note_.SetBounds(kSheetPad, y, inner, note_.HeightFor(inner));
  y += note_.GetHeight() + 10;
  AddRoot(&title_);
  AddRoot(&note_);
  if (!paths.empty()) {
    list_.SetBounds(kSheetPad, y, inner, kListHeight);
    list_.EnableScrollBarV(true);
    list_.KeepIndicatorShown(true);  // more files than fit: the bar says so, as the shelf's list does
    int top = 0;
    for (const std::string& path : paths) {
      auto button = std::make_unique<StudioButton>(Utf8ToUtf16(PathShownFromHome(path)), StudioButton::Look::kLight);
      button->SetBounds(0, top, inner - 8, kFileHeight);
      button->OnClick([this, path] { Take(path); });
      list_.AddChild(button.get());
      files_.push_back(std::move(button));
      top += kFileHeight + 4;
    }
    AddRoot(&list_);
    y += kListHeight + 12;
  }
  const int button_width = 72;
  path_.SetBounds(kSheetPad, y, inner - button_width - 8, 32);
  import_.SetBounds(kSheetPad + inner - button_width, y, button_width, 32);
  path_.OnEnter([this] { TakeTyped(); });
  import_.OnClick([this] { TakeTyped(); });
  AddRoot(&path_);
  AddRoot(&import_);
  y += 32 + 16;
  cancel_.SetBounds(kSheetPad + inner - 96, y, 96, kSheetButtonHeight);
  cancel_.OnClick([this] {
    if (IsRunningModal() && !IsDone()) EndModal(0);
  });
  AddRoot(&cancel_);
  const int height = y + kSheetButtonHeight + 18;
  const int left = (studio_width - kSheetWidth) / 2;
  const int top = (Shell::kScreenHeight - height) / 2;
  SetFrame(RECT{left, top, left + kSheetWidth, top + height});
  SetFocus(files_.empty() ? static_cast<UiWin*>(&path_) : files_.front().get());
}

ImportSheet::~ImportSheet() = default;

std::string ImportSheet::Choose() {
  Shell* shell = GetShell();
  if (shell == nullptr) return {};
  chosen_.clear();
  shell->TakeText(true);
  RunModal(false, false);
  shell->TakeText(false);
  return chosen_;
}

void ImportSheet::Take(std::string path) {
  if (!IsRunningModal() || IsDone() || path.empty()) return;
  chosen_ = std::move(path);
  EndModal(1);
}

void ImportSheet::TakeTyped() {
  Take(PathTyped(Utf16ToUtf8(path_.Text())));
}

void ImportSheet::PaintContent(Canvas& canvas) {
  const RECT& f = Frame();
  canvas.FillRoundRect(0, 0, f.right - f.left, f.bottom - f.top, 12, kSheet);
  for (UiWin* e : Roots()) e->Paint(canvas);
  PaintFocusOutside(canvas);
}
