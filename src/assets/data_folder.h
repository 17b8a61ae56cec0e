// The folder the program's pictures are read from. Where the program is started from no longer
// matters: data/ under the working directory comes first, then the places the build and the
// installation put the pictures, found from the executable's own location.
#pragma once

#include <string>
#include <vector>

struct DataFolder {
    std::string path;                 // the folder chosen; empty when none of the candidates exists
    std::vector<std::string> skipped; // candidates looked at before it, which do not exist
};

// The folders that may hold the pictures, in the order they are tried: "data" (under the working
// directory), data/ beside the executable (the build folder keeps a copy there), the installed
// folder relative to the executable, and the installed folder at the configured install path.
std::vector<std::string> DataFolderCandidates();

// The first candidate that exists as a folder. Both pictures are read from that one folder, so a
// picture missing from it is missing, even if another candidate holds it.
DataFolder ChooseDataFolder(const std::vector<std::string>& candidates);

// The path of the picture `name` in the chosen folder; a path that does not exist when no folder
// was found.
std::string DataFilePath(const DataFolder& folder, const char* name);

// The message for a picture that cannot be found: its name and every path it was looked for at,
// made absolute so that the reader can tell where the program looked.
std::string MissingDataFileMessage(const DataFolder& folder, const char* name);
