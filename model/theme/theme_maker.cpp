#include "model/theme/theme_maker.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <optional>

#include "model/checks/readability.h"
#include "model/color_swatches.h"
#include "platform/win/color_contrast.h"
#include "platform/win/theme_schema.h"

ThemeValues MadeTheme::Snapshot() const { return values; }

const char* ThemeStyleId(ThemeStyle style) { return style == ThemeStyle::kVivid ? "vivid" : "soft"; }

std::string MadeThemeName(const std::string& source_name, const MakeOptions& options) {
  std::string name = source_name + (options.style == ThemeStyle::kVivid ? " 鲜明" : " 柔和");
  name += options.dark ? " 深色" : " 浅色";
  if (options.contrast == ContrastLevel::kHigh) name += " 高对比";
  return name;
}

namespace {

constexpr ColourVision kVisions[] = {ColourVision::kTypical, ColourVision::kProtan,
                                     ColourVision::kDeutan, ColourVision::kTritan};
using PerVision = std::array<COLORREF, std::size(kVisions)>;

// A colour the maker may use, with the figures the search asks of it often.
struct Choice {
  COLORREF value = 0;  // as it is stored: a swatch's whole value
  LchColour lch;
  PerVision seen{};
  std::array<LabColour, std::size(kVisions)> lab{};
  bool harmonious = false;  // may stand anywhere in the theme by the harmony rule
  bool carries = false;     // carries the source's hue, with room
};

// How far the search gives way when no theme holds every rule: each level
// lets go of one more rule (the check afterwards still names each broken).
// The style's window comes first: where the palette has none that gives a
// theme, any window of the kind that keeps the rules (a theme in another
// style is better than one that breaks a rule).
enum Relax { kStrict, kAnyWindow, kAnyHue, kNotApart, kNoHierarchy, kTypicalEyeOnly, kAnything };

// Light windows are at least this light (L*), dark ones at most that; a
// vivid window, whose texts need room on both sides of their contrast, is
// kept further from the middle (the second pair: at the high level).
constexpr double kLightWindow = 55, kDarkWindow = 45;
constexpr double kVividLight[] = {75, 82}, kVividDark[] = {25, 20};
// The lightness a soft window is best at.
constexpr double kLightWindowBest = 98, kDarkWindowBest = 14;
// How many of the best choices each part of the window tries.
constexpr std::size_t kPrimaryTries = 4;
constexpr std::size_t kOtherTries = 14;
// Choices closer than this (CIEDE2000) count as one try.
constexpr double kAlike = 4;
// Once a rule is let go, the closest theme is looked for on this many windows.
constexpr std::size_t kRelaxedWindows = 12;
// A strict search gives up after this many windows that give nothing.
constexpr std::size_t kStrictWindows = 60;
// Texts aim this far over what they need, so that the weakest keeps a margin.
constexpr double kAccentAim = 2.5, kSecondaryAim = 3.0;
// What a unit of contrast short of the aim costs an accent, in degrees of hue.
constexpr double kShortOfAim = 8;
// How far over its aim an accent goes freely.
constexpr double kAccentSpan = 4;
// The contrast every text aims at under every eye (the least of the four
// ratios), by level: well over what it needs, so that a theme's weakest text
// reads with ease for everyone. Among the themes that keep the rules, the
// one whose weakest text comes nearest the goal is taken.
constexpr double kGoal[] = {6.5, 7.6};
// What a unit of contrast short of the goal costs a text in its ranking.
constexpr double kShortOfGoal = 100;
// The windows, best first, among which the one whose texts come nearest the
// goal is taken; past them, the first window that gives a theme.
constexpr std::size_t kGoalWindows = 12;

// The items by the part they play.
constexpr int kWindowPrimary[] = {5, 6, 15, 18, 19};
constexpr int kWindowAccent[] = {16, 17, 20};
constexpr int kWindowSecondary[] = {7, 12};

// The choices tried for the 20 items, and the search among them.
class Maker {
 public:
  Maker(COLORREF source, const MakeOptions& options, const std::vector<COLORREF>* palette)
      : source_(ToLch(source & 0x00FFFFFF)), options_(options) {
    grey_ = source_.c <= kSourceChroma;
    if (palette != nullptr) {
      for (COLORREF c : *palette) Add(c);
    } else if (options.exact) {
      Add(source & 0x00FFFFFF);
      AddTones();
    } else {
      for (const ColorSwatch& swatch : kColorSwatches) Add(swatch.color);
    }
  }

  // A theme on the windows of the style, best first: while every rule is
  // kept, the first whose texts reach the goal, else the one of the first
  // kGoalWindows whose weakest text comes nearest it; past those, or once a
  // rule is let go, the first found. A soft theme that takes a window of
  // another kind takes the calmest that gives one; a vivid one, the one
  // nearest the goal among those that still carry the source's hue, else
  // among the others.
  std::optional<ThemeValues> Solve(Relax relax) {
    std::array<std::optional<std::optional<Solved>>, 2> fixed;  // by hue_on_accents
    const bool vivid = options_.style == ThemeStyle::kVivid;
    const bool weigh = relax == kStrict || (relax == kAnyWindow && vivid);
    auto weighed = [&](const Choice& w) { return relax == kStrict || grey_ || w.carries; };
    std::optional<Solved> best, other;  // on a window that carries the hue, on another
    std::size_t tried = 0;
    for (std::size_t bg : RankWindows(relax)) {
      if (relax == kAnyWindow && WindowFits(choices_[bg], kStrict)) continue;  // tried already
      if (++tried > (relax > kAnyWindow ? kRelaxedWindows : kStrictWindows)) break;
      if ((best || other) && tried > kGoalWindows) break;
      const bool hue_on_accents = !grey_ && !choices_[bg].carries;
      auto& group = fixed[hue_on_accents ? 1 : 0];
      if (!group) group = SolveFixed(hue_on_accents, relax);
      if (!*group) continue;
      std::optional<Solved> theme = SolveWindow(**group, bg, hue_on_accents, relax);
      if (!theme) continue;
      if (!weigh) return theme->theme;
      std::optional<Solved>& kept = weighed(choices_[bg]) ? best : other;
      if (!kept || theme->weakest > kept->weakest) kept = theme;
      if (best && best->weakest >= Goal()) break;
    }
    if (best) return best->theme;
    if (other) return other->theme;
    return std::nullopt;
  }

 private:
  // A theme, or part of one, and its weakest text's contrast under every
  // eye, counted no higher than the goal.
  struct Solved {
    ThemeValues theme;
    double weakest = 0;
  };

  void Add(COLORREF value) {
    const bool seen = std::any_of(choices_.begin(), choices_.end(),
                                  [value](const Choice& other) { return other.value == value; });
    if (seen) return;
    Choice c;
    c.value = value;
    for (std::size_t v = 0; v < std::size(kVisions); ++v) {
      c.seen[v] = SeenWith(kVisions[v], value);
      c.lab[v] = ToLab(c.seen[v]);
    }
    c.lch = ToLch(c.lab[0]);
    c.harmonious = InHarmony(c.lch, source_);
    c.carries = !grey_ && c.lch.c > kSourceChroma && HueDistance(c.lch.h, source_.h) <= kHueReach - kHueRoom;
    choices_.push_back(c);
  }

  // Tonal palettes: tones of lightness 0 to 100 at a few chromas and the
  // source's own, in its hue and a little to either side of it; a grey
  // source gets a cool and a warm grey beside its neutral one.
  void AddTones() {
    std::vector<LchColour> palettes = {{0, 0, source_.h}, {0, 4, source_.h}};
    if (grey_) {
      for (double hue : {250.0, 85.0}) palettes.push_back({0, 6, hue});
    } else {
      // Chromas past a muted source's own too: accents in its hue.
      for (double c : {8.0, 16.0, 32.0, 48.0, 72.0}) palettes.push_back({0, c, source_.h});
      palettes.push_back(source_);
      for (double turn : {-45.0, -20.0, 20.0, 45.0}) {
        palettes.push_back({0, 40, std::fmod(source_.h + turn + 360, 360.0)});
      }
    }
    for (const LchColour& palette : palettes) {
      for (int step = 0; step <= 40; ++step) Add(FromLch({step * 2.5, palette.c, palette.h}));
    }
  }

  std::size_t Index(const Choice& c) const { return static_cast<std::size_t>(&c - choices_.data()); }

  double HueOff(const Choice& c) const {
    return c.lch.c > kSourceChroma ? HueDistance(c.lch.h, source_.h) : 180;
  }

  // Whether item `number` may take the colour at all, by the harmony and
  // likeness rules.
  bool Allowed(const Choice& c, bool hue_needed, Relax relax) const {
    if (relax >= kAnyHue) return true;
    return c.harmonious && (!hue_needed || c.carries);
  }

  // Item `number` in colour `c` on its surface in `base`: the report's rule,
  // and the WCAG 2 rule under each simulation (`surface`: as each eye sees
  // it), each at the level asked for and with room.
  bool Readable(const ThemeValues& base, int number, const Choice& c, const PerVision& surface,
                Relax relax) const {
    if (relax >= kAnything) return true;
    const std::optional<Readability> r = JudgeItem(base.With(number, c.value), number);
    if (!r) return true;
    if (!ReadableWithRoom(*r, r->ratio, options_.contrast)) return false;
    if (r->exempt || relax >= kTypicalEyeOnly) return true;
    const double needed = NeededRatio(*r, options_.contrast) + kRatioRoom;
    for (std::size_t v = 1; v < std::size(kVisions); ++v) {
      if (ContrastRatio(c.seen[v], surface[v]) < needed) return false;
    }
    return true;
  }

  // For each choice, whether every item of `items` (all on one surface) is
  // readable in it. Items judged by the same rule share one judgement.
  std::vector<char> ReadableAll(const ThemeValues& base, const std::vector<int>& items,
                                Relax relax) const {
    const COLORREF surface = SurfaceColor(SurfaceOf(items.front()), base);
    PerVision seen{};
    for (std::size_t v = 0; v < std::size(kVisions); ++v) seen[v] = SeenWith(kVisions[v], surface);
    std::vector<int> judged;
    std::vector<std::pair<bool, bool>> rules;  // (large, exempt) of each judged item
    for (int n : items) {
      const std::optional<Readability> r = JudgeItem(base.With(n, choices_.front().value), n);
      const std::pair<bool, bool> rule = r ? std::pair{r->large, r->exempt} : std::pair{true, true};
      if (std::find(rules.begin(), rules.end(), rule) != rules.end()) continue;
      rules.push_back(rule);
      judged.push_back(n);
    }
    std::vector<char> ok(choices_.size(), 1);
    for (std::size_t i = 0; i < choices_.size(); ++i) {
      for (int n : judged) ok[i] = ok[i] && Readable(base, n, choices_[i], seen, relax);
    }
    return ok;
  }

  // The goal of the level asked for, and what falling short of it costs.
  double Goal() const { return kGoal[options_.contrast == ContrastLevel::kHigh ? 1 : 0]; }
  // The goal while every rule is kept; once one is let go, none (the
  // closest theme is the first found, its colours as near the source's).
  double Aim(Relax relax) const { return relax <= kAnyWindow ? Goal() : 0; }
  double ShortOfGoal(double every, Relax relax) const { return kShortOfGoal * std::max(0.0, Aim(relax) - every); }

  // Each choice's contrast with `surface` under every eye: the least of the four.
  std::vector<double> EveryEye(COLORREF surface) const {
    PerVision seen{};
    for (std::size_t v = 0; v < std::size(kVisions); ++v) seen[v] = SeenWith(kVisions[v], surface);
    std::vector<double> every(choices_.size());
    for (std::size_t i = 0; i < choices_.size(); ++i) {
      double least = 21;
      for (std::size_t v = 0; v < std::size(kVisions); ++v) {
        least = std::min(least, ContrastRatio(choices_[i].seen[v], seen[v]));
      }
      every[i] = least;
    }
    return every;
  }

  bool Apart(const Choice& a, const Choice& b, Relax relax) const {
    if (relax >= kNotApart) return true;
    for (std::size_t v = 0; v < std::size(kVisions); ++v) {
      if (ColourDifference(a.lab[v], b.lab[v]) < kConfusableDifference + kApartRoom) return false;
    }
    return true;
  }

  // Two items on one surface that are not a named pair: alike for every eye,
  // or told apart by every eye, with room either way.
  bool Compatible(const Choice& a, const Choice& b, Relax relax) const {
    if (relax >= kNotApart || ColourDifference(a.lab[0], b.lab[0]) < kConfusableDifference - kApartRoom) {
      return true;
    }
    return Apart(a, b, relax);
  }

  // What the texts need at the level asked for.
  double Need(bool large) const {
    if (options_.contrast == ContrastLevel::kHigh) return kHighTextRatio;
    return large ? kLargeTextRatio : kSmallTextRatio;
  }

  // Scores, lower is better. A primary text: the most contrast, hardly tinted.
  double PrimaryScore(const Choice& c, double ratio) const {
    return -ratio + 0.1 * std::max(0.0, c.lch.c - 12) + (c.lch.c > 5 ? 0.01 * HueOff(c) : 0);
  }
  // An accent: the source's hue, about as vivid (a grey source: muted), and
  // a fair margin over what it needs.
  double AccentScore(const Choice& c, double ratio, double needed) const {
    // Short of the aim costs much; far over it a little, for an accent that
    // nears the primary text leaves no room for the other below it.
    const double short_of = kShortOfAim * std::max(0.0, needed + kAccentAim - ratio) +
                            std::max(0.0, ratio - (needed + kAccentAim + kAccentSpan));
    if (grey_) return 0.5 * c.lch.c + short_of;
    const double chroma = options_.style == ThemeStyle::kVivid ? 70.0 : 50.0;
    return HueOff(c) + 0.3 * std::fabs(c.lch.c - std::min(source_.c, chroma)) + short_of;
  }
  // A secondary text: muted, with a fair margin over what it needs.
  double SecondaryScore(const Choice& c, double ratio, double needed) const {
    return 0.15 * c.lch.c + std::fabs(ratio - (needed + kSecondaryAim)) +
           (c.lch.c > 5 && !grey_ ? 0.02 * HueOff(c) : 0);
  }

  // The indexes of the choices that pass `ok`, best first by `score`.
  std::vector<std::size_t> Best(const std::function<bool(const Choice&)>& ok,
                                const std::function<double(const Choice&)>& score,
                                std::size_t limit) const {
    std::vector<std::pair<double, std::size_t>> ranked;
    for (std::size_t i = 0; i < choices_.size(); ++i) {
      if (ok(choices_[i])) ranked.push_back({score(choices_[i]), i});
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    // Only one of each few alike: the tries are worth more spread out.
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < ranked.size() && out.size() < limit; ++i) {
      const Choice& c = choices_[ranked[i].second];
      const bool alike = std::any_of(out.begin(), out.end(), [&](std::size_t kept) {
        return ColourDifference(choices_[kept].lab[0], c.lab[0]) < kAlike;
      });
      if (!alike || limit == choices_.size()) out.push_back(ranked[i].second);
    }
    return out;
  }

  // Whether `c` may be the window of the style and kind asked for.
  bool WindowFits(const Choice& c, Relax relax) const {
    const bool high = options_.contrast == ContrastLevel::kHigh;
    const bool vivid = options_.style == ThemeStyle::kVivid && relax < kAnyWindow;
    const double light = vivid ? kVividLight[high] : kLightWindow;
    const double dark = vivid ? kVividDark[high] : kDarkWindow;
    if (options_.dark ? c.lch.l > dark : c.lch.l < light) return false;
    if (relax >= kAnyHue) return true;
    if (!c.harmonious) return false;
    if (grey_) return c.lch.c <= kSourceChroma - kChromaRoom;
    if (vivid) return c.carries;
    const bool soft = options_.style == ThemeStyle::kSoft && relax < kAnyWindow;
    return (!soft || c.lch.c <= kSoftWindowChroma) && (c.carries || c.lch.c <= kSourceChroma - kChromaRoom);
  }

  // Window backgrounds of the kind, best first. Soft: light (or dark) and
  // softly tinted in the source's hue; vivid: nearest the source itself.
  std::vector<std::size_t> RankWindows(Relax relax) const {
    const LabColour source = ToLab(FromLch(source_));
    const double best_l = options_.dark ? kDarkWindowBest : kLightWindowBest;
    const double best_c = grey_ ? 0 : std::min(source_.c, options_.dark ? 14.0 : 12.0);
    const bool vivid = options_.style == ThemeStyle::kVivid;
    return Best([&](const Choice& c) { return WindowFits(c, relax); },
                [&](const Choice& c) {
                  if (vivid) return ColourDifference(c.lab[0], source);
                  return std::fabs(c.lch.l - best_l) + 0.6 * std::fabs(c.lch.c - best_c) +
                         (c.lch.c > 5 ? 0.3 * HueOff(c) : 0);
                },
                choices_.size());
  }

  double Ratio(const ThemeValues& base, int number, const Choice& c) const {
    return ContrastRatio(c.value, SurfaceColor(SurfaceOf(number), base));
  }

  double Needed(const ThemeValues& base, int number, const Choice& c) const {
    const std::optional<Readability> r = JudgeItem(base.With(number, c.value), number);
    return r ? Need(r->large) : 0;
  }

  std::optional<Solved> SolveFixed(bool hue_on_accents, Relax relax) const;
  std::optional<Solved> SolveWindow(const Solved& fixed, std::size_t bg, bool hue_on_accents, Relax relax) const;
  std::optional<Solved> PickWindowTexts(const ThemeValues& base, const std::vector<double>& every,
                                        const std::vector<std::size_t>& primaries,
                                        const std::vector<std::size_t>& accents,
                                        const std::vector<std::size_t>& secondaries, Relax relax) const;

  LchColour source_;
  MakeOptions options_;
  bool grey_ = false;
  std::vector<Choice> choices_;
};

// The items drawn on the phone's own artwork, which no window changes. Each
// item, or pair, ranks its choices by their scores and how far each falls
// short of the goal under every eye; of a pair the first whose weaker text
// comes nearest the goal is taken.
std::optional<Maker::Solved> Maker::SolveFixed(bool hue_on_accents, Relax relax) const {
  const double aim = Aim(relax);
  Solved solved;
  solved.weakest = aim;
  ThemeValues& theme = solved.theme;
  const ThemeValues base;
  // Each choice's contrast with item `number`'s surface under every eye; the
  // goal for a text that need not be read.
  auto every_eye = [&](int number) {
    const std::optional<Readability> r = JudgeItem(base, number);
    return r && !r->exempt ? EveryEye(r->surface) : std::vector<double>(choices_.size(), aim);
  };
  auto fits = [&](int number, bool hue) {
    const std::vector<char> readable = ReadableAll(base, {number}, relax);
    return [&, hue, readable](const Choice& c) { return Allowed(c, hue, relax) && readable[Index(c)]; };
  };
  using Score = std::function<double(const Choice&)>;
  // The score, and with `goal` what falling short of the goal costs.
  bool goal = aim > 0;
  auto ranked = [&](int number, Score score) {
    return [&, number, score, every = every_eye(number)](const Choice& c) {
      return score(c) + (goal ? ShortOfGoal(every[Index(c)], relax) : 0);
    };
  };
  auto primary = [&](int number) {
    return ranked(number, [&, number](const Choice& c) { return PrimaryScore(c, Ratio(base, number, c)); });
  };
  auto secondary = [&](int number) {
    return ranked(number, [&, number](const Choice& c) {
      return SecondaryScore(c, Ratio(base, number, c), Needed(base, number, c));
    });
  };
  auto accent = [&](int number) {
    return ranked(number, [&, number](const Choice& c) {
      return AccentScore(c, Ratio(base, number, c), Needed(base, number, c));
    });
  };
  auto weaker = [&](int number, std::size_t i) {
    const std::vector<double> every = every_eye(number);
    solved.weakest = std::min(solved.weakest, every[i]);
  };
  auto set = [&](int number, const std::vector<std::size_t>& best) {
    if (best.empty()) return false;
    theme = theme.With(number, choices_[best.front()].value);
    weaker(number, best.front());
    return true;
  };
  // A primary text and the secondary one below it on the same surface: of
  // the primary's best choices, ranked with the goal, the first whose pair's
  // weaker text comes nearest the goal; where none has a secondary below it,
  // the first of those ranked by their scores alone that has one.
  auto pair = [&](int upper, const std::function<bool(const Choice&)>& upper_ok, const Score& upper_score, int lower,
                  const std::function<bool(const Choice&)>& ok, const Score& score) {
    const std::vector<double> upper_every = every_eye(upper), lower_every = every_eye(lower);
    std::optional<std::pair<std::size_t, std::size_t>> chosen;
    double nearest = -1;
    auto try_uppers = [&] {
      for (std::size_t u : Best(upper_ok, upper_score, kOtherTries)) {
        if (std::min(upper_every[u], aim) <= nearest) continue;
        const double top = Ratio(base, upper, choices_[u]);
        const std::vector<std::size_t> best = Best(
            [&](const Choice& c) {
              return ok(c) && Compatible(choices_[u], c, relax) &&
                     (relax >= kNoHierarchy || Ratio(base, lower, c) < top);
            },
            score, 1);
        if (best.empty()) continue;
        const double weakest = std::min({upper_every[u], lower_every[best.front()], aim});
        if (weakest <= nearest) continue;
        chosen = {u, best.front()};
        nearest = weakest;
        if (nearest >= aim || !goal) return;
      }
    };
    try_uppers();
    if (!chosen && goal) {
      goal = false;
      try_uppers();
      goal = true;
    }
    if (!chosen) return false;
    theme = theme.With(upper, choices_[chosen->first].value).With(lower, choices_[chosen->second].value);
    solved.weakest = std::min(solved.weakest, nearest);
    return true;
  };
  const auto disabled = [&](const Choice& c) { return std::fabs(Ratio(base, 13, c) - 3) + 0.15 * c.lch.c; };
  const bool ok = pair(3, fits(3, false), primary(3), 2, fits(2, false), secondary(2)) &&
                  set(11, Best(fits(11, false), primary(11), 1)) &&
                  pair(14, fits(14, false), primary(14), 13, fits(13, false), disabled) &&
                  set(1, Best(fits(1, false), accent(1), 1)) && set(8, Best(fits(8, false), primary(8), 1)) &&
                  pair(9, fits(9, hue_on_accents), accent(9), 10, fits(10, false), secondary(10));
  if (!ok) return std::nullopt;
  return solved;
}

// The window background `bg` and the ten texts on it, over `fixed`.
std::optional<Maker::Solved> Maker::SolveWindow(const Solved& fixed, std::size_t bg, bool hue_on_accents,
                                                Relax relax) const {
  const ThemeValues base = fixed.theme.With(kWindowBackgroundItem, choices_[bg].value);
  std::vector<int> texts(std::begin(kWindowPrimary), std::end(kWindowPrimary));
  texts.insert(texts.end(), std::begin(kWindowAccent), std::end(kWindowAccent));
  texts.insert(texts.end(), std::begin(kWindowSecondary), std::end(kWindowSecondary));
  const std::vector<char> readable = ReadableAll(base, texts, relax);
  const std::vector<double> every = EveryEye(choices_[bg].value);
  auto fits = [&](bool hue) {
    return [&, hue](const Choice& c) { return readable[Index(c)] && Allowed(c, hue, relax); };
  };
  const double needed = Need(false);
  auto ratio = [&](const Choice& c) { return ContrastRatio(c.value, choices_[bg].value); };
  // The texts' best choices ranked with the goal; where none of those make
  // a theme, ranked by their scores alone.
  std::optional<Solved> theme;
  for (bool goal : {Aim(relax) > 0, false}) {
    auto short_of = [&](const Choice& c) { return goal ? ShortOfGoal(every[Index(c)], relax) : 0; };
    const auto primaries =
        Best(fits(false), [&](const Choice& c) { return PrimaryScore(c, ratio(c)) + short_of(c); }, kPrimaryTries);
    const auto accents = Best(
        fits(hue_on_accents), [&](const Choice& c) { return AccentScore(c, ratio(c), needed) + short_of(c); },
        kOtherTries);
    const auto secondaries = Best(
        fits(false), [&](const Choice& c) { return SecondaryScore(c, ratio(c), needed) + short_of(c); }, kOtherTries);
    theme = PickWindowTexts(base, every, primaries, accents, secondaries, relax);
    if (theme) break;
  }
  if (theme) theme->weakest = std::min(theme->weakest, fixed.weakest);
  return theme;
}

// A primary, two accents and a secondary that keep the window's hierarchy
// and stay apart: the first, in the order of their rankings, whose weakest
// text under every eye comes nearest the goal.
std::optional<Maker::Solved> Maker::PickWindowTexts(const ThemeValues& base, const std::vector<double>& every,
                                                    const std::vector<std::size_t>& primaries,
                                                    const std::vector<std::size_t>& accents,
                                                    const std::vector<std::size_t>& secondaries, Relax relax) const {
  const COLORREF bg = base.Item(kWindowBackgroundItem);
  auto ratio = [&](std::size_t i) { return ContrastRatio(choices_[i].value, bg); };
  auto under = [&](std::size_t lower, std::size_t upper) {
    return relax >= kNoHierarchy || ratio(lower) < ratio(upper);
  };
  const double aim = Aim(relax);
  std::optional<Solved> best;
  // Whether a text of contrast `e` under every eye leaves the best found behind.
  auto better = [&](double e) { return !best || std::min(e, aim) > best->weakest; };
  for (std::size_t p : primaries) {
    const Choice& primary = choices_[p];
    if (!better(every[p])) continue;
    for (std::size_t a1 : accents) {
      const double w1 = std::min(every[p], every[a1]);
      if (!better(w1) || !under(a1, p) || !Apart(primary, choices_[a1], relax)) continue;
      for (std::size_t a2 : accents) {
        const double w2 = std::min(w1, every[a2]);
        if (a2 == a1 || !better(w2) || !under(a2, p) || !Apart(primary, choices_[a2], relax) ||
            !Apart(choices_[a1], choices_[a2], relax)) {
          continue;
        }
        for (std::size_t s : secondaries) {
          const double w = std::min(w2, every[s]);
          if (!better(w) || !under(s, p) || !Apart(primary, choices_[s], relax) ||
              !Compatible(choices_[s], choices_[a1], relax) || !Compatible(choices_[s], choices_[a2], relax)) {
            continue;
          }
          ThemeValues theme = base;
          for (int n : kWindowPrimary) theme = theme.With(n, primary.value);
          for (int n : kWindowSecondary) theme = theme.With(n, choices_[s].value);
          theme = theme.With(16, choices_[a1].value).With(17, choices_[a2].value).With(20, choices_[a1].value);
          best = Solved{theme, std::min(w, aim)};
          if (best->weakest >= aim) return best;
        }
      }
    }
  }
  return best;
}

MadeTheme Made(const ThemeValues& theme, COLORREF source, const MakeOptions& options) {
  MadeTheme made;
  for (int n = 1; n <= ThemeValues::kItemCount; ++n) {
    made.values.items[static_cast<std::size_t>(n - 1)] = theme.Item(n);
  }
  made.source = source;
  made.options = options;
  made.check = CheckMadeTheme(theme, source, options.contrast);
  return made;
}

// The theme that holds every rule, else the closest the search finds as it
// lets go of rules.
MadeTheme MakeWith(Maker& maker, COLORREF source, const MakeOptions& options) {
  for (int relax = kStrict; relax <= kAnything; ++relax) {
    if (std::optional<ThemeValues> theme = maker.Solve(static_cast<Relax>(relax))) {
      return Made(*theme, source, options);
    }
  }
  return Made(ThemeValues{}, source, options);
}

}  // namespace

MadeTheme MakeTheme(COLORREF source, const MakeOptions& options) {
  Maker maker(source, options, nullptr);
  return MakeWith(maker, source, options);
}

MadeTheme MakeThemeFromPalette(COLORREF source, const MakeOptions& options, const std::vector<COLORREF>& palette) {
  Maker maker(source, options, &palette);
  return MakeWith(maker, source, options);
}

std::vector<MadeTheme> MakeThemeCandidates(COLORREF source, bool exact, ContrastLevel contrast) {
  std::vector<MadeTheme> all;
  for (bool dark : {false, true}) {
    for (ThemeStyle style : {ThemeStyle::kSoft, ThemeStyle::kVivid}) {
      all.push_back(MakeTheme(source, MakeOptions{dark, exact, style, contrast}));
    }
  }
  return all;
}
