#include "runtime/layout.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace runtime {

int FontPixelHeight(float points) {
  // std::lround rounds halves away from zero, which is what MulDiv does.
  return static_cast<int>(std::lround(static_cast<double>(points) * kScreenDpi / 72.0));
}

int LogFontHeight(float points) { return -FontPixelHeight(points); }

std::string_view KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Form:
      return "Form";
    case ControlKind::CommandButton:
      return "CommandButton";
    case ControlKind::Label:
      return "Label";
    case ControlKind::TextBox:
      return "TextBox";
    case ControlKind::ComboBox:
      return "ComboBox";
    case ControlKind::PictureBox:
      return "PictureBox";
    case ControlKind::Frame:
      return "Frame";
    case ControlKind::Shape:
      return "Shape";
    case ControlKind::Timer:
      return "Timer";
    case ControlKind::CommonDialog:
      return "CommonDialog";
  }
  return "?";
}

PixelRect OuterPixels(const LayoutRow& row) {
  return PixelRect{TwipsToPixels(row.left), TwipsToPixels(row.top), TwipsToPixels(row.width),
                   TwipsToPixels(row.height)};
}

PixelRect ClientPixels(const LayoutRow& row) {
  PixelRect r = OuterPixels(row);
  if (row.client_edge) {
    r.x += kClientEdgePixels;
    r.y += kClientEdgePixels;
    r.width = std::max(0, r.width - 2 * kClientEdgePixels);
    r.height = std::max(0, r.height - 2 * kClientEdgePixels);
  }
  return r;
}

const LayoutFont& EffectiveFont(const FormLayout& layout, const LayoutRow& row) {
  return row.font.inherits() ? layout.form.font : row.font;
}

const LayoutRow* FindControl(const FormLayout& layout, std::string_view name) {
  for (const LayoutRow& row : layout.controls) {
    if (row.name == name) return &row;
  }
  return nullptr;
}

int StackingIndex(const FormLayout& layout, std::string_view name) {
  for (std::size_t i = 0; i < layout.controls.size(); ++i) {
    if (layout.controls[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

std::vector<const LayoutRow*> TabOrder(const FormLayout& layout) {
  std::vector<const LayoutRow*> order;
  for (const LayoutRow& row : layout.controls) {
    if (row.tab_index != kNoTabIndex) order.push_back(&row);
  }
  std::stable_sort(order.begin(), order.end(),
                   [](const LayoutRow* a, const LayoutRow* b) { return a->tab_index < b->tab_index; });
  return order;
}

namespace {

bool TakesTabIndex(ControlKind kind) {
  return kind != ControlKind::Form && kind != ControlKind::Shape && kind != ControlKind::Timer &&
         kind != ControlKind::CommonDialog;
}

std::string Named(const LayoutRow& row) {
  return std::string(KindName(row.kind)) + " '" + std::string(row.name) + "'";
}

void CheckGeometry(const LayoutRow& row, std::vector<std::string>& problems) {
  const int values[] = {row.left, row.top, row.width, row.height};
  for (int v : values) {
    if (!IsWholePixel(v)) {
      problems.push_back(Named(row) + ": " + std::to_string(v) + " twips is not a whole pixel");
    }
  }
  if (row.width <= 0 || row.height <= 0) problems.push_back(Named(row) + ": size must be positive");
  if (row.left < 0 || row.top < 0) problems.push_back(Named(row) + ": position must not be negative");
}

void CheckFont(const LayoutRow& row, std::vector<std::string>& problems) {
  if (!row.font.inherits() && !(row.font.points > 0.0f)) {
    problems.push_back(Named(row) + ": font size must be positive");
  }
}

}  // namespace

std::vector<std::string> Validate(const FormLayout& layout) {
  std::vector<std::string> problems;
  const LayoutRow& form = layout.form;
  if (form.kind != ControlKind::Form) problems.push_back("the first row must be the form");
  if (form.font.inherits()) problems.push_back(Named(form) + ": the form needs a font of its own");
  CheckGeometry(form, problems);
  CheckFont(form, problems);

  std::set<std::string_view> names;
  std::set<int> tabs;
  for (const LayoutRow& row : layout.controls) {
    if (row.kind == ControlKind::Form) problems.push_back(Named(row) + ": a form cannot be a control");
    if (row.name.empty()) problems.push_back(Named(row) + ": a control needs a name");
    if (!names.insert(row.name).second) problems.push_back(Named(row) + ": the name is used twice");
    if (HasGeometry(row.kind)) CheckGeometry(row, problems);
    CheckFont(row, problems);

    if (row.tab_index != kNoTabIndex) {
      if (!TakesTabIndex(row.kind)) problems.push_back(Named(row) + ": this kind has no tab index");
      if (row.tab_index < 0) problems.push_back(Named(row) + ": tab index must not be negative");
      if (!tabs.insert(row.tab_index).second) {
        problems.push_back(Named(row) + ": tab index " + std::to_string(row.tab_index) + " is used twice");
      }
    }
    if (row.kind == ControlKind::Timer && row.interval_ms < 0) {
      problems.push_back(Named(row) + ": interval must not be negative");
    }
    if (row.kind == ControlKind::PictureBox && row.draw_width < 1) {
      problems.push_back(Named(row) + ": pen width must be at least 1");
    }
    if (row.kind == ControlKind::Shape && row.shape.border_width < 1) {
      problems.push_back(Named(row) + ": outline width must be at least 1");
    }
  }
  return problems;
}

}  // namespace runtime
