// A read-only view of a whole file, in place of the Windows file mapping: open, learn the size,
// map it. The bytes stay valid until CloseFileView.
#pragma once

#include <cstddef>
#include <cstdint>

struct FileView {
    const uint8_t* data = nullptr;
    size_t size = 0;
    int descriptor = -1;
};

// False when the file cannot be opened or mapped; an empty file, a folder or any other file that is
// not a regular one cannot be mapped. Nothing stays open after a failure.
bool OpenFileView(const char* path, FileView& view);

// Unmaps the view, then closes the file. Safe on a view that never opened.
void CloseFileView(FileView& view);
