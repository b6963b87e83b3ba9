// A painted brush stroke: a centreline with a pressure along it, laid down by
// an angled oval nib, so strokes swell, taper and thin out sideways like ink.
#pragma once

#include <vector>

#include <cairo.h>

struct BrushPoint {
  double x;
  double y;
};

class BrushStroke {
 public:
  // A stroke along the cubic curve p0 to p3 (p1, p2 its control points);
  // `width` is the nib's full width at full pressure.
  static BrushStroke Cubic(BrushPoint p0, BrushPoint p1, BrushPoint p2, BrushPoint p3,
                           double width);
  // A stroke along an ellipse from angle `from` to `to` (radians, y down).
  static BrushStroke Arc(BrushPoint centre, double rx, double ry, double from, double to,
                         double width);
  // A short dab: a blob from a to b, for dots.
  static BrushStroke Dab(BrushPoint a, BrushPoint b, double width);

  // Adds the stroke's outline to the current path, `grow` pixels wider all
  // round. Fill with the winding rule: the nib prints overlap as one shape.
  void AddOutline(cairo_t* cr, double grow) const;

  // Adds a thin line along the stroke, `offset` of the local width to the
  // side, between the fractions `from` and `to` of its length.
  void AddStreak(cairo_t* cr, double offset, double from, double to) const;

  double Top() const;
  double Bottom() const;

 private:
  std::vector<BrushPoint> centre_;
  std::vector<double> width_;  // full nib width at each centre point
};
