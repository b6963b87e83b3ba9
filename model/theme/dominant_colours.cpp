#include "model/theme/dominant_colours.h"

#include <algorithm>
#include <array>
#include <limits>

namespace {

// Pixels are first counted in boxes of 32 levels a channel, then the boxes
// are grouped into at most kGroups colours by k-means in CIELAB.
constexpr int kLevelBits = 5;
constexpr std::size_t kBoxes = std::size_t{1} << (3 * kLevelBits);
constexpr std::size_t kGroups = 10;
constexpr int kRounds = 10;
// Groups closer than this (CIEDE2000) are one colour.
constexpr double kSameColour = 6;

struct Box {
  std::uint64_t count = 0;
  std::uint64_t r = 0, g = 0, b = 0;
  LabColour lab;
};

double Distance2(const LabColour& x, const LabColour& y) {
  const double dl = x.l - y.l, da = x.a - y.a, db = x.b - y.b;
  return dl * dl + da * da + db * db;
}

struct Group {
  double weight = 0;
  LabColour centre;
};

// Seeds far apart and heavy: the heaviest box, then each time the box with
// the most weight times squared distance to the seeds so far.
std::vector<Group> Seeds(const std::vector<const Box*>& boxes) {
  std::vector<Group> groups;
  std::vector<double> nearest(boxes.size(), std::numeric_limits<double>::infinity());
  while (groups.size() < kGroups && groups.size() < boxes.size()) {
    std::size_t best = 0;
    double best_value = -1;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      const double value = groups.empty() ? static_cast<double>(boxes[i]->count)
                                          : static_cast<double>(boxes[i]->count) * nearest[i];
      if (value > best_value) {
        best_value = value;
        best = i;
      }
    }
    if (best_value <= 0) break;
    groups.push_back({0, boxes[best]->lab});
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      nearest[i] = std::min(nearest[i], Distance2(boxes[i]->lab, boxes[best]->lab));
    }
  }
  return groups;
}

void Cluster(const std::vector<const Box*>& boxes, std::vector<Group>& groups) {
  std::vector<std::size_t> owner(boxes.size(), 0);
  for (int round = 0; round < kRounds; ++round) {
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      double nearest = std::numeric_limits<double>::infinity();
      for (std::size_t g = 0; g < groups.size(); ++g) {
        const double d = Distance2(boxes[i]->lab, groups[g].centre);
        if (d < nearest) {
          nearest = d;
          owner[i] = g;
        }
      }
    }
    std::vector<Group> sums(groups.size());
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      Group& s = sums[owner[i]];
      const double w = static_cast<double>(boxes[i]->count);
      s.weight += w;
      s.centre.l += w * boxes[i]->lab.l;
      s.centre.a += w * boxes[i]->lab.a;
      s.centre.b += w * boxes[i]->lab.b;
    }
    for (std::size_t g = 0; g < groups.size(); ++g) {
      groups[g].weight = sums[g].weight;
      if (sums[g].weight > 0) {
        groups[g].centre = {sums[g].centre.l / sums[g].weight, sums[g].centre.a / sums[g].weight,
                            sums[g].centre.b / sums[g].weight};
      }
    }
  }
}

// Clear colours over a fair part first, by share and chroma; then the rest
// by share alone.
double Rank(const DominantColour& c) {
  if (c.clear) return 1 + c.share * std::min(c.lch.c, 60.0) / 60;
  return c.share;
}

}  // namespace

std::vector<DominantColour> FindDominantColours(const std::uint32_t* pixels, std::size_t count) {
  std::vector<Box> boxes(kBoxes);
  std::uint64_t opaque = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t p = pixels[i];
    if ((p >> 24) < 128) continue;
    const std::uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    const int shift = 8 - kLevelBits;
    Box& box = boxes[(r >> shift) << (2 * kLevelBits) | (g >> shift) << kLevelBits | (b >> shift)];
    ++box.count;
    box.r += r;
    box.g += g;
    box.b += b;
    ++opaque;
  }
  if (opaque == 0) return {};
  std::vector<const Box*> used;
  for (Box& box : boxes) {
    if (box.count == 0) continue;
    const auto mean = [&](std::uint64_t sum) { return static_cast<int>((sum + box.count / 2) / box.count); };
    box.lab = ToLab(RGB(mean(box.r), mean(box.g), mean(box.b)));
    used.push_back(&box);
  }
  std::vector<Group> groups = Seeds(used);
  Cluster(used, groups);
  // Groups that ended as one colour are one.
  std::stable_sort(groups.begin(), groups.end(),
                   [](const Group& a, const Group& b) { return a.weight > b.weight; });
  std::vector<Group> merged;
  for (const Group& g : groups) {
    if (g.weight <= 0) continue;
    auto same = std::find_if(merged.begin(), merged.end(), [&](const Group& m) {
      return ColourDifference(m.centre, g.centre) < kSameColour;
    });
    if (same == merged.end()) {
      merged.push_back(g);
      continue;
    }
    const double w = same->weight + g.weight;
    same->centre = {(same->centre.l * same->weight + g.centre.l * g.weight) / w,
                    (same->centre.a * same->weight + g.centre.a * g.weight) / w,
                    (same->centre.b * same->weight + g.centre.b * g.weight) / w};
    same->weight = w;
  }
  std::vector<DominantColour> colours;
  for (const Group& g : merged) {
    DominantColour c;
    c.lch = ToLch(g.centre);
    c.color = FromLch(c.lch);
    c.share = g.weight / static_cast<double>(opaque);
    c.clear = c.lch.c >= kClearChroma && c.share >= kFairShare;
    colours.push_back(c);
  }
  std::stable_sort(colours.begin(), colours.end(),
                   [](const DominantColour& a, const DominantColour& b) { return Rank(a) > Rank(b); });
  return colours;
}
