#include "platform/ui/window.h"

#include "platform/shell/canvas.h"
#include "platform/shell/message_target.h"
#include "platform/shell/shell.h"
#include "platform/shell/shell_layer.h"
#include "platform/ui/application.h"
#include "platform/ui/element_layer.h"
#include "platform/ui/toolkit_functions.h"

namespace {

// The phone's keys and the virtual-key codes of WM_KEYDOWN.
constexpr struct {
  InputKey key;
  WPARAM vk;
} kVirtualKeys[] = {
    {InputKey::Escape, VK_ESCAPE}, {InputKey::Enter, VK_RETURN},  {InputKey::Up, VK_UP},
    {InputKey::Down, VK_DOWN},     {InputKey::PageUp, VK_PRIOR},  {InputKey::PageDown, VK_NEXT},
    {InputKey::Home, VK_HOME},     {InputKey::End, VK_END},       {InputKey::Tab, VK_TAB},
    {InputKey::Space, VK_SPACE},   {InputKey::Left, VK_LEFT},     {InputKey::Right, VK_RIGHT},
};

}  // namespace

// Puts the window on the shell's stack and in its handle table: paints it,
// and hands it the finger, the keys and its queued messages, all through the
// window's message procedure.
class CMzWnd::ShellBinding : public ElementLayer, public MessageTarget {
 public:
  // The window joins a shell when it is created.
  explicit ShellBinding(CMzWnd* wnd) : ElementLayer(nullptr), wnd_(wnd) {}
  void Join(Shell* shell) { SetShell(shell); }

  CMzWnd* Window() const override { return wnd_; }

  void PostCommand(WPARAM wParam, LPARAM lParam) override {
    Shell* shell = GetShell();
    if (shell != nullptr && wnd_->m_hWnd != nullptr) {
      shell->PostMessage(wnd_->m_hWnd, WM_COMMAND, wParam, lParam);
    }
  }

  void HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    Dispatch(message, wParam, lParam);
  }

 protected:
  void PaintContent(Canvas& canvas) override {
    RECT rc{0, 0, wnd_->GetWidth(), wnd_->GetHeight()};
    canvas.ClipRect(0, 0, rc.right, rc.bottom);
    wnd_->PaintWin(canvas, rc, rc);
  }

  void Receive(const InputEvent& e) override {
    const LPARAM at = MAKELPARAM_XY(e.x, e.y);
    switch (e.type) {
      case InputEvent::Type::Press:
        Dispatch(WM_LBUTTONDOWN, 1, at);
        break;
      case InputEvent::Type::Move:
        Dispatch(WM_MOUSEMOVE, 1, at);
        break;
      case InputEvent::Type::Release:
        Dispatch(WM_LBUTTONUP, 0, at);
        break;
      case InputEvent::Type::Wheel:
        Dispatch(WM_MOUSEWHEEL,
                 static_cast<WPARAM>(static_cast<std::uint16_t>(e.wheel * WHEEL_DELTA)) << 16, at);
        break;
      case InputEvent::Type::Key:
        for (const auto& k : kVirtualKeys) {
          if (k.key == e.key) Dispatch(WM_KEYDOWN, k.vk, 0);
        }
        break;
      case InputEvent::Type::Quit:
      case InputEvent::Type::Text:
      case InputEvent::Type::Composition:
      case InputEvent::Type::Drop:
        break;
    }
  }

 private:
  void Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{wnd_->m_hWnd, message, wParam, lParam};
    if (CMzApp* app = CMzApp::Instance(); app != nullptr && app->PreTranslateMessage(&msg)) return;
    wnd_->MzDefWndProc(msg.message, msg.wParam, msg.lParam);
  }

  CMzWnd* wnd_;
};

CMzWnd::CMzWnd() : binding_(new ShellBinding(this)) {}

CMzWnd::~CMzWnd() {
  if (Shell* shell = binding_->GetShell(); shell != nullptr && m_hWnd != nullptr) {
    shell->UnregisterTarget(m_hWnd);
  }
  delete binding_;
  binding_ = nullptr;
}

ElementLayer& CMzWnd::Layer() { return *binding_; }
const ElementLayer& CMzWnd::Layer() const { return *binding_; }

bool CMzWnd::IsModal() const { return binding_->IsRunningModal(); }

bool CMzWnd::InputFromMessage(UINT message, WPARAM wParam, LPARAM lParam, InputEvent& event) {
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  switch (message) {
    case WM_LBUTTONDOWN:
      event = InputEvent::Press(x, y);
      return true;
    case WM_MOUSEMOVE:
      event = InputEvent::Move(x, y);
      return true;
    case WM_LBUTTONUP:
      event = InputEvent::Release(x, y);
      return true;
    case WM_MOUSEWHEEL:
      event = InputEvent::Wheel(x, y, static_cast<std::int16_t>(HIWORD(wParam)) / WHEEL_DELTA);
      return true;
    case WM_KEYDOWN:
      for (const auto& k : kVirtualKeys) {
        if (k.vk == wParam) {
          event = InputEvent::Key(k.key);
          return true;
        }
      }
      return false;
    default:
      return false;
  }
}

LPCWSTR CMzWnd::GetWndClassName() { return u"CMzWnd"; }

CMzWnd* CMzWnd::FromHandle(HWND hwnd) {
  Shell* shell = ToolkitShell();
  if (shell == nullptr || hwnd == nullptr) return nullptr;
  // Every handle the toolkit hands out belongs to a window's binding.
  auto* binding = dynamic_cast<ShellBinding*>(shell->TargetFromHandle(hwnd));
  if (binding == nullptr) return nullptr;
  return binding->Window();
}

LRESULT CMzWnd::MzDefWndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const UINT keys = static_cast<UINT>(wParam & 0xFFFF);
  switch (message) {
    case WM_COMMAND:
      if (!OnCommand(wParam, lParam)) OnControlCommand(wParam, lParam);
      return 0;
    case WM_LBUTTONDOWN:
      OnLButtonDown(keys, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
      OnLButtonUp(keys, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONDBLCLK:
      OnLButtonDblClk(keys, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(keys, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_SIZE:
      OnSize(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    default:
      return 0;
  }
}

void CMzWnd::OnLButtonDblClk(UINT, int, int) {}
void CMzWnd::OnLButtonDown(UINT, int, int) {}
void CMzWnd::OnLButtonUp(UINT, int, int) {}
void CMzWnd::OnMouseMove(UINT, int, int) {}
void CMzWnd::OnTimer(UINT_PTR) {}
void CMzWnd::OnSize(int, int) {}
void CMzWnd::OnSettingChange(DWORD, LPCWSTR) {}
BOOL CMzWnd::MzRegisterClass() { return TRUE; }

BOOL CMzWnd::Create(int xPos, int yPos, int width, int height, HWND hwndParent, int uID,
                    DWORD style, DWORD exstyle) {
  Shell* shell = ToolkitShell();
  if (shell == nullptr || m_hWnd != nullptr || width <= 0 || height <= 0) return FALSE;
  binding_->Join(shell);
  bounds_ = RECT{xPos, yPos, xPos + width, yPos + height};
  binding_->SetFrame(bounds_);
  parent_ = hwndParent;
  id_ = uID;
  style_ = style;
  exstyle_ = exstyle;
  MzRegisterClass();
  m_hWnd = shell->RegisterTarget(binding_);
  PreSubClassWindow();
  return OnInitDialog() != 0 ? TRUE : FALSE;
}

BOOL CMzWnd::CreateModalDialog(int xPos, int yPos, int width, int height, HWND hwndParent) {
  return Create(xPos, yPos, width, height, hwndParent, 0, WS_POPUP, 0);
}

BOOL CMzWnd::CreateChildWindow(int xPos, int yPos, int width, int height, HWND hwndParent) {
  return Create(xPos, yPos, width, height, hwndParent, 0, 0, 0);
}

int CMzWnd::DoModal(int /*mode*/) {
  if (m_hWnd == nullptr || binding_->IsRunningModal()) return 0;
  visible_ = true;
  const int result =
      binding_->RunModal(anim_show_ != MZ_ANIMTYPE_NONE, anim_hide_ != MZ_ANIMTYPE_NONE);
  visible_ = false;
  return result;
}

void CMzWnd::OnPaint(Canvas& /*canvas*/) {}

void CMzWnd::PaintWin(Canvas& canvas, const RECT& rcWin, const RECT& /*rcUpdate*/) {
  canvas.FillRect(rcWin.left, rcWin.top, rcWin.right - rcWin.left, rcWin.bottom - rcWin.top,
                  Color::FromColorRef(binding_->Theme().window_bg));
  OnPaint(canvas);
}

void CMzWnd::PreSubClassWindow() {}
void CMzWnd::OnControlCommand(WPARAM, LPARAM) {}
BOOL CMzWnd::OnInitDialog() { return TRUE; }
BOOL CMzWnd::OnCommand(WPARAM, LPARAM) { return FALSE; }
int CMzWnd::OnShellHomeKey(UINT, WPARAM, LPARAM) { return 0; }

bool CMzWnd::GetWindowBitmap(const RECT& rc, std::uint32_t* pixels, int stride) {
  if (m_hWnd == nullptr || pixels == nullptr) return false;
  const int w = rc.right - rc.left;
  const int h = rc.bottom - rc.top;
  if (w <= 0 || h <= 0) return false;
  Canvas::RenderOffscreen(
      w, h,
      [&](Canvas& canvas) {
        canvas.Translate(-rc.left, -rc.top);
        RECT whole{0, 0, GetWidth(), GetHeight()};
        canvas.ClipRect(0, 0, whole.right, whole.bottom);
        PaintWin(canvas, whole, whole);
      },
      pixels, stride);
  return true;
}

bool CMzWnd::GetWindowBitmap(std::uint32_t* pixels, int stride) {
  return GetWindowBitmap(RECT{0, 0, GetWidth(), GetHeight()}, pixels, stride);
}

void CMzWnd::Show(BOOL bShow, BOOL /*bUpdate*/) {
  Shell* shell = binding_->GetShell();
  if (shell == nullptr || m_hWnd == nullptr) return;
  if (bShow && !visible_) {
    visible_ = true;
    shell->PushLayer(binding_, anim_show_ != MZ_ANIMTYPE_NONE);
  } else if (!bShow && visible_) {
    visible_ = false;
    shell->RemoveLayer(binding_, anim_hide_ != MZ_ANIMTYPE_NONE);
  }
}

void CMzWnd::EndModal(int result) { binding_->EndModal(result); }

void CMzWnd::Invalidate() {
  if (Shell* shell = binding_->GetShell()) shell->Invalidate();
}

int CMzWnd::GetWidth() const { return bounds_.right - bounds_.left; }
int CMzWnd::GetHeight() const { return bounds_.bottom - bounds_.top; }
int CMzWnd::GetPosX() const { return bounds_.left; }
int CMzWnd::GetPosY() const { return bounds_.top; }
void CMzWnd::SetAnimateType_Show(int type) { anim_show_ = type; }
void CMzWnd::SetAnimateType_Hide(int type) { anim_hide_ = type; }
