// Every text Tintor shows, in one place: toolbar captions, message boxes,
// the About box and the usage instructions of the help window.
#pragma once

#include <string>
#include <string_view>

#include "platform/win/win_types.h"

namespace tintor_text {

// Main window toolbar, buttons 0, 1 and 2.
extern const WCHAR kQuit[];       // "退出"
extern const WCHAR kReadHelp[];   // "先看说明"
extern const WCHAR kAbout[];      // "关于"

// Help window toolbar.
extern const WCHAR kBack[];       // "返回"

// The result boxes after a colour was applied.
extern const WCHAR kSetSucceeded[];         // "设置成功"
extern const WCHAR kSetSucceededCaption[];  // "成功"
extern const WCHAR kSetFailed[];            // "设置失败"
extern const WCHAR kSetFailedCaption[];     // "失败"

// The About box: eight lines, the sixth naming the registry file in use and
// the seventh where that file comes from (the platform's words); caption "关于".
std::u16string AboutText(std::u16string_view registry_file, std::u16string_view registry_origin);
extern const WCHAR kAboutCaption[];

// The help window's usage instructions: 23 lines.
extern const WCHAR kUsageText[];

}  // namespace tintor_text
