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
};

Choice MakeChoice(COLORREF value) {
  Choice c;
  c.value = value;
  for (std::size_t v = 0; v < std::size(kVisions); ++v) {
    c.seen[v] = SeenWith(kVisions[v], value);
    c.lab[v] = ToLab(c.seen[v]);
  }
  c.lch = ToLch(c.lab[0]);
  return c;
}

// How far the search gives way when no theme holds every rule: each level
// lets go of one more rule (the check afterwards still names each broken).
enum Relax { kStrict, kAnyHue, kNotApart, kNoHierarchy, kTypicalEyeOnly, kAnything };

// Light windows are at least this light (L*), dark ones at most that.
constexpr double kLightWindow = 55;
constexpr double kDarkWindow = 45;
// The lightness a window background is best at.
constexpr double kLightWindowBest = 94;
constexpr double kDarkWindowBest = 16;
// How many of the best choices each part of the window tries.
constexpr std::size_t kPrimaryTries = 4;
constexpr std::size_t kOtherTries = 14;
// A source with less chroma than this gets muted greys among its tones.
constexpr double kMutedSource = 20;
// Choices closer than this (CIEDE2000) count as one try.
constexpr double kAlike = 4;
// Once a rule is let go, the closest theme is looked for on this many windows.
constexpr std::size_t kRelaxedWindows = 12;

// The items by the part they play.
constexpr int kWindowPrimary[] = {5, 6, 15, 18, 19};
constexpr int kWindowAccent[] = {16, 17, 20};
constexpr int kWindowSecondary[] = {7, 12};

// The choices tried for the 20 items, and the search among them.
class Maker {
 public:
  Maker(COLORREF source, bool exact) : source_(ToLch(source & 0x00FFFFFF)) {
    grey_ = source_.c <= kSourceChroma;
    if (exact) {
      AddTones();
    } else {
      for (const ColorSwatch& swatch : kColorSwatches) choices_.push_back(MakeChoice(swatch.color));
    }
  }

  // Up to `count` themes of one kind, each on another window background.
  std::vector<ThemeValues> Solve(bool dark, std::size_t count, Relax relax) {
    std::vector<ThemeValues> found;
    std::array<std::optional<std::optional<ThemeValues>>, 2> fixed;  // by hue_on_accents
    std::vector<std::size_t> windows;
    std::size_t tried = 0;
    for (std::size_t bg : RankWindows(dark, relax)) {
      // Each theme on a window that looks another colour than the others'.
      const bool alike = std::any_of(windows.begin(), windows.end(), [&](std::size_t other) {
        return ColourDifference(choices_[other].lab[0], choices_[bg].lab[0]) < kConfusableDifference;
      });
      if (alike) continue;
      if (relax > kStrict && ++tried > kRelaxedWindows) break;
      const bool hue_on_accents = !grey_ && !CarriesHue(choices_[bg]);
      auto& group = fixed[hue_on_accents ? 1 : 0];
      if (!group) group = SolveFixed(hue_on_accents, relax);
      if (!*group) continue;
      std::optional<ThemeValues> theme = SolveWindow(**group, bg, hue_on_accents, relax);
      if (!theme) continue;
      found.push_back(*theme);
      windows.push_back(bg);
      if (found.size() == count) break;
    }
    return found;
  }

 private:
  // Tonal palettes of the source's hue: tones of lightness 0 to 100 at a few
  // chromas up to the source's own.
  void AddTones() {
    std::vector<LchColour> palettes = {{0, 0, source_.h}, {0, 4, source_.h}};
    if (source_.c < kMutedSource) {
      // A grey source has no hue of its own, a muted one little: a cool and
      // a warm grey beside it.
      for (double hue : {250.0, 85.0}) {
        for (double c : {12.0, 20.0}) palettes.push_back({0, c, hue});
      }
    }
    if (!grey_) {
      for (double c : {8.0, 16.0, 32.0, 48.0, 72.0}) {
        if (c < source_.c) palettes.push_back({0, c, source_.h});
      }
      palettes.push_back(source_);
      // A second hue for the accents where the window carries the source's.
      palettes.push_back({0, std::min(source_.c, 48.0), std::fmod(source_.h + 60, 360.0)});
    }
    for (const LchColour& palette : palettes) {
      for (int step = 0; step <= 40; ++step) {
        const COLORREF c = FromLch({step * 2.5, palette.c, palette.h});
        const bool seen = std::any_of(choices_.begin(), choices_.end(),
                                      [c](const Choice& other) { return other.value == c; });
        if (!seen) choices_.push_back(MakeChoice(c));
      }
    }
  }

  std::size_t Index(const Choice& c) const { return static_cast<std::size_t>(&c - choices_.data()); }

  double HueOff(const Choice& c) const {
    return c.lch.c > kSourceChroma ? HueDistance(c.lch.h, source_.h) : 180;
  }
  bool CarriesHue(const Choice& c) const { return !grey_ && HueOff(c) <= kHueReach; }

  // Whether item `number` may take the colour at all, by the likeness rule.
  bool Allowed(const Choice& c, int number, bool hue_needed, Relax relax) const {
    if (relax >= kAnyHue) return true;
    if (grey_) return c.lch.c <= (number == kWindowBackgroundItem ? kSourceChroma : kGreyThemeChroma);
    return !hue_needed || CarriesHue(c);
  }

  // Item `number` in colour `c` on its surface in `base`: the report's rule,
  // and the WCAG 2 rule under each simulation (`surface`: as each eye sees it).
  bool Readable(const ThemeValues& base, int number, const Choice& c, const PerVision& surface,
                Relax relax) const {
    if (relax >= kAnything) return true;
    const std::optional<Readability> r = JudgeItem(base.With(number, c.value), number);
    if (!r) return true;
    if (!r->passes()) return false;
    if (r->exempt || relax >= kTypicalEyeOnly) return true;
    for (std::size_t v = 1; v < std::size(kVisions); ++v) {
      if (ContrastRatio(c.seen[v], surface[v]) < r->needed_ratio()) return false;
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

  bool Apart(const Choice& a, const Choice& b, Relax relax) const {
    if (relax >= kNotApart) return true;
    for (std::size_t v = 0; v < std::size(kVisions); ++v) {
      if (ColourDifference(a.lab[v], b.lab[v]) < kConfusableDifference) return false;
    }
    return true;
  }

  // Two items on one surface that are not a named pair: alike for every eye,
  // or told apart by every eye (as the studio's simulation marks them).
  bool Compatible(const Choice& a, const Choice& b, Relax relax) const {
    if (relax >= kNotApart || ColourDifference(a.lab[0], b.lab[0]) < kConfusableDifference) return true;
    return Apart(a, b, relax);
  }

  // Scores, lower is better. A primary text: the most contrast, hardly tinted.
  double PrimaryScore(const Choice& c, double ratio) const {
    return -ratio + 0.1 * std::max(0.0, c.lch.c - 12) + (c.lch.c > 5 ? 0.01 * HueOff(c) : 0);
  }
  // An accent: the source's hue, about as vivid (a grey source: muted).
  double AccentScore(const Choice& c) const {
    if (grey_) return 0.5 * c.lch.c;
    return HueOff(c) + 0.3 * std::fabs(c.lch.c - std::min(source_.c, 70.0));
  }
  // A secondary text: muted, with a fair margin over what it needs.
  double SecondaryScore(const Choice& c, double ratio, double needed) const {
    return 0.15 * c.lch.c + std::fabs(ratio - (needed + 2.5)) +
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

  // Window backgrounds of the kind, best first: those that carry the
  // source's hue, then neutral ones (the accents carry it), then the rest.
  std::vector<std::size_t> RankWindows(bool dark, Relax relax) const {
    const double best_l = dark ? kDarkWindowBest : kLightWindowBest;
    const double best_c = grey_ ? 0 : std::min(source_.c, dark ? 30.0 : 22.0);
    return Best(
        [&](const Choice& c) {
          if (dark ? c.lch.l > kDarkWindow : c.lch.l < kLightWindow) return false;
          return Allowed(c, kWindowBackgroundItem, false, relax) &&
                 (relax >= kAnyHue || grey_ || CarriesHue(c) || c.lch.c <= kSourceChroma);
        },
        [&](const Choice& c) {
          const double tier = CarriesHue(c) ? 0 : c.lch.c <= kSourceChroma ? 1000 : 2000;
          return tier + std::fabs(c.lch.l - best_l) + 0.5 * std::fabs(c.lch.c - best_c) +
                 (CarriesHue(c) ? 0.5 * HueOff(c) : 0);
        },
        choices_.size());
  }

  double Ratio(const ThemeValues& base, int number, const Choice& c) const {
    return ContrastRatio(c.value, SurfaceColor(SurfaceOf(number), base));
  }

  // The items drawn on the phone's own artwork, which no window changes.
  std::optional<ThemeValues> SolveFixed(bool hue_on_accents, Relax relax) const {
    ThemeValues theme;
    const ThemeValues base;
    auto fits = [&](int number, bool hue) {
      const std::vector<char> readable = ReadableAll(base, {number}, relax);
      return [&, number, hue, readable](const Choice& c) {
        return Allowed(c, number, hue, relax) && readable[Index(c)];
      };
    };
    auto primary = [&](int number) {
      return [&, number](const Choice& c) { return PrimaryScore(c, Ratio(base, number, c)); };
    };
    auto secondary = [&](int number) {
      return [&, number](const Choice& c) {
        const std::optional<Readability> r = JudgeItem(base.With(number, c.value), number);
        return SecondaryScore(c, Ratio(base, number, c), r ? r->needed_ratio() : 0);
      };
    };
    auto set = [&](int number, const std::vector<std::size_t>& best) {
      if (best.empty()) return false;
      theme = theme.With(number, choices_[best.front()].value);
      return true;
    };
    // A primary text and the secondary one below it on the same surface: the
    // best pair, trying the primary's choices in order.
    auto pair = [&](int upper, const std::vector<std::size_t>& uppers, int lower,
                    const std::function<bool(const Choice&)>& ok,
                    const std::function<double(const Choice&)>& score) {
      for (std::size_t u : uppers) {
        const double top = Ratio(base, upper, choices_[u]);
        const std::vector<std::size_t> best = Best(
            [&](const Choice& c) {
              return ok(c) && Compatible(choices_[u], c, relax) &&
                     (relax >= kNoHierarchy || Ratio(base, lower, c) < top);
            },
            score, 1);
        if (best.empty()) continue;
        theme = theme.With(upper, choices_[u].value).With(lower, choices_[best.front()].value);
        return true;
      }
      return false;
    };
    const auto accent = [&](const Choice& c) { return AccentScore(c); };
    const auto disabled = [&](const Choice& c) {
      return std::fabs(Ratio(base, 13, c) - 3) + 0.15 * c.lch.c;
    };
    const bool ok = pair(3, Best(fits(3, false), primary(3), kOtherTries), 2, fits(2, false), secondary(2)) &&
                    set(11, Best(fits(11, false), primary(11), 1)) &&
                    pair(14, Best(fits(14, false), primary(14), kOtherTries), 13, fits(13, false), disabled) &&
                    set(1, Best(fits(1, false), accent, 1)) &&
                    set(8, Best(fits(8, false), primary(8), 1)) &&
                    pair(9, Best(fits(9, hue_on_accents), accent, kOtherTries), 10, fits(10, false),
                         secondary(10));
    if (!ok) return std::nullopt;
    return theme;
  }

  // The window background `bg` and the ten texts on it, over `fixed`.
  std::optional<ThemeValues> SolveWindow(const ThemeValues& fixed, std::size_t bg,
                                           bool hue_on_accents, Relax relax) const {
    const ThemeValues base = fixed.With(kWindowBackgroundItem, choices_[bg].value);
    std::vector<int> texts(std::begin(kWindowPrimary), std::end(kWindowPrimary));
    texts.insert(texts.end(), std::begin(kWindowAccent), std::end(kWindowAccent));
    texts.insert(texts.end(), std::begin(kWindowSecondary), std::end(kWindowSecondary));
    const std::vector<char> readable = ReadableAll(base, texts, relax);
    auto fits_all = [&](const auto& items, bool hue) {
      return [&, hue](const Choice& c) {
        if (!readable[Index(c)]) return false;
        for (int n : items) {
          if (!Allowed(c, n, hue, relax)) return false;
        }
        return true;
      };
    };
    const double needed = kSmallTextRatio;
    auto ratio = [&](const Choice& c) { return ContrastRatio(c.value, choices_[bg].value); };
    const auto primaries = Best(fits_all(kWindowPrimary, false),
                                [&](const Choice& c) { return PrimaryScore(c, ratio(c)); }, kPrimaryTries);
    const auto accents = Best(fits_all(kWindowAccent, hue_on_accents),
                              [&](const Choice& c) { return AccentScore(c); }, kOtherTries);
    const auto secondaries = Best(fits_all(kWindowSecondary, false),
                                  [&](const Choice& c) { return SecondaryScore(c, ratio(c), needed); },
                                  kOtherTries);
    auto under = [&](std::size_t lower, std::size_t upper) {
      return relax >= kNoHierarchy || ratio(choices_[lower]) < ratio(choices_[upper]);
    };
    for (std::size_t p : primaries) {
      const Choice& primary = choices_[p];
      for (std::size_t a1 : accents) {
        if (!under(a1, p) || !Apart(primary, choices_[a1], relax)) continue;
        for (std::size_t a2 : accents) {
          if (a2 == a1 || !under(a2, p) || !Apart(primary, choices_[a2], relax) ||
              !Apart(choices_[a1], choices_[a2], relax)) {
            continue;
          }
          for (std::size_t s : secondaries) {
            if (!under(s, p) || !Apart(primary, choices_[s], relax) ||
                !Compatible(choices_[s], choices_[a1], relax) || !Compatible(choices_[s], choices_[a2], relax)) {
              continue;
            }
            ThemeValues theme = base;
            for (int n : kWindowPrimary) theme = theme.With(n, primary.value);
            for (int n : kWindowSecondary) theme = theme.With(n, choices_[s].value);
            theme = theme.With(16, choices_[a1].value).With(17, choices_[a2].value);
            return theme.With(20, choices_[a1].value);
          }
        }
      }
    }
    return std::nullopt;
  }

  LchColour source_;
  bool grey_ = false;
  std::vector<Choice> choices_;
};

MadeTheme Made(const ThemeValues& theme, COLORREF source, bool dark, bool exact) {
  MadeTheme made;
  for (int n = 1; n <= ThemeValues::kItemCount; ++n) {
    made.values.items[static_cast<std::size_t>(n - 1)] = theme.Item(n);
  }
  made.source = source;
  made.dark = dark;
  made.exact = exact;
  made.check = CheckMadeTheme(theme, source);
  return made;
}

// Up to `count` themes of one kind: those that hold every rule, then, to
// make up the count, the closest the search finds as it lets go of rules.
std::vector<MadeTheme> MakeKind(Maker& maker, COLORREF source, bool dark, bool exact,
                                std::size_t count) {
  std::vector<MadeTheme> made;
  for (int relax = kStrict; relax <= kAnything && made.size() < count; ++relax) {
    for (const ThemeValues& theme : maker.Solve(dark, count, static_cast<Relax>(relax))) {
      MadeTheme m = Made(theme, source, dark, exact);
      const bool again = std::any_of(made.begin(), made.end(),
                                     [&](const MadeTheme& other) { return other.values == m.values; });
      if (!again && made.size() < count) made.push_back(std::move(m));
    }
  }
  // What the check finds passing goes first; the search's own order after.
  std::stable_sort(made.begin(), made.end(), [](const MadeTheme& a, const MadeTheme& b) {
    return a.check.breaches.size() < b.check.breaches.size();
  });
  return made;
}

}  // namespace

MadeTheme MakeTheme(COLORREF source, bool dark, bool exact) {
  // The first of the two that the candidates hold, chosen among them alike.
  Maker maker(source, exact);
  return MakeKind(maker, source, dark, exact, 2).front();
}

std::vector<MadeTheme> MakeThemeCandidates(COLORREF source, bool exact) {
  Maker maker(source, exact);
  std::vector<MadeTheme> all = MakeKind(maker, source, false, exact, 2);
  for (MadeTheme& m : MakeKind(maker, source, true, exact, 2)) all.push_back(std::move(m));
  return all;
}
