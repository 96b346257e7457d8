// Form1's exports for print: the current pattern through the file engine,
// alone or as a sheet of 4 x 4 seamless copies (a repeat for cloth, paper or
// tiles, which must not show a cut where the copies meet), in the type
// chosen in the save dialog. The bytes are those `huiwenfang render --code` writes for the same
// type and size; a failure leaves no file behind and is reported like a
// failed 保存.
#include "app/export_types.h"
#include "app/form1.h"
#include "export/atomic_file.h"
#include "export/export_error.h"
#include "runtime/runtime_error.h"
#include "runtime/save_picture.h"

namespace app {
namespace {

// The effect picture's 4 x 4 tiles, without its credit line.
constexpr int kSheetRepeat = 4;

void WriteExport(const std::string& path, const patterns::PatternCode& code,
                 const exporter::TileOptions& options) {
  // What 保存 refuses (a folder, a pipe, a read-only file) is refused here
  // too, before anything is drawn.
  runtime::CheckSaveTarget(path);
  try {
    exporter::WriteFileAtomically(
        path, [&](exporter::ByteSink& sink) { exporter::WritePattern(code, options, sink); });
  } catch (const exporter::FileWriteError& e) {
    throw runtime::FileError(runtime::FileErrorNumberFor(e.OsError()), path, e.OsError());
  } catch (const exporter::ExportError& e) {
    throw runtime::FileError(runtime::kErrPathFileAccess, path, 0, std::string("无法生成文件：") + e.what());
  }
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

void Form1::mnuExportTile_Click() { ExportCurrentPattern(1, false, "导出高清图案"); }
void Form1::mnuExportSheet_Click() { ExportCurrentPattern(kSheetRepeat, true, "导出四方连续图"); }

void Form1::ExportCurrentPattern(int repeat, bool seamless, const char* title) {
  // The pattern named in the dialog is the one written, even if a tick
  // draws another while the dialog is open.
  const std::optional<patterns::PatternCode> code = CurrentPatternCode();
  if (!code) return;
  cdlExport_->SetDialogTitle(title);
  cdlExport_->SetFileName(export_folder_ + patterns::WritePatternCode(*code));
  if (!cdlExport_->ShowSave()) return;
  const std::string path = cdlExport_->FileName();
  export_folder_ = FolderOf(path);
  WriteExport(path, *code, ExportOptions(ExportTypeFor(path, cdlExport_->FilterIndex()), repeat, seamless));
}

}  // namespace app
