#include "platform/ui/popup_menu.h"

#include "platform/ui/imaging_helper.h"
#include "platform/ui/popup_menu_sheet.h"
#include "platform/ui/toolkit_functions.h"

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
  PopupMenuSheet sheet(*this, ToolkitShell());
  return sheet.RunModal(true, true);
}
