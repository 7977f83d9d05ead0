#include "platform/Environment.h"

#include <cstdlib>

// _putenv_s changes the C runtime's copy, the one getenv reads, and the process's own; an
// empty value removes the variable.
void SetEnvironment(const char* name, const char* value) {
    _putenv_s(name, value);
}

void UnsetEnvironment(const char* name) {
    _putenv_s(name, "");
}
