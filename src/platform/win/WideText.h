#pragma once

#include <string>
#include <string_view>

// Windows takes paths and names as UTF-16 (the W functions); the program keeps UTF-8. Every
// path crosses here, so that a user name with non-ASCII letters works.

std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);
