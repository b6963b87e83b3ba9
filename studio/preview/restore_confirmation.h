// The studio's "恢复默认" confirmation: the studio's question sheet asking
// whether to remove the 20 theme values, naming how many items that changes.
#pragma once

#include "studio/widgets/confirmation_sheet.h"

class RestoreConfirmation : public ConfirmationSheet {
 public:
  // The sheet's place in the studio, whose width is `studio_width`.
  // `shell`: the shell the studio is in.
  // `changes`: the items a person would see change.
  RestoreConfirmation(int studio_width, Shell* shell, int changes);
};
