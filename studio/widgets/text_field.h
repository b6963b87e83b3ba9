// A one-line box the user types a name into, edited as such boxes are: a
// caret that Left and Right move by a character (a pair of surrogates is
// one), Home and End to either end, a tap near a place in the text; typed
// text (the keyboard's, or an input method's, Chinese too) goes in at the
// caret, Backspace takes back the character before it, Delete the one
// after it; Enter runs its action (from the shell's loop). It takes these keys
// only while it has the focus. Text longer than the box scrolls inside it,
// keeping the caret in sight. What an input method is still composing shows
// at the caret, underlined, and is no part of the text until typed; it is
// dropped when the focus leaves. The input method is told where the caret is.
// A selection, shown behind its text: Shift with the arrows, Home and End
// stretches it from where the caret was, Ctrl+A selects everything; typed
// text, Backspace and Delete replace it; Ctrl+C and Ctrl+X copy and cut it
// to the desktop's clipboard, Ctrl+V pastes there (its first characters,
// without line breaks or other control characters, as many as the limit
// leaves room for). Near its limit the box shows its count of characters
// against the limit ("38/40"), in red at the limit.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>

#include "platform/ui/ui_win.h"

class TextField : public UiWin {
 public:
  // At most `limit` characters are kept; `hint` shows while it is empty.
  TextField(std::u16string hint, std::size_t limit);

  const std::u16string& Text() const { return text_; }
  // The text, with the caret at its end.
  void SetText(std::u16string text);
  // What Enter does.
  void OnEnter(std::function<void()> action) { enter_ = std::move(action); }

  void PaintWin(Canvas& canvas) override;
  void OnRelease(int x, int y, bool inside) override;
  bool OnKey(InputKey key) override;
  bool OnText(const std::u16string& text) override;
  bool OnComposition(const std::u16string& text, int cursor) override;
  bool Composing() const override { return !composition_.empty(); }
  bool TakesFocus() const override { return visible_; }
  void FocusLeft() override;

 private:
  std::function<void()> enter_;
  // The width of the text before UTF-16 unit `end`, as drawn.
  static int WidthBefore(const std::u16string& text, std::size_t end, int height);
  // "38/40" at the box's right end once the text nears its limit; the
  // width it takes (0 when not shown).
  int PaintCount(Canvas& canvas);
  // The selection's ends, the first one first (equal: none).
  std::size_t SelectionStart() const { return std::min(anchor_, caret_); }
  std::size_t SelectionEnd() const { return std::max(anchor_, caret_); }
  // Puts `text` at the caret in place of the selection, cut to the limit;
  // false when nothing of it fits.
  bool Insert(std::u16string_view text);
  // Handles the Ctrl keys: select all, copy, cut, paste.
  bool OnCtrlKey(InputKey key);

  std::u16string hint_;
  std::size_t limit_;
  std::u16string text_;
  std::size_t caret_ = 0;
  // The selection's other end (the caret's place when nothing is selected).
  std::size_t anchor_ = 0;
  // What an input method composes at the caret, and its cursor in it (UTF-16 units).
  std::u16string composition_;
  std::size_t composition_cursor_ = 0;
  // How far the text is scrolled left inside the box, in pixels: as last
  // painted, so that a tap finds the character the user saw there.
  int scroll_ = 0;
};
