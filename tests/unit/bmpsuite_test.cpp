// The BMP Suite corpus (tests/data/bmpsuite): good files decode to what the suite's reference
// pictures show (recorded as checksums in expected.tsv), bad and questionable ones decode or fail
// with one box.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "assets/bitmap_loader.h"
#include "support/bitmap_files.h"
#include "support/test_support.h"

namespace {

const std::string SuiteDir = std::string(QUORVANE_SOURCE_DIR) + "/tests/data/bmpsuite/";

struct Expected {
    std::string file;
    int width;
    int height;
    uint64_t checksum;
    std::string reference;
};

std::vector<Expected> ReadExpected() {
    std::vector<Expected> rows;
    std::ifstream in(SuiteDir + "expected.tsv");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        Expected row;
        std::string checksum;
        fields >> row.file >> row.width >> row.height >> checksum >> row.reference;
        row.checksum = std::strtoull(checksum.c_str(), nullptr, 16);
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(SuiteDir + folder))
        if (entry.path().extension() == ".bmp")
            files.push_back(folder + "/" + entry.path().filename().string());
    std::sort(files.begin(), files.end());
    return files;
}

uint32_t InfoHeaderSize(const std::vector<uint8_t>& file) {
    size_t at = file.size() >= 2 && file[0] == 'B' && file[1] == 'M' ? 14 : 0;
    if (file.size() < at + 4) return 0;
    return file[at] | (file[at + 1] << 8) | (file[at + 2] << 16) | (uint32_t(file[at + 3]) << 24);
}

class BmpSuite : public ::testing::Test {
  protected:
    void SetUp() override { errorPopupsEnabled = true; }
    ScriptedOnly platform;
};

TEST_F(BmpSuite, DecodedFilesShowTheirReferencePictures) {
    std::vector<Expected> rows = ReadExpected();
    ASSERT_GE(rows.size(), 40u);
    for (const Expected& row : rows) {
        ImagePtr image = Load(SuiteDir + row.file);
        ASSERT_TRUE(image) << row.file;
        EXPECT_EQ(image->width, row.width) << row.file;
        EXPECT_EQ(image->height, row.height) << row.file;
        EXPECT_EQ(Fnv1a(TopRowFirst(*image)), row.checksum) << row.file << " against " << row.reference;
    }
    EXPECT_TRUE(platform.scripted.boxes.empty());
}

TEST_F(BmpSuite, GoodFilesDecodeOrAreNewerHeaders) {
    // Every good file with a 12- or 40-byte header has its reference recorded; the newer 108- and
    // 124-byte headers give "Unknown DIB file format." and nothing else.
    std::vector<Expected> rows = ReadExpected();
    for (const std::string& file : FilesIn("g")) {
        uint32_t headerSize = InfoHeaderSize(ReadFile(SuiteDir + file));
        if (headerSize == 12 || headerSize == 40) {
            EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [&](const Expected& r) {
                return r.file == file;
            })) << file;
            continue;
        }
        EXPECT_TRUE(headerSize == 108 || headerSize == 124) << file;
        EXPECT_FALSE(Load(SuiteDir + file)) << file;
        ASSERT_EQ(platform.scripted.boxes.size(), 1u) << file;
        EXPECT_EQ(platform.scripted.boxes[0].text, "Unknown DIB file format.");
        platform.scripted.boxes.clear();
    }
}

TEST_F(BmpSuite, GoodFilesOfOnePictureAgreeExactly) {
    // The same picture stored at different depths, compressions, row orders and header kinds;
    // every one of these encodings is lossless.
    std::map<std::string, std::pair<std::string, std::vector<uint8_t>>> first;
    int compared = 0;
    for (const Expected& row : ReadExpected()) {
        if (row.file.rfind("g/", 0) != 0) continue;
        ImagePtr image = Load(SuiteDir + row.file);
        ASSERT_TRUE(image) << row.file;
        auto found = first.find(row.reference);
        if (found == first.end()) {
            first[row.reference] = {row.file, Pixels(*image)};
            continue;
        }
        EXPECT_TRUE(Pixels(*image) == found->second.second)
            << row.file << " differs from " << found->second.first;
        compared++;
    }
    EXPECT_GE(compared, 12);
}

TEST_F(BmpSuite, BadAndQuestionableFilesDecodeOrFailWithOneBox) {
    // Decoded from an exact-size copy, so that AddressSanitizer sees any read past the end.
    const std::vector<std::string> texts = {"Unknown DIB file format.", "Image file conversion error.",
                                            "Out of memory."};
    // What the bad files give: a box text, or "" where the damage is in fields the format lets a
    // reader ignore (sizes and densities) or where run-length codes are cut at the picture's edge.
    const std::map<std::string, std::string> bad = {
        {"b/badbitcount.bmp", "Image file conversion error."},
        {"b/badbitssize.bmp", ""},
        {"b/baddens1.bmp", ""},
        {"b/baddens2.bmp", ""},
        {"b/badfilesize.bmp", ""},
        {"b/badheadersize.bmp", "Unknown DIB file format."},
        {"b/badpalettesize.bmp", "Image file conversion error."},
        {"b/badplanes.bmp", "Image file conversion error."},
        {"b/badrle.bmp", ""},
        {"b/badrle4.bmp", ""},
        {"b/badrle4bis.bmp", ""},
        {"b/badrle4ter.bmp", ""},
        {"b/badrlebis.bmp", ""},
        {"b/badrleter.bmp", ""},
        {"b/badwidth.bmp", "Image file conversion error."},
        {"b/pal8badindex.bmp", ""},
        {"b/reallybig.bmp", "Out of memory."},
        {"b/rgb16-880.bmp", ""},
        {"b/rletopdown.bmp", "Image file conversion error."},
        {"b/shortfile.bmp", "Image file conversion error."},
    };
    std::vector<std::string> files = FilesIn("b");
    ASSERT_EQ(files.size(), bad.size());
    for (const std::string& file : FilesIn("q")) files.push_back(file);

    for (const std::string& file : files) {
        ImagePtr image = Decode(ReadFile(SuiteDir + file));
        const auto& boxes = platform.scripted.boxes;
        if (image) {
            EXPECT_TRUE(boxes.empty()) << file;
            EXPECT_GT(image->width, 0);
            EXPECT_GT(image->height, 0);
        } else {
            ASSERT_EQ(boxes.size(), 1u) << file;
            EXPECT_EQ(boxes[0].caption, "Error");
            EXPECT_NE(std::find(texts.begin(), texts.end(), boxes[0].text), texts.end()) << file;
        }
        auto expected = bad.find(file);
        if (expected != bad.end()) {
            EXPECT_EQ(image ? std::string() : boxes[0].text, expected->second) << file;
        }
        platform.scripted.boxes.clear();
    }
}

} // namespace
