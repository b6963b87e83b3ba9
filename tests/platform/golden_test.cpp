// Golden screenshots of the toolkit's elements, compared with the reference
// pictures in tests/golden/platform.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/ui/toolkit.h"
#include "platform/ui/popup_menu_sheet.h"
#include "tests/platform/test_windows.h"
#include "tests/support/headless_shell_test.h"

namespace {

class Golden : public HeadlessShellTest {};

const char16_t kText[] =
    u"  这个程序可以修改系统和应用程序的字体颜色和窗口颜色，一共提供了65种颜色。"
    u"最后一种看起来是灰白色的，它就是系统默认的窗口颜色，用来在颜色被改乱以后恢复原样。"
    u"使用方法：点一下颜色图标，再选择要修改的项目。修改后要重新启动手机才能生效。";

// A pane of 16 image buttons (4 x 4, the program's swatch pictures with the
// shared pressed overlay) between a banner and a toolbar.
struct SwatchScreen {
  RecordingWnd wnd;
  UiPicture banner;
  UiScrollWin pane;
  std::vector<std::unique_ptr<UiButton_Image>> buttons;
  UiToolbar_Text toolbar;
  ImageContainer images;

  void Create() {
    wnd.CreateOverWorkArea();
    banner.SetBounds(0, 0, 480, 150);
    banner.LoadImageW(MzGetInstanceHandle(), RT_RCDATA, MAKEINTRESOURCEW(170));
    wnd.AddUiWin(&banner);
    pane.SetBounds(0, 150, 480, 470);
    pane.SetID(201);
    pane.EnableScrollBarV(true);
    pane.EnableDragScrollbarV(true);
    wnd.AddUiWin(&pane);
    ImagingHelper* overlay = images.LoadImageW(MzGetInstanceHandle(), 165);
    for (int k = 0; k < 22; ++k) {
      auto b = std::make_unique<UiButton_Image>();
      b->SetID(102 + k);
      b->SetBounds(24 + 114 * (k % 4), 5 + 114 * (k / 4), 90, 90);
      b->SetImage_Normal(images.LoadImageW(MzGetInstanceHandle(), 102 + (k < 20 ? k : k + 1)));
      b->SetImage_Pressed(overlay);
      b->SetMode(1);
      pane.AddChild(b.get());
      buttons.push_back(std::move(b));
    }
    toolbar.SetBounds(0, wnd.GetHeight() - 65, wnd.GetWidth(), 65);
    toolbar.SetButton(0, true, true, u"退出");
    toolbar.SetButton(1, true, true, u"先看说明");
    toolbar.SetButton(2, true, true, u"关于");
    toolbar.SetID(101);
    wnd.AddUiWin(&toolbar);
  }
};

}  // namespace

TEST_F(Golden, WindowWithAPicture) {
  RecordingWnd wnd;
  wnd.CreateOverWorkArea();
  UiPicture banner, swatch;
  banner.SetBounds(0, 0, 480, 150);
  ASSERT_TRUE(banner.LoadImageW(MzGetInstanceHandle(), RT_RCDATA, MAKEINTRESOURCEW(170)));
  wnd.AddUiWin(&banner);
  swatch.SetBounds(195, 300, 90, 90);
  ASSERT_TRUE(swatch.LoadImageW(MzGetInstanceHandle(), RT_RCDATA, MAKEINTRESOURCEW(164)));
  wnd.AddUiWin(&swatch);
  Pump();
  EXPECT_TRUE(ScreenMatches("platform/window_with_picture.png"));
}

TEST_F(Golden, PaneOfImageButtonsAtRestPressedAndScrolledToTheEnd) {
  SwatchScreen s;
  s.Create();
  Pump();
  EXPECT_TRUE(ScreenMatches("platform/buttons_at_rest.png"));
  // Hold the finger on the second button of the second row.
  host().Inject(InputEvent::Press(138 + 45, 35 + 150 + 5 + 114 + 45));
  Pump();
  EXPECT_TRUE(s.buttons[5]->IsPressed());
  EXPECT_TRUE(ScreenMatches("platform/buttons_pressed.png"));
  host().Inject(InputEvent::Release(0, 715));
  Drag(240, 600, 240, 200, 400);
  Drag(240, 600, 240, 200, 400);
  Pump();
  EXPECT_EQ(s.pane.GetScrollY(), s.pane.GetMaxScrollY());
  EXPECT_TRUE(s.wnd.commands.empty());
  EXPECT_TRUE(ScreenMatches("platform/buttons_scrolled_to_end.png"));
}

TEST_F(Golden, ToolbarsWithThreeButtonsAndWithTheLeftArrow) {
  RecordingWnd wnd;
  wnd.CreateOverWorkArea();
  UiToolbar_Text back, three, pressed;
  back.SetBounds(0, 100, 480, 65);
  back.SetButton(0, true, true, u"返回");
  back.EnableLeftArrow(true);
  wnd.AddUiWin(&back);
  pressed.SetBounds(0, 300, 480, 65);
  pressed.SetButton(0, true, true, u"确定");
  pressed.SetButton(1, false, true, u"不可用");
  pressed.SetButton(2, true, true, u"按下");
  wnd.AddUiWin(&pressed);
  three.SetBounds(0, wnd.GetHeight() - 65, 480, 65);
  three.SetButton(0, true, true, u"退出");
  three.SetButton(1, true, true, u"先看说明");
  three.SetButton(2, true, true, u"关于");
  wnd.AddUiWin(&three);
  host().Inject(InputEvent::Press(400, 35 + 330));
  Pump();
  EXPECT_EQ(pressed.GetPressedButton(), 2);
  EXPECT_TRUE(ScreenMatches("platform/toolbars.png"));
}

TEST_F(Golden, StaticTextThatWrapsAndOneCutWithAnEllipsis) {
  RecordingWnd wnd;
  wnd.CreateOverWorkArea();
  UiStatic wrapped, cut, centred;
  wrapped.SetBounds(20, 20, 440, 260);
  wrapped.SetDrawTextFormat(DT_WORDBREAK | DT_END_ELLIPSIS);
  wrapped.SetDisplayText(kText);
  wnd.AddUiWin(&wrapped);
  cut.SetBounds(20, 320, 300, 90);
  cut.SetDrawTextFormat(DT_WORDBREAK | DT_END_ELLIPSIS);
  cut.SetDisplayText(kText);
  wnd.AddUiWin(&cut);
  centred.SetBounds(20, 460, 440, 40);
  centred.SetDrawTextFormat(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  centred.SetDisplayText(u"居中的一行");
  wnd.AddUiWin(&centred);
  Pump();
  EXPECT_FALSE(wrapped.IsTextCut());
  EXPECT_TRUE(cut.IsTextCut());
  EXPECT_TRUE(ScreenMatches("platform/static_text.png"));
}

TEST_F(Golden, OpenPopupMenuOfTwentyItems) {
  SwatchScreen s;
  s.Create();
  MzPopupMenu menu;
  auto* image = new ImagingHelper;
  image->LoadImageFromRes(GetMzResModuleHandle(), RT_RCDATA, MAKEINTRESOURCEW(188));
  menu.SetMenuTitle(u"请选择要设置颜色的项目", image);
  const char16_t* labels[] = {u"歌词阴影",       u"锁屏星期文字",   u"锁屏年月日与时间",
                              u"窗口背景",       u"窗口文字",       u"扩展按钮主要文字",
                              u"扩展按钮次要文字", u"普通按钮文字",   u"日历标题、年月日、星期",
                              u"日历“没有事件”",   u"静音对话框文字", u"列表注释文字",
                              u"工具栏禁用文字", u"工具栏文本",     u"列表项文字",
                              u"列表次要文字2",  u"列表次要文字3",  u"静态控件文字",
                              u"文本框文字",     u"标签文字"};
  for (int i = 0; i < 20; ++i) menu.AppendMenuItem(17 + i, labels[i]);
  bool checked = false;
  host().InjectCall([&] {
    shell().RenderFrame();
    EXPECT_TRUE(ScreenMatches("platform/popup_menu_20.png"));
    Key(InputKey::Down);
    Key(InputKey::Down);
    host().InjectCall([&] {
      checked = true;
      EXPECT_TRUE(ScreenMatches("platform/popup_menu_20_highlight.png"));
      Key(InputKey::Escape);
    });
  });
  EXPECT_EQ(menu.MzTrackPopupMenu(s.wnd.m_hWnd, 1, nullptr, 0), 0);
  EXPECT_TRUE(checked);
}

TEST_F(Golden, MessageBoxOfEightLines) {
  SwatchScreen s;
  s.Create();
  bool checked = false;
  host().InjectCall([&] {
    checked = true;
    EXPECT_TRUE(ScreenMatches("platform/message_box_8_lines.png"));
    Key(InputKey::Enter);
  });
  EXPECT_EQ(MzMessageBoxEx(s.wnd.m_hWnd,
                           u"Tintor 主题颜色修改器\n版本 1.0\n第三行\n第四行：联系方式\n"
                           u"第五行\n第六行\n第七行\n第八行，最后一行",
                           u"关于", MZ_OK, 1),
            IDOK);
  EXPECT_TRUE(checked);
  bool result_checked = false;
  host().InjectCall([&] {
    result_checked = true;
    EXPECT_TRUE(ScreenMatches("platform/message_box_result.png"));
    Key(InputKey::Escape);
  });
  MzMessageBoxEx(s.wnd.m_hWnd, u"设置成功", u"成功", MZ_OK, 0);
  EXPECT_TRUE(result_checked);
}
