#pragma once

#include <QObject>
#include <QPointer>

class QOpenGLWidget;
class QWidget;

namespace plumwit {

// Readies a window for a child that draws through textures (the web view),
// which only fits a window whose native surface is of the OpenGL kind. Qt
// decides that kind when it first creates the window; when such a child
// comes later it replaces the native window, and what the user types in the
// meantime is lost. Choosing that kind from the start, Qt would also compose
// every paint through OpenGL from the start, which costs a context and a
// good share of the start-up and of the memory while no such child exists.
//
// On X11 the window gets the OpenGL kind of surface at creation and keeps
// painting the plain way; the composing starts in PrepareForTextureChild.
// Elsewhere the window simply composes from the start.
class TextureReadyWindow : public QObject {
 public:
  // `window` must not have been created (shown) yet; if it has, Qt's own
  // replacement of the native window takes place when the child comes.
  explicit TextureReadyWindow(QWidget* window);

  // Call right before the first texture-drawn child is added.
  void PrepareForTextureChild();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QWidget> window_;
  // A hidden child of the texture-drawn kind makes Qt choose the surface.
  QPointer<QOpenGLWidget> stand_in_;
  bool composing_deferred_ = false;
};

}  // namespace plumwit
