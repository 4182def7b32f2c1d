#include "compose/CentrePicture.h"

namespace lumora {

namespace {
RectF CentredIn(SizeF outer, SizeF inner) {
  return {(outer.width - inner.width) / 2, (outer.height - inner.height) / 2, inner.width, inner.height};
}
}  // namespace

CentreLayout CentrePicture(SizeF workspace, SizeF picture, SizeF welcome, bool documentOpen) {
  CentreLayout layout{};
  layout.picture = CentredIn(workspace, picture);
  layout.welcome = CentredIn(workspace, welcome);
  layout.outline = {layout.picture.left - 1, layout.picture.top - 1, picture.width + 2, picture.height + 2};
  layout.outlineVisible = documentOpen;
  return layout;
}

}  // namespace lumora
