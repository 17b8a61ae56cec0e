#include "assets/textures.h"

#include "gl/opengl.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "assets/bitmap_loader.h"
#include "assets/data_folder.h"

namespace {

// A file that cannot be opened for reading is skipped without a box; standard error says where it
// was looked for. Only a file that is there reaches the loader (and its boxes).
RgbImage* LoadIfPresent(const DataFolder& folder, const char* name) {
    std::string path = DataFilePath(folder, name);
    FILE* file = std::fopen(path.c_str(), "r");
    if (!file) {
        std::fprintf(stderr, "quorvane: %s", MissingDataFileMessage(folder, name).c_str());
        return nullptr;
    }
    std::fclose(file);
    return LoadBitmapImage(path.c_str());
}

void UploadImage(const RgbImage* image) {
    glTexImage2D(GL_TEXTURE_2D, 0, 3, image->width, image->height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 image->pixels);
}

void FreeImage(RgbImage* image) {
    if (!image) return;
    if (image->pixels) std::free(image->pixels);
    std::free(image);
}

} // namespace

bool LoadTextures(LoadedTextures& made) {
    made = LoadedTextures{};
    // The images' rows are packed without gaps; with the default alignment of 4, any width not
    // divisible by 4 would be read skewed and past the end of the block.
    GLint previousAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);

    DataFolder folder = ChooseDataFolder(DataFolderCandidates());
    RgbImage* picture = LoadIfPresent(folder, "t1.bmp");
    if (picture) {
        made.picture = true;
        glGenTextures(3, made.textures);

        glBindTexture(GL_TEXTURE_2D, made.textures[0]);
        UploadImage(picture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);

        glBindTexture(GL_TEXTURE_2D, made.textures[1]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        UploadImage(picture);

        glBindTexture(GL_TEXTURE_2D, made.textures[2]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, picture->width, picture->height, GL_RGB, GL_UNSIGNED_BYTE,
                          picture->pixels);
    }

    RgbImage* star = LoadIfPresent(folder, "star.bmp");
    if (star) {
        made.star = true;
        glGenTextures(1, &made.starTexture);
        glBindTexture(GL_TEXTURE_2D, made.starTexture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        UploadImage(star);
    }

    // Both images live until both files have been dealt with.
    FreeImage(picture);
    FreeImage(star);
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
    return made.picture || made.star;
}
