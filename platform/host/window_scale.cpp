#include "platform/host/window_scale.h"

#include <algorithm>
#include <iterator>

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

double StartWindowScale(std::optional<double> asked, std::optional<double> kept,
                        int usable_width, int usable_height, int window_width) {
  if (asked) return FitWindowScale(*asked, usable_width, usable_height, window_width);
  if (kept && *kept >= kSmallestKeptScale &&
      FitWindowScale(*kept, usable_width, usable_height, window_width) == *kept) {
    return *kept;
  }
  return FitWindowScale(1.0, usable_width, usable_height, window_width);
}

double ZoomWindowScale(double scale, int direction, double largest) {
  static constexpr double kSteps[] = {0.5, 0.67, 0.75, 0.8, 0.9, 1.0, 1.1, 1.25,
                                      1.5, 1.75, 2.0, 2.5, 3.0, 3.5, 4.0};
  largest = std::max(largest, kSmallestKeptScale);
  double next = 1.0;
  if (direction > 0) {
    const auto* up = std::upper_bound(std::begin(kSteps), std::end(kSteps), scale + 1e-6);
    next = up == std::end(kSteps) ? kSteps[std::size(kSteps) - 1] : *up;
  } else if (direction < 0) {
    const auto* down = std::lower_bound(std::begin(kSteps), std::end(kSteps), scale - 1e-6);
    next = down == std::begin(kSteps) ? kSteps[0] : *(down - 1);
  }
  return std::clamp(next, kSmallestKeptScale, largest);
}
