// The one application object of the process. The platform's entry point finds
// it, starts it and runs its loop; it is destroyed at process exit.
#include "app/tintor_app.h"

CTintorApp theApp;
