#include "platform/host/window_scale.h"

#include <algorithm>

#include "platform/host/host.h"

namespace {
constexpr double kScreenWidth = Host::kScreenWidth;
constexpr double kScreenHeight = Host::kScreenHeight;
constexpr double kSmallest = 0.25;
}  // namespace

double FitWindowScale(double requested, int usable_width, int usable_height, int window_width) {
  if (usable_width <= 0 || usable_height <= 0) return requested;
  const double room_height = usable_height - kWindowTitleAllowance;
  const double width = std::max<double>(window_width, kScreenWidth);
  const double fits = std::min(usable_width / width, room_height / kScreenHeight);
  if (requested <= fits) return requested;
  return std::max(kSmallest, fits);
}
