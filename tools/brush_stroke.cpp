#include "tools/brush_stroke.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kNibAngle = -0.6;   // the oval nib's tilt, radians
constexpr double kNibAspect = 0.55;  // its short axis against the long one
constexpr double kStep = 0.5;        // distance between nib prints, pixels

// Pressure along the stroke: pressed on firmly, lifted off with a taper.
double Pressure(double t) {
  const double attack = std::min(1.0, 0.72 + t * 3.0);
  const double release = t < 0.62 ? 1.0 : 1.0 - 0.62 * std::pow((t - 0.62) / 0.38, 1.6);
  return attack * release;
}

BrushPoint CubicAt(BrushPoint p0, BrushPoint p1, BrushPoint p2, BrushPoint p3, double t) {
  const double u = 1 - t;
  const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
  return {a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y};
}

// Samples a curve evenly enough for the nib prints to join into a smooth edge.
template <typename Curve>
void Sample(const Curve& curve, double width, bool pressure, std::vector<BrushPoint>* centre,
            std::vector<double>* widths) {
  // Measure the length on a fine polyline first.
  constexpr int kFine = 400;
  double length = 0;
  BrushPoint prev = curve(0.0);
  for (int i = 1; i <= kFine; ++i) {
    const BrushPoint p = curve(static_cast<double>(i) / kFine);
    length += std::hypot(p.x - prev.x, p.y - prev.y);
    prev = p;
  }
  const int n = std::max(2, static_cast<int>(std::ceil(length / kStep)));
  for (int i = 0; i <= n; ++i) {
    const double t = static_cast<double>(i) / n;
    centre->push_back(curve(t));
    widths->push_back(pressure ? width * Pressure(t) : width);
  }
}

}  // namespace

BrushStroke BrushStroke::Cubic(BrushPoint p0, BrushPoint p1, BrushPoint p2, BrushPoint p3,
                               double width) {
  BrushStroke s;
  Sample([&](double t) { return CubicAt(p0, p1, p2, p3, t); }, width, true, &s.centre_,
         &s.width_);
  return s;
}

BrushStroke BrushStroke::Arc(BrushPoint centre, double rx, double ry, double from, double to,
                             double width) {
  BrushStroke s;
  Sample(
      [&](double t) {
        const double a = from + (to - from) * t;
        return BrushPoint{centre.x + rx * std::cos(a), centre.y + ry * std::sin(a)};
      },
      width, true, &s.centre_, &s.width_);
  return s;
}

BrushStroke BrushStroke::Dab(BrushPoint a, BrushPoint b, double width) {
  BrushStroke s;
  Sample([&](double t) { return BrushPoint{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; },
         width, false, &s.centre_, &s.width_);
  return s;
}

void BrushStroke::AddOutline(cairo_t* cr, double grow) const {
  for (std::size_t i = 0; i < centre_.size(); ++i) {
    const double w = width_[i];
    cairo_save(cr);
    cairo_translate(cr, centre_[i].x, centre_[i].y);
    cairo_rotate(cr, kNibAngle);
    cairo_scale(cr, w / 2 + grow, w * kNibAspect / 2 + grow);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_close_path(cr);
    cairo_restore(cr);
  }
}

void BrushStroke::AddStreak(cairo_t* cr, double offset, double from, double to) const {
  const std::size_t n = centre_.size();
  const auto first = static_cast<std::size_t>(from * (n - 1));
  const auto last = static_cast<std::size_t>(to * (n - 1));
  bool started = false;
  for (std::size_t i = first; i <= last && i < n; ++i) {
    const std::size_t a = i == 0 ? 0 : i - 1, b = std::min(n - 1, i + 1);
    double dx = centre_[b].x - centre_[a].x, dy = centre_[b].y - centre_[a].y;
    const double len = std::hypot(dx, dy);
    if (len == 0) continue;
    dx /= len;
    dy /= len;
    // The normal to the left of the direction of travel, scaled by the ink's
    // thickness across the stroke at this point.
    const double across = width_[i] * kNibAspect;
    const double x = centre_[i].x + dy * offset * across;
    const double y = centre_[i].y - dx * offset * across;
    if (!started) {
      cairo_move_to(cr, x, y);
      started = true;
    } else {
      cairo_line_to(cr, x, y);
    }
  }
}

double BrushStroke::Top() const {
  double top = centre_.front().y - width_.front() / 2;
  for (std::size_t i = 0; i < centre_.size(); ++i) top = std::min(top, centre_[i].y - width_[i] / 2);
  return top;
}

double BrushStroke::Bottom() const {
  double bottom = centre_.front().y + width_.front() / 2;
  for (std::size_t i = 0; i < centre_.size(); ++i) {
    bottom = std::max(bottom, centre_[i].y + width_[i] / 2);
  }
  return bottom;
}
