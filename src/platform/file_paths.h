// The file-system questions the program asks where it looks for its pictures: where its own file
// lies, whether a folder exists, and a path in full. One file per system: the Windows build asks
// with the same ANSI calls that fopen goes through, so that what it finds, fopen can open.
#pragma once

#include <string>

// The folder that holds the running executable, as an absolute path without a trailing separator;
// empty when the system does not tell.
std::string ExecutableDirectory();

// True when `path` names an existing folder.
bool IsFolder(const std::string& path);

// `path` made absolute against the working directory, with "." and ".." worked out in the text;
// `path` itself where that cannot be done.
std::string AbsolutePath(const std::string& path);

// What separates the folders of a path on this system.
extern const char PathSeparator;
