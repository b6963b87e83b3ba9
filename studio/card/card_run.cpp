#include "studio/card/card_run.h"

#include "model/theme_targets.h"
#include "platform/shell/shell.h"
#include "platform/win/registry.h"
#include "studio/card/item_card.h"
#include "studio/preview/preview_panel.h"
#include "studio/studio_texts.h"
#include "model/color_swatches.h"
#include "model/theme/theme_store.h"

CardRun::CardRun(PreviewPanel& panel, ThemeStore& store, std::function<void()> reload)
    : panel_(panel), store_(store), reload_(std::move(reload)) {}

void CardRun::Run(int number) {
  Shell* shell = panel_.GetShell();
  if (shell == nullptr || card_ != nullptr || number < 1 || number > static_cast<int>(kThemeTargetCount)) {
    return;
  }
  ItemCard card(shell, [this](int swatch) { Pick(swatch); });
  card_ = &card;
  panel_.SetSelected(number);
  card.Show(panel_.theme(), number, PreviewPanel::kWidth, PreviewPanel::kHeight, panel_.Vision());
  card.Run();
  card_ = nullptr;
  panel_.SetSelected(0);
  panel_.Repaint();
}

void CardRun::Refresh() {
  if (card_ != nullptr) {
    card_->Show(panel_.theme(), card_->Item(), PreviewPanel::kWidth, PreviewPanel::kHeight, panel_.Vision());
  }
}

void CardRun::Report(const std::u16string& message, bool failed) {
  if (card_ == nullptr) return;
  card_->SetResult(message, failed);
  Refresh();
}

void CardRun::Pick(int swatch) {
  if (card_ == nullptr) return;
  const int item = card_->Item();
  // Only the phone's own swatches are written, and only into the item the
  // card shows.
  const ColorSwatch* chosen = FindColorSwatch(swatch);
  std::string problem;
  int changed = 0;
  const bool written = chosen != nullptr && store_.SetItem(item, chosen->color, problem, &changed);
  if (reload_) reload_();
  const ThemeTarget& target = kThemeTargets[static_cast<std::size_t>(item - 1)];
  Report(!written       ? studio_text::SwatchNotWritten(RegistryFilePath())
         : changed == 0 ? std::u16string(studio_text::kSwatchUnchanged)
                        : studio_text::SwatchWritten(swatch, target.label),
         !written);
}
