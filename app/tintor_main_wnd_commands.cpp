// The main window's command handling: toolbar actions and the swatch flow.
#include "app/help_wnd.h"
#include "app/texts.h"
#include "app/tintor_main_wnd.h"
#include "model/theme_color_store.h"
#include "model/theme_targets.h"
#include "platform/ui/imaging_helper.h"
#include "platform/ui/toolkit_functions.h"
#include "platform/ui/message_box.h"
#include "platform/ui/popup_menu.h"
#include "platform/win/registry.h"
#include "platform/win/system.h"

void CTintorMainWnd::OnControlCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  const UINT offset = id - static_cast<UINT>(kToolbarId);  // ids below 101 wrap around
  if (offset > static_cast<UINT>(kLastCommandId - kToolbarId)) return;
  if (id == kToolbarId) {
    OnToolbar(lParam);
    return;
  }
  // 122, 165 and 166 lie in the range but carry no swatch.
  if (const ColorSwatch* swatch = FindColorSwatch(static_cast<int>(id))) OnSwatch(*swatch);
}

void CTintorMainWnd::OnToolbar(LPARAM button) {
  switch (button) {
    case kQuitButton:
      PostQuitMessage(0);
      break;
    case kHelpButton:
      RunHelp();
      break;
    case kAboutButton:
      MzMessageBoxEx(m_hWnd, tintor_text::AboutText(RegistryFileShownPath(), RegistryFileShownOrigin()).c_str(),
                     tintor_text::kAboutCaption, 0, 1);
      break;
    default:
      break;
  }
}

void CTintorMainWnd::RunHelp() {
  HelpWnd help;
  const RECT area = MzGetWorkArea();
  help.Create(area.left, area.top, area.right - area.left, area.bottom - area.top, m_hWnd, 0,
              WS_POPUP, 0);
  help.SetAnimateType_Show(MZ_ANIMTYPE_SCROLL_BOTTOM_TO_TOP);
  help.SetAnimateType_Hide(MZ_ANIMTYPE_SCROLL_TOP_TO_BOTTOM);
  help.DoModal(1);
}

void CTintorMainWnd::OnSwatch(const ColorSwatch& swatch) {
  MzPopupMenu menu;
  // The menu takes the title image over and frees it; this window never does.
  auto* title_image = new ImagingHelper;
  title_image->LoadImageFromRes(GetMzResModuleHandle(), MAKEINTRESOURCEW(RT_RCDATA_ID),
                                MAKEINTRESOURCEW(kMenuTitleResourceId), true, true, true);
  menu.SetMenuTitle(kTargetMenuTitle, title_image);
  for (const ThemeTarget& target : kThemeTargets) {
    menu.AppendMenuItem(target.menu_id, target.label, 0);
  }
  const int chosen = menu.MzTrackPopupMenu(m_hWnd, 1, nullptr, 0);
  const ThemeTarget* target = FindThemeTarget(static_cast<std::uint32_t>(chosen));
  if (target == nullptr) return;

  if (WriteThemeColor(HKEY_LOCAL_MACHINE, target->key, target->value_name, swatch.color, true)) {
    MzMessageBoxEx(m_hWnd, tintor_text::kSetSucceeded, tintor_text::kSetSucceededCaption, 0, 0);
  } else {
    MzMessageBoxEx(m_hWnd, tintor_text::kSetFailed, tintor_text::kSetFailedCaption, 0, 0);
  }
}
