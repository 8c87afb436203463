#pragma once

#include <QLabel>

namespace plumwit {

// The window's labels: plain text in the label colour, RGB (43, 53, 77).
class FormLabel : public QLabel {
  Q_OBJECT

 public:
  // Sized to its text at `at`.
  FormLabel(const char* name, const QString& text, QPoint at, QWidget* parent);
  // At a fixed place.
  FormLabel(const char* name, const QString& text, const QRect& place, QWidget* parent);

  static QColor Colour() { return QColor(43, 53, 77); }

 private:
  void Style(const char* name);
};

}  // namespace plumwit
