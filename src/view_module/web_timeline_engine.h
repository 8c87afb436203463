#pragma once

#include <QUrl>
#include <QWebEngineView>

#include "timeline/timeline_engine.h"

class QWebEngineLoadingInfo;

namespace plumwit {

class TimelinePage;
class TimelinePageScheme;

// The timeline's web view: shows pages served from memory through their own
// scheme, with no context menu, silent scripts and links that leave for the
// desktop's browser.
class WebTimelineEngine : public QWebEngineView, public TimelineEngine {
  Q_OBJECT

 public:
  WebTimelineEngine(QWidget* parent, TimelineEngineHooks hooks);
  ~WebTimelineEngine() override;

  QWidget* Widget() override { return this; }
  void LoadPage(const QByteArray& page) override;
  void WarmUp() override;
  void RunJavaScript(const QString& script,
                     std::function<void(const QVariant& result)> done) override;
  QWebEngineView* Browser() override { return this; }

 private:
  void ConfigureSettings();
  void ReportLoad(const QWebEngineLoadingInfo& info);

  TimelineEngineHooks hooks_;
  TimelinePage* page_;
  quint64 number_;
  QUrl offered_;
};

}  // namespace plumwit
