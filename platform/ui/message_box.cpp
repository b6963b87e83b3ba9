#include "platform/ui/message_box.h"

#include "platform/shell/shell.h"
#include "platform/ui/message_box_panel.h"

int MzMessageBoxEx(HWND /*hWndOwner*/, LPCWSTR text, LPCWSTR caption, UINT /*type*/, int flags) {
  Shell* shell = Shell::Current();
  if (shell == nullptr || shell->QuitRequested()) return IDOK;
  MessageBoxPanel panel(text != nullptr ? text : u"", caption != nullptr ? caption : u"",
                        flags == 1);
  shell->PushLayer(&panel, true);
  shell->RunLoop([&panel] { return panel.IsDone(); });
  shell->RemoveLayer(&panel, true);
  return IDOK;
}
