#pragma once

#include <string>

// Called once a file the program keeps between runs (the settings file) has been replaced whole.
// Where the file system is only a working copy of lasting storage (the browser's, kept in
// IndexedDB) the change is handed on to it, without waiting; on a desktop the disk is the
// lasting storage and nothing more happens. `path` is the file as written, links followed.
void FileStoredForGood(const std::string& path);
