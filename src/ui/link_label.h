#pragma once

#include <QColor>
#include <QLabel>

namespace plumwit {

// A label that acts as a web link: blue, the window-text colour while the
// mouse is over it, a hand cursor, and a click signal. Tab reaches it, and
// Enter or Space opens it as a click does.
class LinkLabel : public QLabel {
  Q_OBJECT

 public:
  LinkLabel(const QString& text, QWidget* parent);

  // For a link that looks like the labels around it: one colour, with or
  // without the mouse over it.
  void KeepColour(const QColor& colour);

 signals:
  void clicked();

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void SetColour(const QColor& colour);

  QColor normal_colour_;
  QColor hover_colour_;  // invalid: the window-text colour
};

}  // namespace plumwit
