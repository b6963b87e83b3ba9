#include "platform/ui/window.h"

#include <cmath>

#include "platform/shell/canvas.h"
#include "platform/shell/message_target.h"
#include "platform/shell/shell.h"
#include "platform/shell/shell_layer.h"
#include "platform/ui/application.h"

// Puts the window on the shell's stack and in its handle table: paints it,
// hands it the finger and the keys, and delivers its queued messages.
class CMzWnd::ShellBinding : public ShellLayer, public MessageTarget {
 public:
  explicit ShellBinding(CMzWnd* wnd) : wnd_(wnd) {}

  void PaintLayer(Canvas& canvas, double shown) override {
    const RECT& b = wnd_->bounds_;
    const int offset =
        static_cast<int>(std::lround((1.0 - shown) * (Shell::kScreenHeight - b.top)));
    const int w = b.right - b.left;
    const int h = b.bottom - b.top;
    canvas.Translate(b.left, b.top + offset);
    canvas.ClipRect(0, 0, w, h);
    RECT rc{0, 0, w, h};
    wnd_->PaintWin(canvas, rc, rc);
  }

  void HandleInput(const InputEvent& e) override {
    const int x = e.x - wnd_->bounds_.left;
    const int y = e.y - wnd_->bounds_.top;
    switch (e.type) {
      case InputEvent::Type::Press:
        Dispatch(WM_LBUTTONDOWN, 1, MAKELPARAM_XY(x, y));
        break;
      case InputEvent::Type::Move:
        Dispatch(WM_MOUSEMOVE, 1, MAKELPARAM_XY(x, y));
        break;
      case InputEvent::Type::Release:
        Dispatch(WM_LBUTTONUP, 0, MAKELPARAM_XY(x, y));
        break;
      case InputEvent::Type::Wheel:
        Dispatch(WM_MOUSEWHEEL,
                 static_cast<WPARAM>(static_cast<std::uint16_t>(e.wheel * WHEEL_DELTA)) << 16,
                 MAKELPARAM_XY(x, y));
        break;
      case InputEvent::Type::Key: {
        WPARAM vk = VK_ESCAPE;
        if (e.key == InputKey::Enter) vk = VK_RETURN;
        if (e.key == InputKey::Up) vk = VK_UP;
        if (e.key == InputKey::Down) vk = VK_DOWN;
        Dispatch(WM_KEYDOWN, vk, 0);
        break;
      }
      case InputEvent::Type::Quit:
        break;
    }
  }

  void HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    Dispatch(message, wParam, lParam);
  }

 private:
  void Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{wnd_->m_hWnd, message, wParam, lParam};
    if (CMzApp* app = CMzApp::Instance(); app != nullptr && app->PreTranslateMessage(&msg)) return;
    wnd_->MzDefWndProc(msg.message, msg.wParam, msg.lParam);
  }

  CMzWnd* wnd_;

 public:
  CMzWnd* Window() const { return wnd_; }
};

CMzWnd::CMzWnd() = default;

CMzWnd::~CMzWnd() {
  if (binding_ != nullptr) {
    if (Shell* shell = Shell::Current()) {
      shell->RemoveLayer(binding_, false);
      shell->UnregisterTarget(m_hWnd);
    }
    delete binding_;
    binding_ = nullptr;
  }
}

LPCWSTR CMzWnd::GetWndClassName() { return u"CMzWnd"; }

CMzWnd* CMzWnd::FromHandle(HWND hwnd) {
  Shell* shell = Shell::Current();
  if (shell == nullptr || hwnd == nullptr) return nullptr;
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
  Shell* shell = Shell::Current();
  if (shell == nullptr || binding_ != nullptr || width <= 0 || height <= 0) return FALSE;
  bounds_ = RECT{xPos, yPos, xPos + width, yPos + height};
  parent_ = hwndParent;
  id_ = uID;
  style_ = style;
  exstyle_ = exstyle;
  MzRegisterClass();
  binding_ = new ShellBinding(this);
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
  Shell* shell = Shell::Current();
  if (shell == nullptr || binding_ == nullptr || modal_depth_ > 0) return 0;
  Show(TRUE, TRUE);
  modal_done_ = false;
  modal_result_ = 0;
  ++modal_depth_;
  shell->RunLoop([this] { return modal_done_; });
  --modal_depth_;
  const int result = modal_result_;
  modal_done_ = false;
  Show(FALSE, TRUE);
  return result;
}

void CMzWnd::OnPaint(Canvas& /*canvas*/) {}

void CMzWnd::PaintWin(Canvas& canvas, const RECT& rcWin, const RECT& /*rcUpdate*/) {
  COLORREF bg = 0x00ECECEC;
  if (Shell* shell = Shell::Current()) bg = shell->Theme().window_bg;
  canvas.FillRect(rcWin.left, rcWin.top, rcWin.right - rcWin.left, rcWin.bottom - rcWin.top,
                  Color::FromColorRef(bg));
  OnPaint(canvas);
}

void CMzWnd::PreSubClassWindow() {}
void CMzWnd::OnControlCommand(WPARAM, LPARAM) {}
BOOL CMzWnd::OnInitDialog() { return TRUE; }
BOOL CMzWnd::OnCommand(WPARAM, LPARAM) { return FALSE; }
int CMzWnd::OnShellHomeKey(UINT, WPARAM, LPARAM) { return 0; }

bool CMzWnd::GetWindowBitmap(const RECT& rc, std::uint32_t* pixels, int stride) {
  if (binding_ == nullptr || pixels == nullptr) return false;
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
  Shell* shell = Shell::Current();
  if (shell == nullptr || binding_ == nullptr) return;
  if (bShow && !visible_) {
    visible_ = true;
    shell->PushLayer(binding_, anim_show_ != MZ_ANIMTYPE_NONE);
  } else if (!bShow && visible_) {
    visible_ = false;
    shell->RemoveLayer(binding_, anim_hide_ != MZ_ANIMTYPE_NONE);
  }
}

void CMzWnd::EndModal(int result) {
  modal_result_ = result;
  modal_done_ = true;
}

void CMzWnd::Invalidate() {
  if (Shell* shell = Shell::Current()) shell->Invalidate();
}

int CMzWnd::GetWidth() const { return bounds_.right - bounds_.left; }
int CMzWnd::GetHeight() const { return bounds_.bottom - bounds_.top; }
int CMzWnd::GetPosX() const { return bounds_.left; }
int CMzWnd::GetPosY() const { return bounds_.top; }
void CMzWnd::SetAnimateType_Show(int type) { anim_show_ = type; }
void CMzWnd::SetAnimateType_Hide(int type) { anim_hide_ = type; }
