#include "export/vector_writer.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

#include <exception>
#include <map>
#include <string>
#include <string_view>

#include "export/cairo_canvas.h"
#include "export/cairo_handles.h"
#include "export/export_error.h"
#include "patterns/curve_pattern.h"

namespace exporter {
namespace {

// cairo calls back from C: an exception of the sink must not cross it, so it
// waits here until cairo has returned.
struct StreamTarget {
  ByteSink* sink;
  std::exception_ptr error;
};

cairo_status_t WriteToSink(void* closure, const unsigned char* data, unsigned int length) {
  auto* target = static_cast<StreamTarget*>(closure);
  if (target->error) return CAIRO_STATUS_WRITE_ERROR;
  try {
    target->sink->Write(data, length);
    return CAIRO_STATUS_SUCCESS;
  } catch (...) {
    target->error = std::current_exception();
    return CAIRO_STATUS_WRITE_ERROR;
  }
}

void Check(cairo_status_t status, const StreamTarget& target) {
  if (target.error) std::rethrow_exception(target.error);
  if (status != CAIRO_STATUS_SUCCESS)
    throw ExportError(std::string("cairo cannot write the file: ") + cairo_status_to_string(status));
}

// cairo names the surfaces in an SVG by a number counted over the whole
// process ("surface17"), so the same drawing would come out differently
// after other drawings, or when workers take turns in another order. The
// names are numbered again in the order they appear.
std::string RenumberSurfaces(const std::string& svg) {
  static constexpr std::string_view kWord = "surface";
  std::map<std::string, std::string> renamed;
  std::string out;
  out.reserve(svg.size());
  std::size_t at = 0;
  for (std::size_t hit; (hit = svg.find(kWord, at)) != std::string::npos;) {
    std::size_t end = hit + kWord.size();
    out.append(svg, at, end - at);
    at = end;
    if (hit == 0 || (svg[hit - 1] != '"' && svg[hit - 1] != '#')) continue;
    while (end < svg.size() && svg[end] >= '0' && svg[end] <= '9') ++end;
    if (end == at) continue;
    auto [it, added] = renamed.try_emplace(svg.substr(at, end - at), std::to_string(renamed.size() + 1));
    out += it->second;
    at = end;
  }
  out.append(svg, at);
  return out;
}

// Collects the SVG so that its surface names can be numbered again.
class SvgBuffer final : public ByteSink {
 public:
  void Write(const void* data, std::size_t size) override {
    text.append(static_cast<const char*>(data), size);
  }
  std::string text;
};

void DrawTile(cairo_t* cr, const patterns::PatternCode& code, double size, bool seamless) {
  CairoCanvas canvas(cr, size, code.background);
  DrawTileOf(canvas, code, seamless);
  canvas.Flush();
}

}  // namespace

void WriteVector(const patterns::PatternCode& code, const TileOptions& options, ByteSink& sink) {
  const double size = options.size;
  const double side = size * options.repeat;
  SvgBuffer svg;
  // The tile of a PDF sheet outlives the file's surface, which refers to it
  // until it is finished.
  Surface tile;
  StreamTarget target{options.format == Format::kSvg ? &svg : &sink, nullptr};
  Surface surface(options.format == Format::kSvg
                      ? cairo_svg_surface_create_for_stream(WriteToSink, &target, side, side)
                      : cairo_pdf_surface_create_for_stream(WriteToSink, &target, side, side));
  Check(cairo_surface_status(surface.get()), target);
  if (options.format == Format::kSvg) {
    cairo_svg_surface_set_document_unit(surface.get(), CAIRO_SVG_UNIT_PX);
  } else {
    // No creation date: the same options must give the same bytes in every run.
    cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATE_DATE, "");
    cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, "huiwenfang");
  }
  {
    Context cr(cairo_create(surface.get()));
    if (options.repeat == 1) {
      DrawTile(cr.get(), code, size, options.seamless);
    } else if (options.format == Format::kSvg) {
      // Each copy drawn out: cairo 1.16's SVG surface loses memory for every
      // surface it takes as a source, so a tile drawn once cannot be reused.
      for (int row = 0; row < options.repeat; ++row) {
        for (int col = 0; col < options.repeat; ++col) {
          cairo_save(cr.get());
          cairo_translate(cr.get(), col * size, row * size);
          DrawTile(cr.get(), code, size, options.seamless);
          cairo_restore(cr.get());
        }
      }
    } else {
      // The tile is drawn once and placed n x n times, so the PDF holds its
      // paths once however many copies show.
      cairo_rectangle_t extents{0, 0, size, size};
      tile.reset(cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, &extents));
      {
        Context tcr(cairo_create(tile.get()));
        DrawTile(tcr.get(), code, size, options.seamless);
        Check(cairo_status(tcr.get()), target);
      }
      for (int row = 0; row < options.repeat; ++row) {
        for (int col = 0; col < options.repeat; ++col) {
          cairo_save(cr.get());
          cairo_rectangle(cr.get(), col * size, row * size, size, size);
          cairo_clip(cr.get());
          cairo_set_source_surface(cr.get(), tile.get(), col * size, row * size);
          cairo_paint(cr.get());
          cairo_restore(cr.get());
        }
      }
    }
    Check(cairo_status(cr.get()), target);
  }
  cairo_surface_finish(surface.get());
  Check(cairo_surface_status(surface.get()), target);
  if (options.format == Format::kSvg) {
    const std::string text = RenumberSurfaces(svg.text);
    sink.Write(text.data(), text.size());
  }
}

}  // namespace exporter
