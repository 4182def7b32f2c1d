// The user's own pictures as templates: a picture file copied into the user's library under the
// type "My Pictures" and a category the user picks or names.
#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>

class QMimeData;
class QWidget;

namespace lumora {

inline constexpr const char* kUserPicturesType = "My Pictures";
inline constexpr const char* kDefaultPictureCategory = "Imported";

struct AddedPicture {
  QString error;         // the message for the user; empty when the copy was made
  QString relativePath;  // "My Pictures\Imported\sea.jpg", the name a project stores
  QString fullPath;
  explicit operator bool() const { return error.isEmpty(); }
};

// Refuses what the picture loader refuses, with its message, and never overwrites: a second
// "sea.jpg" becomes "sea (2).jpg".
AddedPicture AddPictureToLibrary(const QString& file, const QString& category,
                                 const std::filesystem::path& userLibrary);

// Asks for the category, offering those the user made before; nothing when cancelled.
std::optional<QString> AskPictureCategory(QWidget* owner, const std::filesystem::path& userLibrary);

// The local picture files a drag carries.
QStringList DroppedFiles(const QMimeData* data);

}  // namespace lumora
