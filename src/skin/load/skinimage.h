// Images of a skin package: which entry an image reference names, and decoding an entry as a Windows bitmap
// within the image budget.
#pragma once

#include <QImage>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Budget of one decoded image, checked from the bitmap header before any pixel is decoded. Real skin
// images are a few hundred pixels wide.
inline constexpr int kMaxSkinImageSidePx = 4096;
inline constexpr qint64 kMaxSkinImagePixels = 4 * 1024 * 1024;

// The entry an image reference names: its file name without any folder part ("\" or "/"), or an empty
// string when the extension is not exactly ".bmp" (lower case).
std::string skinImageEntryName(std::string_view reference);

// The bitmap in bytes as Format_RGB32; a null image when the bytes are not a readable BMP or the image
// exceeds the budget.
QImage decodeSkinBitmap(std::span<const uint8_t> bytes);
