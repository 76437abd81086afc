#include "widgets/gallery/CurveGallery.h"

namespace vadero {
void RenderCurveGallery(const QString& /*dir*/) {}
}  // namespace vadero
