// The template library browser: image types (the program's library's, then the user's own),
// their categories and a grid of up to 25 thumbnails of the category's pictures; Add Picture (or a
// dropped picture file) puts a picture of the user's into the user's library. The editor's New
// shows it modally and then reads TemplatePath (empty when nothing was chosen) and
// TemplateRelativePath.
#pragma once

#include <QDialog>
#include <QStringList>
#include <cstdint>
#include <vector>

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;

namespace lumora {

class ThumbnailCell;
class ThumbnailGrid;

class frmChooseClipart : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kCellCount = 25;

  explicit frmChooseClipart(QWidget* owner = nullptr);
  ~frmChooseClipart() override;

  // Results, readable after the modal show.
  QString TemplatePath;
  QString TemplateRelativePath;

  // The type and category used last, for the life of the process.
  inline static int32_t LastTypeIndex = 0;
  inline static int32_t LastCategoryIndex = 0;

  // The program's library root; empty means "templates" beside the program.
  static void SetLibraryRoot(const QString& folder);

  void ShowImages();
  void ShowFocusRect(int index);
  int32_t SelectedIndex() const { return m_selectedIndex; }
  const QStringList& Files() const { return m_files; }

  QListWidget* Combo1() const { return m_types; }
  QListWidget* combo2() const { return m_categories; }
  ThumbnailGrid* Picture1() const { return m_grid; }
  ThumbnailCell* Picture2(int index) const { return m_cells.at(static_cast<size_t>(index)); }
  QPushButton* Command1() const { return m_preview; }
  QPushButton* CmdOK() const { return m_ok; }
  QPushButton* cmdCancel() const { return m_cancel; }
  QPushButton* cmdAddPicture() const { return m_addPicture; }
  QMenu* mnuContext() const { return m_context; }
  QAction* mnucPreview() const { return m_contextPreview; }
  QAction* mnuCSelect() const { return m_contextSelect; }

 protected:
  void showEvent(QShowEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildWindow();
  void BuildGrid();
  void LoadLibrary();
  void SelectType(int row);
  void SelectCategory(int row);
  void GridArrowKey(int key);
  void CellPressed(int index, Qt::MouseButton button, QPoint globalPos);
  // The selected picture as (relative path with "\", full path), or nothing when the selected
  // position holds no file.
  bool SelectedPaths(QString& relative, QString& full) const;
  void Choose();
  void Cancel();
  void Preview();
  void AddPictures(const QStringList& files);
  void ShowPicture(const QString& relativePath);
  QString TypeFolder() const;
  int32_t m_selectedIndex = 0;
  bool m_firstSelection = true;
  QStringList m_files;
  QString m_categoryFolder;

  QListWidget* m_types = nullptr;
  QListWidget* m_categories = nullptr;
  ThumbnailGrid* m_grid = nullptr;
  std::vector<ThumbnailCell*> m_cells;
  QPushButton* m_preview = nullptr;
  QPushButton* m_ok = nullptr;
  QPushButton* m_cancel = nullptr;
  QPushButton* m_addPicture = nullptr;
  QMenu* m_context = nullptr;
  QAction* m_contextPreview = nullptr;
  QAction* m_contextSelect = nullptr;
};

}  // namespace lumora
