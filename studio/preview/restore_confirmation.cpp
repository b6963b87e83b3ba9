#include "studio/preview/restore_confirmation.h"

#include "studio/studio_texts.h"

RestoreConfirmation::RestoreConfirmation(int studio_width, Shell* shell, int changes)
    : ConfirmationSheet(studio_width, shell, studio_text::RestoreQuestion(changes), studio_text::kConfirmNote,
                        /*undoable=*/true) {}
