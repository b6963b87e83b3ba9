// The studio's theme shelf: the current 20 colours saved under a name the
// user types, the presets and saved themes listed with a strip of their
// colours, each applied after a question that lists what changes (item: old
// -> new), exported into the documents folder, and the saved ones deleted
// (asked first). It is a layer of the one layer type over the whole studio,
// run through the one modal run: its controls are elements fed by the one
// route, they call back through the shell's queue, Tab and the
// arrows reach every control, Esc and "关闭" close it; the window's undo and
// redo keys act while it is open (not under its questions). Every write goes
// through the theme's store: one locked, durable write of the registry (one
// step of the history) or of a theme file. The list follows the themes
// folder: a theme saved or deleted by another program shows or goes, and one
// that is gone when it is applied or deleted is said to be gone. Every
// message it shows is Chinese; the details of a failure go to standard
// error.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/ui_scroll_win.h"
#include "platform/win/reg_file_format.h"
#include "studio/widgets/studio_controls.h"
#include "studio/widgets/studio_layer.h"
#include "studio/widgets/text_field.h"
#include "model/theme/theme_store.h"

class ColourMaker;
class ConfirmationSheet;

class ThemeShelf : public StudioLayer {
 public:
  // Over the studio of `width` x the screen's height; `shell`: the shell
  // the studio is in; `store`: the theme's store every write goes through.
  // `import`: imports the registry file at a path chosen under "导入…" (and
  // says how that went).
  ThemeShelf(int width, Shell* shell, ThemeStore& store, std::function<void(const std::string& path)> import);
  ~ThemeShelf() override;

  // Runs until closed, taking typed text meanwhile; with `picture`, the
  // 配色 place opens over it at once, its themes made from that picture.
  void Run(const std::string& picture = {});

  // The format its exports are written in, chosen with the format button.
  RegFileForm ExportForm() const { return form_; }
  void SetExportForm(RegFileForm form);
  // Shows how a command went in the status line (the shelf's own, or the
  // window's undo and redo, which act while the shelf is open).
  void Say(std::u16string message, bool failed);
  // A file dropped on the window (`picture` says whether it is one) while
  // the 配色 place is open and nothing is asked over it: a picture to make
  // themes from (true). A picture dropped on the shelf itself opens the 配色
  // place on it (true). False otherwise.
  bool TakeDroppedFile(const std::string& path, bool picture);
  // The themes folder changed (another Tintor, or a shell, saved or deleted
  // a theme): the list is read again, at once or when the question or the
  // 配色 place open over it closes.
  void ThemesChanged();

  // ---- The shell's side ----
  bool LetsWindowKeysAct() const override { return true; }
  // A click on the phone closes the shelf, and does nothing else.
  void PressedElsewhere() override { EndModal(0); }

 protected:
  void PaintContent(Canvas& canvas) override;

 private:
  // What a row's buttons do.
  enum class Action { kApply = 0, kExport = 1, kDelete = 2 };

  // A theme on the shelf: a preset, or a saved theme (one whose file cannot
  // be read can only be deleted).
  struct Entry {
    std::string name;
    bool preset = false;
    bool readable = true;
    ThemeValues values;
    ThemeApply how = ThemeApply::kOver;  // a preset is put as a whole
    bool saved = false;                   // a file in the themes folder
  };

  class Row;
  // Places the controls, top to bottom, and the list under them.
  void PlaceControls();
  // Reads the presets and the saved themes again and lays out their rows.
  void Fill();
  void Close();
  // Runs the 配色 place; OpenMakerOn makes its themes from `picture` first.
  void OpenMaker() { OpenMakerOn({}); }
  void OpenMakerOn(const std::string& picture);
  void Save();
  void ExportCurrent();
  void SwitchFormat();
  void ImportFile();
  // A tap on the button of `action` of entry `index`.
  void Act(std::size_t index, Action action);
  void Apply(const Entry& entry);
  void Export(const ThemeValues& values, const std::string& name);
  void Delete(const Entry& entry);
  // Reads the saved theme `entry` again; false, having said so, when it is
  // gone or cannot be read.
  bool ReadAgain(Entry& entry);
  // Says that the theme `name` is gone and reads the list again.
  void SayGone(const std::string& name);
  // A failure: `problem` (English) to standard error, `message` shown.
  void Fail(const std::string& problem, std::u16string message);
  // `undoable`: the step asked for can be undone.
  bool Ask(std::u16string title, std::u16string note, bool undoable, UiWin* detail = nullptr, int detail_height = 0,
           int width = 320);

  int width_;
  ThemeStore& store_;
  StudioText title_;
  StudioText note_;
  StudioButton close_;
  StudioButton maker_button_;
  TextField name_;
  StudioButton save_;
  StudioButton export_current_;
  StudioButton format_;
  StudioButton import_;
  std::function<void(const std::string& path)> import_file_;
  StudioText status_;
  UiScrollWin list_;
  std::vector<Entry> entries_;
  std::vector<std::unique_ptr<Row>> rows_;
  RegFileForm form_ = RegFileForm::kVersion5;
  ConfirmationSheet* question_ = nullptr;
  ColourMaker* maker_ = nullptr;
  bool stale_ = false;  // the themes folder changed while something was open over the list
};
