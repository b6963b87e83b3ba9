#include "studio/widgets/text_field.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/file/utf16.h"
#include "platform/shell/canvas.h"
#include "platform/shell/shell.h"
#include "platform/ui/element_layer.h"
#include "studio/widgets/studio_layer.h"
#include "studio/widgets/style.h"

namespace {
using namespace studio_style;
constexpr int kPad = 8;
constexpr double kTextPx = 14;
constexpr UINT kLine = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
constexpr double kCountPx = 11;
// The count of characters shows from this many before the limit on.
constexpr std::size_t kCountShownWithin = 10;
// Wide enough for any name: the text is laid out whole, never cut.
constexpr int kUnbounded = 1 << 20;

bool High(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool Low(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The caret's place one character after or before `at`.
std::size_t After(std::u16string_view text, std::size_t at) {
  if (at >= text.size()) return text.size();
  return at + (High(text[at]) && at + 1 < text.size() && Low(text[at + 1]) ? 2 : 1);
}
std::size_t Before(std::u16string_view text, std::size_t at) {
  if (at == 0) return 0;
  return at - (at >= 2 && Low(text[at - 1]) && High(text[at - 2]) ? 2 : 1);
}
}  // namespace

TextField::TextField(std::u16string hint, std::size_t limit) : hint_(std::move(hint)), limit_(limit) {}

void TextField::SetText(std::u16string text) {
  text_ = std::move(text);
  caret_ = anchor_ = text_.size();
  composition_.clear();
  Invalidate();
}

int TextField::WidthBefore(const std::u16string& text, std::size_t end, int height) {
  if (end == 0) return 0;
  return Canvas::MeasureText(std::u16string_view(text).substr(0, end), kUnbounded, height, kLine, kTextPx).width;
}

int TextField::PaintCount(Canvas& canvas) {
  std::size_t count = 0;
  for (char16_t c : text_) count += !Low(c);
  if (count + kCountShownWithin < limit_) return 0;
  const std::u16string shown = Utf8ToUtf16(std::to_string(count) + "/" + std::to_string(limit_));
  const int width = Canvas::MeasureText(shown, kUnbounded, height_, kLine, kCountPx).width;
  canvas.DrawText(shown, RECT{width_ - kPad - width, 0, width_ - kPad, height_}, kLine,
                  count >= limit_ ? kFieldFull : kFieldHint, kCountPx);
  return width + kPad / 2;
}

void TextField::PaintWin(Canvas& canvas) {
  canvas.FillRoundRect(0, 0, width_, height_, 6, kFieldFace);
  canvas.StrokeRoundRect(0.5, 0.5, width_ - 1, height_ - 1, 5.5, 1,
                         HasFocus() ? kFieldFocusRim : kFieldRim);
  // Near its limit the box shows how full it is, so a key that adds nothing
  // there is seen to be at the limit.
  const int room = width_ - 2 * kPad - PaintCount(canvas);
  // The caret's line stands within the room, at most at its last pixel but one.
  const int last = std::max(room - 2, 0);
  // A composition shows at the caret, the caret at its cursor.
  std::u16string shown = text_;
  shown.insert(caret_, composition_);
  const int caret_x = WidthBefore(shown, caret_ + composition_cursor_, height_);
  const int whole = WidthBefore(shown, shown.size(), height_);
  // The caret stays in sight; no room is left empty after the end of a
  // long text that got shorter.
  scroll_ = std::clamp(scroll_, caret_x - last, caret_x);
  scroll_ = std::max(0, std::min(scroll_, whole - last));
  if (shown.empty()) {
    // Past the caret, when there is one.
    const int hint_left = kPad + (HasFocus() ? 4 : 0);
    canvas.DrawText(hint_, RECT{hint_left, 0, width_ - kPad, height_}, kLine | DT_END_ELLIPSIS,
                    kFieldHint, kTextPx);
  } else {
    canvas.Save();
    canvas.ClipRect(kPad, 0, room, height_);
    const int left = kPad - scroll_;
    if (HasFocus() && SelectionStart() != SelectionEnd() && composition_.empty()) {
      const int from = left + WidthBefore(shown, SelectionStart(), height_);
      canvas.FillRect(from, 6, left + WidthBefore(shown, SelectionEnd(), height_) - from, height_ - 12,
                      kFieldSelection);
    }
    canvas.DrawText(shown, RECT{left, 0, left + kUnbounded, height_}, kLine, kFieldInk,
                    kTextPx);
    if (!composition_.empty()) {
      // Underlined, as an input method's text is until it is typed.
      const double y = std::floor(height_ / 2 + kTextPx * 0.7) + 0.5;
      canvas.DrawLine(left + WidthBefore(shown, caret_, height_), y,
                      left + WidthBefore(shown, caret_ + composition_.size(), height_), y, 1,
                      kFieldInk);
    }
    canvas.Restore();
  }
  if (HasFocus()) {
    const int x = kPad + caret_x - scroll_;
    canvas.DrawLine(x + 0.5, 7, x + 0.5, height_ - 7, 1.5, kFieldInk);
    // The input method's window of candidates opens below the box, by the caret.
    if (Layer() != nullptr) {
      const POINT o = WindowOrigin();
      Layer()->PlaceTextCaret(RECT{o.x + x, o.y, o.x + x + 1, o.y + height_});
    }
  }
  if (ShowsFocus()) PaintFocusRing(canvas, 0, 0, width_, height_);
}

void TextField::OnRelease(int x, int, bool inside) {
  if (!inside || Layer() == nullptr) return;
  Layer()->SetFocus(this);
  // The caret stays where the input method composes.
  if (Composing()) return;
  // The caret goes to the place between two characters nearest the tap.
  const int at = x - kPad + scroll_;
  std::size_t best = 0;
  int best_off = std::abs(at);
  for (std::size_t i = 0; i < text_.size();) {
    i = After(text_, i);
    const int off = std::abs(WidthBefore(text_, i, height_) - at);
    if (off < best_off) {
      best = i;
      best_off = off;
    }
  }
  caret_ = anchor_ = best;
  Invalidate();
}

bool TextField::OnKey(InputKey key) {
  if (!HasFocus()) return false;
  const unsigned held = Layer() != nullptr ? Layer()->HeldWithKey() : kNoModifier;
  if ((held & kCtrl) != 0) return OnCtrlKey(key);
  const bool stretch = (held & kShift) != 0;
  const bool selected = SelectionStart() != SelectionEnd();
  switch (key) {
    case InputKey::Left:
      // Without Shift a selection ends at its side.
      caret_ = selected && !stretch ? SelectionStart() : Before(text_, caret_);
      break;
    case InputKey::Right:
      caret_ = selected && !stretch ? SelectionEnd() : After(text_, caret_);
      break;
    case InputKey::Home:
      caret_ = 0;
      break;
    case InputKey::End:
      caret_ = text_.size();
      break;
    case InputKey::Backspace:
    case InputKey::Delete: {
      if (!selected) {
        (key == InputKey::Backspace ? anchor_ : caret_) =
            key == InputKey::Backspace ? Before(text_, caret_) : After(text_, caret_);
      }
      const std::size_t from = SelectionStart();
      text_.erase(from, SelectionEnd() - from);
      caret_ = anchor_ = from;
      Invalidate();
      return true;
    }
    case InputKey::Enter:
      RunLater(*this, enter_);
      return true;
    case InputKey::Space:  // the space itself comes as text
      return true;
    default:
      return false;
  }
  if (!stretch) anchor_ = caret_;
  Invalidate();
  return true;
}

bool TextField::OnCtrlKey(InputKey key) {
  Shell* shell = Layer() != nullptr ? Layer()->GetShell() : nullptr;
  const std::size_t from = SelectionStart();
  const std::u16string_view selection = std::u16string_view(text_).substr(from, SelectionEnd() - from);
  switch (key) {
    case InputKey::A:
      anchor_ = 0;
      caret_ = text_.size();
      break;
    case InputKey::C:
    case InputKey::X:
      if (selection.empty() || shell == nullptr) return true;
      shell->SetClipboardText(Utf16ToUtf8(selection));
      if (key == InputKey::X) Insert(u"");
      break;
    case InputKey::V: {
      if (shell == nullptr) return true;
      // What a name can hold: no line break, tab or other control character.
      std::u16string pasted;
      for (const char16_t c : Utf8ToUtf16(shell->ClipboardText())) {
        if (c >= 0x20 && c != 0x7F) pasted.push_back(c);
      }
      if (!pasted.empty()) Insert(pasted);
      break;
    }
    default:
      return false;
  }
  Invalidate();
  return true;
}

bool TextField::Insert(std::u16string_view text) {
  // Counted in characters; a pair of surrogates is one.
  const auto characters = [](std::u16string_view s) {
    std::size_t n = 0;
    for (char16_t c : s) n += !Low(c);
    return n;
  };
  const std::size_t from = SelectionStart();
  const std::size_t kept = characters(text_) - characters(std::u16string_view(text_).substr(from, SelectionEnd() - from));
  const std::size_t room = limit_ > kept ? limit_ - kept : 0;
  std::size_t end = 0;
  for (std::size_t n = 0; end < text.size() && n < room; ++n) end = After(text, end);
  if (end == 0 && !text.empty()) return false;
  text_.replace(from, SelectionEnd() - from, text.substr(0, end));
  caret_ = anchor_ = from + end;
  Invalidate();
  return true;
}

bool TextField::OnText(const std::u16string& text) {
  for (char16_t c : text) {
    // A line break or another control character is no part of a name.
    if (c < 0x20 || c == 0x7F) return true;
  }
  // Typed text takes the place of what was composed, and of the selection.
  composition_.clear();
  Invalidate();
  std::size_t characters = 0;
  for (char16_t c : text) characters += !Low(c);
  const std::size_t from = SelectionStart();
  std::size_t left = 0;
  for (std::size_t i = 0; i < text_.size(); ++i) left += !Low(text_[i]) && (i < from || i >= SelectionEnd());
  // Typed text goes in whole or not at all.
  if (left + characters > limit_) return true;
  Insert(text);
  return true;
}

bool TextField::OnComposition(const std::u16string& text, int cursor) {
  if (!HasFocus()) return false;
  composition_ = text;
  // Its cursor counts characters; a pair of surrogates is one.
  composition_cursor_ = 0;
  for (int i = 0; i < cursor && composition_cursor_ < composition_.size(); ++i) {
    composition_cursor_ = After(composition_, composition_cursor_);
  }
  if (cursor < 0) composition_cursor_ = composition_.size();
  Invalidate();
  return true;
}

void TextField::FocusLeft() {
  if (composition_.empty()) return;
  composition_.clear();
  Invalidate();
}
