#pragma once
// Reading Windows bitmap files for the panel. Only BMP files with a Windows header are taken; everything
// else is refused with the same debugger lines the original printed.

#include <QImage>
#include <string>

// Reads the BMP file at `path` into `image` (a null image on failure). Only regular files are opened.
bool LoadDibFile(const std::string& path, QImage& image);
