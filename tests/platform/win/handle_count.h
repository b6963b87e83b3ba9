// The key handles a test opened and has not closed, counted at the registry
// API's door: the test binary is linked so that its calls that open and close
// keys (its own and those of the code it tests) pass through a counter first
// (see handle_count.cpp).
#pragma once

unsigned RegistryOpenHandleCount();
