// Small windows and pictures the platform tests build their screens from.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "platform/ui/toolkit.h"

// A window over the work area that records every control notification.
class RecordingWnd : public CMzWndEx {
 public:
  LPCWSTR GetWndClassName() override { return u"RecordingWnd"; }
  void OnControlCommand(WPARAM wParam, LPARAM lParam) override {
    commands.emplace_back(wParam, lParam);
    if (on_command) on_command(wParam, lParam);
  }
  BOOL OnInitDialog() override {
    if (!CMzWndEx::OnInitDialog()) return FALSE;
    ++init_calls;
    return init_result;
  }
  // Creates it over the work area and shows it.
  bool CreateOverWorkArea() {
    RECT rc = MzGetWorkArea();
    const BOOL ok = Create(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    Show(TRUE, TRUE);
    return ok != FALSE;
  }

  std::vector<std::pair<WPARAM, LPARAM>> commands;
  std::function<void(WPARAM, LPARAM)> on_command;
  int init_calls = 0;
  BOOL init_result = TRUE;
};

// A PNG file's bytes: width x height filled with one straight RGBA colour,
// drawn through cairo (non-interlaced).
std::vector<std::uint8_t> SolidPng(int width, int height, std::uint32_t argb);
// The same through libpng, written interlaced (Adam7) with a different colour
// in each quadrant: top left, top right, bottom left, bottom right.
std::vector<std::uint8_t> InterlacedQuadrantPng(int width, int height, const std::uint32_t argb[4]);
