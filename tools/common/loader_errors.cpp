#include "common/loader_errors.h"

namespace {

std::string firstError;

void KeepFirstError(const char* text) {
    if (firstError.empty()) firstError = text;
}

} // namespace

RgbImage* LoadBitmapForTool(const char* path, std::string& error) {
    firstError.clear();
    SetLoaderErrorSink(KeepFirstError);
    RgbImage* image = LoadBitmapImage(path);
    SetLoaderErrorSink(nullptr);
    error = image ? std::string() : firstError.empty() ? std::string("not loaded") : firstError;
    return image;
}
