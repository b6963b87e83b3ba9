#include "platform/ui/popup_menu.h"

#include "platform/shell/shell.h"
#include "platform/ui/imaging_helper.h"
#include "platform/ui/popup_menu_sheet.h"

MzPopupMenu::MzPopupMenu() = default;
MzPopupMenu::~MzPopupMenu() = default;

void MzPopupMenu::SetMenuTitle(LPCWSTR text, ImagingHelper* image) {
  title_ = text != nullptr ? std::u16string(text) : std::u16string();
  if (image != title_image_.get()) title_image_.reset(image);
}

void MzPopupMenu::AppendMenuItem(UINT id, LPCWSTR text, UINT flags) {
  items_.push_back(Item{id, text != nullptr ? std::u16string(text) : std::u16string(), flags});
}

int MzPopupMenu::MzTrackPopupMenu(HWND /*owner*/, int /*mode*/, const RECT* /*rc*/,
                                  int /*flags*/) {
  Shell* shell = Shell::Current();
  if (shell == nullptr || shell->QuitRequested()) return 0;
  PopupMenuSheet sheet(*this);
  shell->PushLayer(&sheet, true);
  shell->RunLoop([&sheet] { return sheet.IsDone(); });
  shell->RemoveLayer(&sheet, true);
  return sheet.IsDone() ? sheet.Result() : 0;
}
