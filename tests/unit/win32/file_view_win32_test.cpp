// The file view on Windows' own file mapping: only read sharing is granted, both ways.
#include "platform/win32_headers.h"

#include <gtest/gtest.h>

#include "platform/file_view.h"
#include "support/test_support.h"

namespace {

HANDLE OpenForWriting(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
}

TEST(FileViewWin32, GrantsAndRespectsOnlyReadSharing) {
    TempDir dir;
    std::string path = dir.File("picture.bmp");
    WriteFile(path, {'B', 'M', 1, 2, 3});

    FileView view;
    ASSERT_TRUE(OpenFileView(path.c_str(), view));
    EXPECT_EQ(std::string(view.data, view.data + view.size), std::string("BM\1\2\3"));
    // Nobody can write to the picture, or cut it short, while it is mapped...
    HANDLE writer = OpenForWriting(path);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
    if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
    // ...while reading beside it is fine.
    FileView second;
    EXPECT_TRUE(OpenFileView(path.c_str(), second));
    CloseFileView(second);
    CloseFileView(view);
    EXPECT_EQ(view.data, nullptr);

    // A file held open for writing by someone else cannot be opened.
    writer = OpenForWriting(path);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(OpenFileView(path.c_str(), view));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SHARING_VIOLATION));
    CloseHandle(writer);

    // An empty file has nothing to map; nothing stays open after the failure, so it can be
    // deleted at once.
    std::string empty = dir.File("empty.bmp");
    WriteFile(empty, {});
    EXPECT_FALSE(OpenFileView(empty.c_str(), view));
    EXPECT_TRUE(DeleteFileA(empty.c_str()));
}

} // namespace
