#include "platform/StoredFile.h"

#include <emscripten.h>

// The page mounts IndexedDB's file system over the settings folder before the program starts
// (web/storage.js) and offers Module.octavaneFileStored to write it back; a program run without
// that page (the unit tests under node) has plain files and nothing to hand on.
void FileStoredForGood(const std::string& path) {
    // clang-format off
    EM_ASM({
        if (Module["octavaneFileStored"]) {
            Module["octavaneFileStored"](UTF8ToString($0));
        }
    }, path.c_str());
    // clang-format on
}
