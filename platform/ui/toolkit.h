// The whole toolkit contract in one include, for windows and applications.
#pragma once

#include "platform/ui/image_container.h"
#include "platform/ui/imaging_helper.h"
#include "platform/ui/application.h"
#include "platform/ui/toolkit_functions.h"
#include "platform/ui/message_box.h"
#include "platform/ui/popup_menu.h"
#include "platform/ui/window.h"
#include "platform/ui/element_window.h"
#include "platform/ui/ui_button.h"
#include "platform/ui/ui_button_image.h"
#include "platform/ui/ui_picture.h"
#include "platform/ui/ui_scroll_win.h"
#include "platform/ui/ui_static.h"
#include "platform/ui/ui_toolbar_text.h"
#include "platform/ui/ui_win.h"
#include "platform/win/system.h"
