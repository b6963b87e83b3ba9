// The command line as GLib reads it and the program checks it: values,
// options that go only with others, commands that run alone, and the slips
// a person makes (an empty value, a second question, a switch with a value).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main/entry_point.h"

namespace {
void ExpectOptionError(int line, std::vector<std::string> args, const std::string& expected) {
  SCOPED_TRACE(testing::Message() << "from line " << line);
  EntryOptions o;
  std::string error;
  EXPECT_FALSE(ParseEntryOptions(args, o, error));
  EXPECT_EQ(error, expected);
}
}  // namespace

TEST(EntryOptions, ParsesHostOptions) {
  EntryOptions o;
  std::string error;
  ASSERT_TRUE(ParseEntryOptions({}, o, error));
  EXPECT_FALSE(o.headless);
  EXPECT_EQ(o.scale, 1.0);
  ASSERT_TRUE(ParseEntryOptions({"--headless", "--screenshot-dir", "/tmp/x"}, o, error)) << error;
  EXPECT_TRUE(o.headless);
  EXPECT_EQ(o.screenshot_dir, "/tmp/x");
  ASSERT_TRUE(ParseEntryOptions({"--scale=1.5", "--no-preview"}, o, error)) << error;
  EXPECT_EQ(o.scale, 1.5);
  EXPECT_FALSE(o.preview);
  ASSERT_TRUE(ParseEntryOptions({"--script", "s.txt"}, o, error));
  EXPECT_TRUE(o.headless) << "a script runs headless";
  EXPECT_EQ(o.script_path, "s.txt");
  ASSERT_TRUE(ParseEntryOptions({"--help"}, o, error));
  EXPECT_TRUE(o.help);

  ExpectOptionError(__LINE__, {"--headles"}, "Unknown option --headles");
  ExpectOptionError(__LINE__, {"--script"}, "Missing argument for --script");
  ExpectOptionError(__LINE__, {"--scale", "0"}, "--scale wants a number from 0.25 to 4, not '0'");
  ExpectOptionError(__LINE__, {"--scale", "5"}, "--scale wants a number from 0.25 to 4, not '5'");
  ExpectOptionError(__LINE__, {"--scale", "2x"}, "--scale wants a number from 0.25 to 4, not '2x'");
  ExpectOptionError(__LINE__, {"--scale", "nan"},
                    "--scale wants a number from 0.25 to 4, not 'nan'");
  ExpectOptionError(__LINE__, {"a.reg", "b.reg"}, "one file at a time: 'a.reg' and 'b.reg'");
  ExpectOptionError(__LINE__, {"--headless", "a.reg"},
                    "a file given to open is for the window: it takes no --headless, --script or "
                    "--preview-png");
  ASSERT_TRUE(ParseEntryOptions({"--scale", "2", "a theme.reg"}, o, error)) << error;
  EXPECT_EQ(o.open_file, "a theme.reg");
}

// Every command that runs alone refuses every window and script option, and
// a file to open, in the same words; two such commands are refused too.
TEST(EntryOptions, CommandsThatRunAloneRefuseWindowOptionsAlike) {
  const std::vector<std::vector<std::string>> commands = {
      {"--theme-report"}, {"--theme-report", "--json"}, {"--undo"}, {"--redo"},
      {"--save-theme", "a"}, {"--apply-theme", "a"}, {"--delete-theme", "a"}, {"--list-themes"},
      {"--export-theme", "f.reg"}, {"--import-theme", "f.reg"}, {"--make-theme", "#336699"}};
  const std::vector<std::vector<std::string>> window_options = {
      {"--headless"}, {"--script", "s.txt"}, {"--screenshot-dir", "d"}, {"--scale", "2"},
      {"--no-preview"}, {"--preview-png", "p.png"}, {"--preview-png", "p.png", "--simulate", "protan"}};
  for (const auto& command : commands) {
    for (const auto& option : window_options) {
      for (const bool option_first : {false, true}) {
        std::vector<std::string> args = option_first ? option : command;
        const auto& rest = option_first ? command : option;
        args.insert(args.end(), rest.begin(), rest.end());
        ExpectOptionError(__LINE__, args,
                          command[0] + " runs alone and exits: it takes no window or script "
                          "options (here " + option[0] + ")");
      }
    }
    std::vector<std::string> with_file = command;
    with_file.push_back("x.reg");
    ExpectOptionError(__LINE__, with_file,
                      command[0] + " runs alone and exits: it opens no file 'x.reg'");
    std::vector<std::string> two = command;
    two.push_back(command[0] == "--undo" ? "--redo" : "--undo");
    ExpectOptionError(__LINE__, two, "one command at a time: " + command[0] + " and " + two.back());
  }
  EntryOptions o;
  std::string error;
  EXPECT_TRUE(ParseEntryOptions({"--export-theme", "f.reg", "--format", "regedit4"}, o, error)) << error;
}

// Each slip is said, with what is wrong; none is taken silently.
TEST(EntryOptions, SlipsAreRefusedSayingWhatIsWrong) {
  ExpectOptionError(__LINE__, {"--help", "extra"}, "--help is asked alone: it takes no other option or file");
  ExpectOptionError(__LINE__, {"-h", "--headless"}, "--help is asked alone: it takes no other option or file");
  ExpectOptionError(__LINE__, {"--version", "x.reg"}, "--version is asked alone: it takes no other option or file");
  ExpectOptionError(__LINE__, {"--version", "--help"}, "--help and --version are each asked alone");
  ExpectOptionError(__LINE__, {"--scale", ""}, "--scale wants a number from 0.25 to 4, not ''");
  ExpectOptionError(__LINE__, {"--scale="}, "--scale wants a number from 0.25 to 4, not ''");
  ExpectOptionError(__LINE__, {"--headless", "--screenshot-dir", ""},
                    "--screenshot-dir wants a file or folder name, not an empty one");
  ExpectOptionError(__LINE__, {"--script", ""}, "--script wants a file or folder name, not an empty one");
  ExpectOptionError(__LINE__, {"--screenshot-dir", "d"}, "--screenshot-dir goes with --headless or --script");
  ExpectOptionError(__LINE__, {"--preview-png", "p.png", "--no-preview"},
                    "--no-preview is for the window: it takes no --headless, --script or --preview-png");
  ExpectOptionError(__LINE__, {"--headless", "--no-preview"},
                    "--no-preview is for the window: it takes no --headless, --script or --preview-png");
  ExpectOptionError(__LINE__, {"--script", "s", "--scale", "2"},
                    "--scale is for the window and --preview-png: it takes no --headless or --script");
  ExpectOptionError(__LINE__, {"--headless=1"}, "--headless takes no value (here '1')");
  ExpectOptionError(__LINE__, {"--undo="}, "--undo takes no value (here '')");
  ExpectOptionError(__LINE__, {"--undo", "--undo"}, "one command at a time: --undo and --undo");
  ExpectOptionError(__LINE__, {"--", "a.reg", "--b.reg"}, "one file at a time: 'a.reg' and '--b.reg'");

  // A value is taken as it is written: an empty theme name reaches the rule
  // for names (which says what is wrong with it), bytes that are no UTF-8
  // are not turned away by the locale, a file may start with a dash after --.
  EntryOptions o;
  std::string error;
  ASSERT_TRUE(ParseEntryOptions({"--save-theme", ""}, o, error)) << error;
  EXPECT_EQ(o.theme.kind, ThemeCommand::Kind::kSave);
  EXPECT_EQ(o.theme.argument, "");
  ASSERT_TRUE(ParseEntryOptions({"--apply-theme", "春\xff"}, o, error)) << error;
  EXPECT_EQ(o.theme.argument, "春\xff");
  ASSERT_TRUE(ParseEntryOptions({"--", "-x.reg"}, o, error)) << error;
  EXPECT_EQ(o.open_file, "-x.reg");
  ASSERT_TRUE(ParseEntryOptions({"--make-theme=#336699", "--dark", "--name", "夜"}, o, error)) << error;
  EXPECT_EQ(o.theme.argument, "#336699");
  EXPECT_TRUE(o.theme.dark);
  EXPECT_EQ(o.theme.name, "夜");
  ASSERT_TRUE(ParseEntryOptions({"--make-theme", "141", "--style", "vivid", "--contrast=high", "--json"}, o, error))
      << error;
  EXPECT_EQ(o.theme.style, ThemeStyle::kVivid);
  EXPECT_EQ(o.theme.contrast, ContrastLevel::kHigh);
  EXPECT_TRUE(o.theme.json);
  ExpectOptionError(__LINE__, {"--make-theme", "141", "--style", "loud"}, "--style wants soft or vivid, not 'loud'");
  ExpectOptionError(__LINE__, {"--undo", "--contrast", "high"},
                    "--dark, --exact, --style, --contrast and --name go with --make-theme");
  ExpectOptionError(__LINE__, {"--undo", "--json"}, "--json goes with --theme-report or --make-theme");
}
