// Reading the library's picture files for the browser and the viewers. The size caption needs
// only the header; a thumbnail is decoded straight at its reduced size so the JPEG decoder can skip
// work. Whole pictures come from the shared picture loader, and every read keeps to its size
// limits, so a decompression bomb fails like any unreadable file.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

namespace lumora {

// The picture's size in pixels, from its header where the format allows; nothing when the file
// is not a picture the loader accepts or is larger than it allows.
std::optional<QSize> ReadLibraryPictureSize(const QString& path);

// The whole picture at its own size; a null image when it cannot be loaded.
QImage ReadLibraryPicture(const QString& path);

// The picture at `size` (the decoder scales while it decodes where it can); null on failure.
QImage ReadLibraryThumbnail(const QString& path, QSize size);

// A picture whose header is sound but whose size is beyond what the loader accepts.
bool IsTooLargeLibraryPicture(const QString& path);

// The picture shown for a file that cannot be read: 114 x 42 pixels, the words
// UNSUPPORTED IMAGE FILE in black on white, two lines.
const QImage& PlaceholderPicture();
// The same for a picture that is too large to open: TOO LARGE.
const QImage& TooLargePlaceholderPicture();

}  // namespace lumora
