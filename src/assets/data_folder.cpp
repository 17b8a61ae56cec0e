#include "assets/data_folder.h"

#include <algorithm>

#include "build_config.h"
#include "platform/file_paths.h"

namespace {

std::string Join(const std::string& folder, const std::string& name) {
    if (!folder.empty() && (folder.back() == '/' || folder.back() == PathSeparator)) return folder + name;
    return folder + PathSeparator + name;
}

} // namespace

std::vector<std::string> DataFolderCandidates() {
    std::vector<std::string> candidates = {"data"};
    std::string executable = ExecutableDirectory();
    if (!executable.empty()) {
        candidates.push_back(Join(executable, "data"));
        candidates.push_back(Join(executable, QUORVANE_RELATIVE_DATA_DIR));
    }
    candidates.push_back(QUORVANE_INSTALL_DATA_DIR);
    return candidates;
}

DataFolder ChooseDataFolder(const std::vector<std::string>& candidates) {
    DataFolder folder;
    for (const std::string& candidate : candidates) {
        if (IsFolder(candidate)) {
            folder.path = candidate;
            return folder;
        }
        folder.skipped.push_back(candidate);
    }
    return folder;
}

std::string DataFilePath(const DataFolder& folder, const char* name) {
    return Join(folder.path.empty() ? std::string("data") : folder.path, name);
}

std::string MissingDataFileMessage(const DataFolder& folder, const char* name) {
    std::string text = "cannot read " + std::string(name) + ". Looked for it at:\n";
    // The working directory may be the program's own folder: name each place once.
    std::vector<std::string> named;
    auto nameOnce = [&](const std::string& folderPath, const char* note) {
        std::string path = AbsolutePath(Join(folderPath, name));
        if (std::find(named.begin(), named.end(), path) != named.end()) return;
        named.push_back(path);
        text += "  " + path + note + "\n";
    };
    for (const std::string& skipped : folder.skipped) nameOnce(skipped, " (no such folder)");
    if (!folder.path.empty()) nameOnce(folder.path, "");
    return text;
}
