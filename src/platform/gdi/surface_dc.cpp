#include "platform/gdi/surface_dc.h"

#include "platform/gdi/gdi_objects.h"

namespace platform::gdi {

HDC CreateSurfaceDC(std::shared_ptr<PixelBuffer> target, POINT origin, const Region& visible) {
  if (!target) return nullptr;
  auto dc = std::make_unique<DcObject>();
  dc->kind = DcKind::Surface;
  dc->target = std::move(target);
  dc->origin = origin;
  dc->visible = visible;
  return RegisterNewDc(std::move(dc));
}

BOOL SetSurfaceDCGeometry(HDC hdc, POINT origin, const Region& visible) {
  DcObject* dc = LookupDc(hdc);
  if (!dc || dc->kind != DcKind::Surface) return FALSE;
  dc->origin = origin;
  dc->visible = visible;
  UpdateEffectiveClip(*dc);
  return TRUE;
}

}  // namespace platform::gdi
