// The studio's own writes of the theme, each one call into the model: a
// swatch chosen in the item card, and the defaults restored. (Applying,
// importing, undoing and redoing go through the theme's operations too.)
#pragma once

#include <string>

// Writes the colour of swatch `control_id` into item `item` (1 to 20); false
// (the file left as it was) when it is no swatch or the registry refused.
bool WriteSwatch(int item, int control_id);

// Removes the 20 theme values: the phone shows its defaults after its next
// start. One step of the history. `message` says how it went, in the
// window's language; false when nothing was removed.
bool RestoreDefaults(std::u16string& message);
