// A read-only view of a whole file, through the system's file mapping: open, learn the size, map
// it. The bytes stay valid until CloseFileView.
#pragma once

#include <cstddef>
#include <cstdint>

struct FileView {
    const uint8_t* data = nullptr;
    size_t size = 0;
    // What the system handed out for the view, released by CloseFileView: the file (a descriptor
    // on POSIX, a handle on Windows) and, on Windows, the mapping object. -1: none.
    intptr_t file = -1;
    intptr_t mapping = -1;
};

// False when the file cannot be opened or mapped; an empty file, a folder or any other file that is
// not a regular one cannot be mapped. Nothing stays open after a failure.
bool OpenFileView(const char* path, FileView& view);

// Unmaps the view, then closes the mapping and the file. Safe on a view that never opened.
void CloseFileView(FileView& view);
