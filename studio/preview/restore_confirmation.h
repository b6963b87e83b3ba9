// The studio's "恢复默认" confirmation: the studio's question sheet asking
// whether to remove the 20 theme values.
#pragma once

#include "studio/widgets/confirmation_sheet.h"

class RestoreConfirmation : public ConfirmationSheet {
 public:
  // The sheet's place in the studio, whose width is `studio_width`.
  // `shell`: the shell the studio is in.
  RestoreConfirmation(int studio_width, Shell* shell);
};
