#pragma once

#include <string>

// Where an installed program finds its sounds when the working directory has none: beside the
// program on Windows (the zip's and the installer's layout), <prefix>/share/octavane/Sound for
// a program in <prefix>/bin elsewhere. UTF-8; empty when the program's folder is unknown.
std::string InstalledSoundFolder();
