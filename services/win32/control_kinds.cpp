#include "services/win32/control_kinds.h"

#include "services/win32/picture_box.h"

ControlClass classOf(const ControlDefinition& control) {
  constexpr DWORD kButtonLook = BS_MULTILINE | BS_CENTER | BS_VCENTER | WS_TABSTOP;
  switch (control.kind) {
    case ControlKind::label: {
      DWORD style = SS_NOPREFIX;
      if (control.flags & kWrapTop) {
        style |= SS_CENTER;
      } else if (control.flags & kCentred) {
        style |= SS_CENTER | SS_CENTERIMAGE;  // one line, centred both ways
      } else {
        style |= SS_LEFT;
      }
      return {L"STATIC", style};
    }
    case ControlKind::pushButton:
      return {L"BUTTON", BS_PUSHBUTTON | kButtonLook};
    case ControlKind::checkBox:
      return {L"BUTTON", BS_AUTOCHECKBOX | BS_FLAT | kButtonLook};
    case ControlKind::radioButton:
      return {L"BUTTON", BS_AUTORADIOBUTTON | BS_FLAT | kButtonLook};
    case ControlKind::editBox:
      return {L"EDIT", ES_CENTER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP};
    case ControlKind::comboBox:
      return {L"COMBOBOX", CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP};
    case ControlKind::pictureBox:
      return {kPictureClass, 0};
    case ControlKind::timer:
      break;
  }
  return {nullptr, 0};
}

bool isTabStop(ControlKind kind) {
  switch (kind) {
    case ControlKind::pushButton:
    case ControlKind::checkBox:
    case ControlKind::radioButton:
    case ControlKind::editBox:
    case ControlKind::comboBox:
      return true;
    default:
      return false;
  }
}

bool showsHandPointer(ControlKind kind) {
  return kind == ControlKind::pushButton || kind == ControlKind::checkBox ||
         kind == ControlKind::radioButton || kind == ControlKind::comboBox;
}

bool raisesClicked(ControlKind kind) {
  return kind == ControlKind::pushButton || kind == ControlKind::checkBox ||
         kind == ControlKind::radioButton;
}

bool coloursOf(const ControlDefinition& control, ControlColours& colours) {
  if (control.kind == ControlKind::pushButton || control.kind == ControlKind::pictureBox) {
    return false;
  }
  // Entry fields are black on white unless the data says otherwise.
  const bool entry = control.kind == ControlKind::editBox || control.kind == ControlKind::comboBox;
  colours.text = control.textColour != kDefaultColour ? control.textColour : kBlack;
  colours.back = control.backColour != kDefaultColour ? control.backColour
                 : entry                              ? kWhite
                                                      : kDefaultColour;
  return true;
}
