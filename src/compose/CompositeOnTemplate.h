// The flattened picture painted onto the template's own pixels for one export, so the editor never
// holds a large template twice. What lies under each visible item is put aside just before it is
// painted, and it is painted only within that area, so putting the areas back last first leaves
// the template exactly itself again when this goes. Its pixels are the composite only while this
// lives: nothing may show or read the template meanwhile (the editor's export runs its route
// before the workspace paints again).
#pragma once

#include <QRect>
#include <memory>
#include <vector>

#include "document/Document.h"
#include "imaging/raster/Bitmap.h"
#include "imaging/raster/Picture.h"

namespace lumora {

class CompositeOnTemplate {
 public:
  // Paints nothing, and Composite() is null, when the template is not a 32-bit top-down surface or
  // its put-aside areas do not fit in memory; the caller then builds a copy.
  CompositeOnTemplate(const Document& document, const raster::StdPicture& templatePicture);
  ~CompositeOnTemplate();
  CompositeOnTemplate(const CompositeOnTemplate&) = delete;
  CompositeOnTemplate& operator=(const CompositeOnTemplate&) = delete;

  const raster::Bitmap* Composite() const { return m_surface.get(); }

 private:
  struct KeptArea {
    QRect rect;
    std::vector<uint8_t> pixels;
  };

  void PutBack();

  std::shared_ptr<raster::Bitmap> m_surface;
  std::vector<KeptArea> m_kept;
};

}  // namespace lumora
