#pragma once

#include <functional>

#include <QString>

class QDialog;

namespace plumwit {

// Replaceable ends of everything that blocks on the user or leaves the
// program: tests install recorders here so nothing waits for a click and no
// browser opens. An empty hook means the real behaviour.
class UiSeams {
 public:
  using TextHook = std::function<void(const QString& text)>;
  using CaptionedTextHook = std::function<void(const QString& caption, const QString& text)>;
  using DialogHook = std::function<void(QDialog& dialog)>;

  // A plain message box: the application title as caption, no icon, OK.
  static TextHook& MessageBox();
  // The default error display, given the text as the user reads it.
  static TextHook& ErrorDisplay();
  // A warning box with its own caption.
  static CaptionedTextHook& WarningBox();
  // Showing a dialog modally.
  static DialogHook& ModalDialog();
  // Handing a web address to the desktop's default handler.
  static TextHook& LinkOpener();

  // Back to the real behaviour everywhere.
  static void Reset();
};

}  // namespace plumwit
