#include "platform/ui/message_box.h"

#include "platform/ui/message_box_panel.h"
#include "platform/ui/toolkit_functions.h"

int MzMessageBoxEx(HWND /*hWndOwner*/, LPCWSTR text, LPCWSTR caption, UINT /*type*/, int flags) {
  MessageBoxPanel panel(text != nullptr ? text : u"", caption != nullptr ? caption : u"",
                        flags == 1, ToolkitShell());
  panel.RunModal(true, true);
  return IDOK;
}
