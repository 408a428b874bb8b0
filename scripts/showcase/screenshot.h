#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

// Copies what the display shows inside rect into a 24-bit BMP file.
bool SaveScreenRect(const RECT& rect, const std::string& path);
