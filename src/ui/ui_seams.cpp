#include "ui/ui_seams.h"

namespace plumwit {

UiSeams::TextHook& UiSeams::MessageBox() {
  static TextHook hook;
  return hook;
}

UiSeams::TextHook& UiSeams::ErrorDisplay() {
  static TextHook hook;
  return hook;
}

UiSeams::CaptionedTextHook& UiSeams::WarningBox() {
  static CaptionedTextHook hook;
  return hook;
}

UiSeams::DialogHook& UiSeams::ModalDialog() {
  static DialogHook hook;
  return hook;
}

UiSeams::TextHook& UiSeams::LinkOpener() {
  static TextHook hook;
  return hook;
}

void UiSeams::Reset() {
  MessageBox() = nullptr;
  ErrorDisplay() = nullptr;
  WarningBox() = nullptr;
  ModalDialog() = nullptr;
  LinkOpener() = nullptr;
}

}  // namespace plumwit
