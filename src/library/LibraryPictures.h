// Reading the library's picture files for the browser and the viewers. The size caption needs
// only the header; a thumbnail is decoded straight at its reduced size so the JPEG decoder can skip
// work. Every read stays inside the image readers' allocation limit, so a decompression bomb fails
// like any unreadable file.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

namespace lumora {

// The picture's size in pixels from its header, or nothing when the file is not a picture the
// readers accept or would need more memory than the allocation limit allows.
std::optional<QSize> ReadLibraryPictureSize(const QString& path);

// The whole picture at its own size; a null image when it cannot be read.
QImage ReadLibraryPicture(const QString& path);

// The picture decoded at `size` (the decoder scales while it decodes); a null image on failure.
QImage ReadLibraryThumbnail(const QString& path, QSize size);

// The picture shown for a file that cannot be read: 114 x 42 pixels, the words
// UNSUPPORTED IMAGE FILE in black on white, two lines.
const QImage& PlaceholderPicture();

}  // namespace lumora
