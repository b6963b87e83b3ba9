// A top-level window of the phone's shell. Derived windows override the
// virtual hooks; the shell creates the window, calls OnInitDialog once, and
// delivers control notifications to OnControlCommand through the message queue.
#pragma once

#include "platform/host/input_event.h"
#include "platform/shell/shell.h"
#include "platform/win/win_types.h"

class Canvas;
class ElementLayer;
class UiWin;

inline constexpr DWORD WS_POPUP = 0x80000000u;

// Messages of the shell's queue.
inline constexpr UINT WM_QUIT = Shell::kQuitMessage;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_MOUSEWHEEL = 0x020A;
inline constexpr int WHEEL_DELTA = 120;
// Keys of WM_KEYDOWN.
inline constexpr WPARAM VK_TAB = 0x09;
inline constexpr WPARAM VK_RETURN = 0x0D;
inline constexpr WPARAM VK_ESCAPE = 0x1B;
inline constexpr WPARAM VK_SPACE = 0x20;
inline constexpr WPARAM VK_PRIOR = 0x21;  // Page Up
inline constexpr WPARAM VK_NEXT = 0x22;   // Page Down
inline constexpr WPARAM VK_END = 0x23;
inline constexpr WPARAM VK_HOME = 0x24;
inline constexpr WPARAM VK_LEFT = 0x25;
inline constexpr WPARAM VK_UP = 0x26;
inline constexpr WPARAM VK_RIGHT = 0x27;
inline constexpr WPARAM VK_DOWN = 0x28;
// Mouse messages carry the position in lParam: x in the low 16 bits, y in the
// high 16 bits, both signed, in the window's coordinates.
inline constexpr LPARAM MAKELPARAM_XY(int x, int y) {
  return static_cast<LPARAM>((static_cast<std::uint32_t>(static_cast<std::uint16_t>(x))) |
                             (static_cast<std::uint32_t>(static_cast<std::uint16_t>(y)) << 16));
}
inline constexpr int GET_X_LPARAM(LPARAM lp) { return static_cast<std::int16_t>(lp & 0xFFFF); }
inline constexpr int GET_Y_LPARAM(LPARAM lp) {
  return static_cast<std::int16_t>((lp >> 16) & 0xFFFF);
}

// Window animation kinds for SetAnimateType_Show / _Hide. The shell slides
// windows in and out; headless runs show them at once.
inline constexpr int MZ_ANIMTYPE_NONE = 0;
inline constexpr int MZ_ANIMTYPE_SCROLL_TOP_TO_BOTTOM = 5;  // hide: slide down and out
inline constexpr int MZ_ANIMTYPE_SCROLL_BOTTOM_TO_TOP = 13;  // show: slide up from the bottom

class CMzWnd {
 public:
  CMzWnd();
  CMzWnd(const CMzWnd&) = delete;
  CMzWnd& operator=(const CMzWnd&) = delete;

  // Virtual operations, in table order.
  virtual LPCWSTR GetWndClassName();
  virtual ~CMzWnd();
  virtual LRESULT MzDefWndProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual void OnLButtonDblClk(UINT fwKeys, int xPos, int yPos);
  virtual void OnLButtonDown(UINT fwKeys, int xPos, int yPos);
  virtual void OnLButtonUp(UINT fwKeys, int xPos, int yPos);
  virtual void OnMouseMove(UINT fwKeys, int xPos, int yPos);
  virtual void OnTimer(UINT_PTR nIDEvent);
  virtual void OnSize(int nWidth, int nHeight);
  virtual void OnSettingChange(DWORD wFlag, LPCWSTR pszSectionName);
  virtual BOOL MzRegisterClass();
  // Makes the platform window, then calls OnInitDialog. Nonzero on success.
  virtual BOOL Create(int xPos, int yPos, int width, int height, HWND hwndParent = nullptr,
                      int uID = 0, DWORD style = 0, DWORD exstyle = 0);
  virtual BOOL CreateModalDialog(int xPos, int yPos, int width, int height, HWND hwndParent);
  virtual BOOL CreateChildWindow(int xPos, int yPos, int width, int height, HWND hwndParent);
  // Runs a nested message loop until EndModal; returns EndModal's value.
  virtual int DoModal(int mode = 1);
  virtual void OnPaint(Canvas& canvas);
  virtual void PaintWin(Canvas& canvas, const RECT& rcWin, const RECT& rcUpdate);
  virtual void PreSubClassWindow();
  // A control notification: control id in the low 16 bits of wParam.
  virtual void OnControlCommand(WPARAM wParam, LPARAM lParam);
  // Called once after Create made the window; 0 means failure.
  virtual BOOL OnInitDialog();
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual int OnShellHomeKey(UINT message, WPARAM wParam, LPARAM lParam);
  // A snapshot of the window's pixels, 0x00RRGGBB rows; false when there is no window.
  virtual bool GetWindowBitmap(const RECT& rc, std::uint32_t* pixels, int stride);
  virtual bool GetWindowBitmap(std::uint32_t* pixels, int stride);

  void Show(BOOL bShow = TRUE, BOOL bUpdate = TRUE);
  void EndModal(int result);
  void Invalidate();
  int GetWidth() const;
  int GetHeight() const;
  int GetPosX() const;
  int GetPosY() const;
  void SetAnimateType_Show(int type);
  void SetAnimateType_Hide(int type);
  int GetAnimateType_Show() const { return anim_show_; }
  int GetAnimateType_Hide() const { return anim_hide_; }
  HWND GetParentWnd() const { return parent_; }
  DWORD GetStyle() const { return style_; }
  int GetID() const { return id_; }
  bool IsModal() const;

  // The window's handle; null until Create.
  HWND m_hWnd = nullptr;

  // The window object behind a handle, or null for an unknown handle.
  static CMzWnd* FromHandle(HWND hwnd);
  // The window's rectangle on the screen.
  RECT GetWindowRect() const { return bounds_; }
  bool IsVisible() const { return visible_; }

 protected:
  RECT bounds_{};  // screen coordinates
  HWND parent_ = nullptr;
  DWORD style_ = 0;
  DWORD exstyle_ = 0;
  int id_ = 0;
  int anim_show_ = 0;
  int anim_hide_ = 0;
  bool visible_ = false;

  // The window's layer: its top-level elements, the finger over them, the
  // modal run.
  ElementLayer& Layer();
  const ElementLayer& Layer() const;
  // The finger and key event that a mouse or key message carries, in the
  // window's coordinates; false for any other message.
  static bool InputFromMessage(UINT message, WPARAM wParam, LPARAM lParam, InputEvent& event);

 private:
  // The window's layer on the shell's stack and its entry in the handle table.
  class ShellBinding;
  friend class ShellBinding;
  ShellBinding* binding_ = nullptr;
};
