#include "timeline/texture_ready_window.h"

#include <qpa/qplatformbackingstore.h>
#include <QApplication>
#include <QBackingStore>
#include <QOpenGLWidget>
#include <QPlatformSurfaceEvent>
#include <QWidget>
#include <QWindow>

namespace plumwit {

TextureReadyWindow::TextureReadyWindow(QWidget* window) : QObject(window), window_(window) {
  if (window->testAttribute(Qt::WA_WState_Created)) return;
  stand_in_ = new QOpenGLWidget(window);
  stand_in_->setObjectName(QStringLiteral("TextureSurfaceStandIn"));
  stand_in_->hide();
  // Painting the plain way into an OpenGL surface is sound with X11's
  // shared-memory images; other platforms' surfaces may not take both.
  if (QGuiApplication::platformName() == QLatin1String("xcb")) qApp->installEventFilter(this);
}

// Qt picks the surface's kind before it creates the native window and the
// way it paints just after; the stand-in is there for the first only.
bool TextureReadyWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::PlatformSurface && window_ && watched == window_->windowHandle() &&
      static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() ==
          QPlatformSurfaceEvent::SurfaceCreated) {
    qApp->removeEventFilter(this);
    composing_deferred_ = window_->windowHandle()->surfaceType() == QSurface::OpenGLSurface;
    delete stand_in_;
  }
  return QObject::eventFilter(watched, event);
}

// With the window still painting the plain way, the texture child would find
// no graphics context to draw with; this gives the window's backing store
// the one Qt would have made at creation.
void TextureReadyWindow::PrepareForTextureChild() {
  if (!composing_deferred_ || !window_) return;
  composing_deferred_ = false;
  QWindow* handle = window_->windowHandle();
  QBackingStore* store = window_->backingStore();
  if (!handle || !store || handle->surfaceType() != QSurface::OpenGLSurface) return;
  if (store->handle()->rhi()) return;
  store->handle()->setRhiConfig(
      QPlatformBackingStoreRhiConfig(QPlatformBackingStoreRhiConfig::OpenGL));
}

}  // namespace plumwit
