// Where the running program's own file lies, so that it can find what was installed beside it.
#pragma once

#include <string>

// The folder that holds the running executable, as an absolute path without a trailing separator;
// empty when the system does not tell.
std::string ExecutableDirectory();

// What separates the folders of a path on this system.
extern const char PathSeparator;
