#include "services/win32/control_factory.h"

#include <string>
#include <string_view>

#include "services/win32/control_kinds.h"
#include "services/win32/drawing_resources.h"
#include "services/win32/entry_box.h"
#include "services/win32/picture_box.h"
#include "services/win32/wide_text.h"

namespace {

// A drop-down list takes this total height (field and dropped list), whatever
// the data says: the data's 29 is below the minimum such lists are given.
constexpr int kComboTotalHeight = 160;
// Each line of the dropped list is this much taller than the font's line.
constexpr int kComboItemExtra = 5;
// Child ids, one per row; any distinct values away from the dialog ids would do.
constexpr int kFirstControlId = 100;

void fillCombo(HWND combo, std::string_view items, HFONT font) {
  while (!items.empty()) {
    const std::size_t end = items.find('\n');
    const std::string_view item = items.substr(0, end);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(item).c_str()));
    if (end == std::string_view::npos) break;
    items.remove_prefix(end + 1);
  }
  if (font != nullptr) {
    const int line = lineHeightOf(combo, font);
    if (line > 0) {
      // Some combo boxes pass the item height on only when they draw their own
      // items; the dropped list itself always takes it.
      SendMessageW(combo, CB_SETITEMHEIGHT, 0, line + kComboItemExtra);
      COMBOBOXINFO parts{};
      parts.cbSize = sizeof(parts);
      if (GetComboBoxInfo(combo, &parts) && parts.hwndList != nullptr) {
        SendMessageW(parts.hwndList, LB_SETITEMHEIGHT, 0, line + kComboItemExtra);
      }
    }
  }
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

}  // namespace

HWND createControl(HWND parent, const ControlDefinition& control, std::size_t index) {
  const ControlClass look = classOf(control);
  if (look.className == nullptr) return nullptr;
  const int height = control.kind == ControlKind::comboBox ? kComboTotalHeight : control.height;
  void* parameter =
      control.kind == ControlKind::pictureBox ? pictureCreationData(control.picture) : nullptr;
  const std::wstring text =
      control.kind == ControlKind::comboBox || control.text == nullptr ? std::wstring()
                                                                       : widen(control.text);
  HWND handle = CreateWindowExW(
      0, look.className, text.c_str(), WS_CHILD | WS_CLIPSIBLINGS | look.style, control.left,
      control.top, control.width, height, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + index)), GetModuleHandleW(nullptr),
      parameter);
  if (handle == nullptr) return nullptr;

  HFONT font = control.fontPixels > 0 ? fontOfPixels(control.fontPixels) : nullptr;
  if (font != nullptr) SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  switch (control.kind) {
    case ControlKind::checkBox:
    case ControlKind::radioButton:
      if (control.flags & kChecked) SendMessageW(handle, BM_SETCHECK, BST_CHECKED, 0);
      break;
    case ControlKind::editBox:
      setUpEntryBox(handle, font);
      break;
    case ControlKind::comboBox:
      fillCombo(handle, control.text != nullptr ? control.text : "", font);
      break;
    default:
      break;
  }
  return handle;
}
