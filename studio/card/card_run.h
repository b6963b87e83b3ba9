// The item card's run over the studio's panel: the card opens for the item
// chosen and runs until closed, and a swatch chosen there is written into
// the item the card shows and shown at once, with what became of it.
#pragma once

#include <functional>
#include <string>

class ItemCard;
class PreviewPanel;
class ThemeStore;

class CardRun {
 public:
  // `store`: where a swatch chosen is written (a step of the history);
  // `reload`: reads the theme again and shows it (the card too, through
  // Refresh).
  CardRun(PreviewPanel& panel, ThemeStore& store, std::function<void()> reload);

  // Runs the card of item `number` until it is closed.
  void Run(int number);
  bool IsOpen() const { return card_ != nullptr; }
  // The open card shows the panel's theme again.
  void Refresh();
  // The open card says how a command went.
  void Report(const std::u16string& message, bool failed);

 private:
  void Pick(int swatch);

  PreviewPanel& panel_;
  ThemeStore& store_;
  std::function<void()> reload_;
  ItemCard* card_ = nullptr;
};
