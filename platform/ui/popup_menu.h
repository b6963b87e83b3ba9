// A modal popup menu: a sheet with a title picture and title text, then its
// items, scrolled when they do not fit. Tap an item to choose it; a tap
// outside, Esc or the cancel button dismisses it. Up and Down move a highlight
// (none at first), Enter chooses the highlighted item.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/win/win_types.h"

class ImagingHelper;

// Item flags for AppendMenuItem (0: a plain item).
inline constexpr UINT MF_GRAYED = 0x0001;     // shown dimmed, cannot be chosen
inline constexpr UINT MF_SEPARATOR = 0x0800;  // a thin divider instead of an item

class MzPopupMenu {
 public:
  MzPopupMenu();
  MzPopupMenu(const MzPopupMenu&) = delete;
  MzPopupMenu& operator=(const MzPopupMenu&) = delete;
  ~MzPopupMenu();

  // The menu takes over the title image (it may be null) and frees it.
  void SetMenuTitle(LPCWSTR text, ImagingHelper* image);
  void AppendMenuItem(UINT id, LPCWSTR text, UINT flags = 0);
  // Runs the menu modally over the owner; the chosen item's id, or 0 when
  // dismissed (or when a quit message ended the run). The sheet: a dimmed
  // screen, title picture and text, rows of kRowHeight, a "取消" button.
  int MzTrackPopupMenu(HWND owner, int mode = 1, const RECT* rc = nullptr, int flags = 0);

  struct Item {
    UINT id;
    std::u16string text;
    UINT flags;
  };
  static constexpr int kRowHeight = 60;
  static constexpr int kTitleHeight = 76;
  static constexpr int kCancelHeight = 84;
  static constexpr int kTopGap = 60;  // the screen left above the tallest sheet

  const std::vector<Item>& GetItems() const { return items_; }
  const std::u16string& GetTitle() const { return title_; }
  ImagingHelper* GetTitleImage() const { return title_image_.get(); }

 private:
  std::u16string title_;
  std::unique_ptr<ImagingHelper> title_image_;
  std::vector<Item> items_;
};
