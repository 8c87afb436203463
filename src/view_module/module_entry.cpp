// The view module's entry point, looked up by name once the module is loaded.
#include <QtGlobal>

#include "view_module/timeline_page_scheme.h"
#include "view_module/web_timeline_engine.h"

extern "C" Q_DECL_EXPORT plumwit::TimelineEngine* plumwit_create_timeline_engine(
    QWidget* parent, plumwit::TimelineEngineHooks hooks) {
  // The engine reads its schemes when its first profile comes to be, which
  // happens in the constructor below.
  plumwit::TimelinePageScheme::Register();
  return new plumwit::WebTimelineEngine(parent, std::move(hooks));
}
