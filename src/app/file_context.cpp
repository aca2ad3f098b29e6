// The file context for programs without the window (tools, tests); the window
// program defines it with its other program-wide objects.
#include "app/checked_io.h"

std::string fileContext;
