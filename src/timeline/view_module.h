#pragma once

#include <QLibrary>
#include <QString>
#include <QStringList>

#include "timeline/timeline_engine.h"

namespace plumwit {

// The shared library that holds the timeline's web view. The program does
// not link the web engine: the module is loaded only when the view is first
// needed, so start-up neither maps the engine nor starts it.
class ViewModule {
 public:
  // The module's file name, in every folder it is looked for in.
  static QString FileName();
  // Where the module is looked for, in this order: the library folder of an
  // installed tree, then "lib/plumwit" beside the program (the build tree).
  static QStringList Candidates(const QString& executable_folder);

  // `file` empty: the first candidate beside the running program that exists.
  explicit ViewModule(const QString& file = {});

  // Without loading anything: why the module cannot be used (it is missing
  // or plainly not a library), or empty when it looks sound.
  QString QuickProblem() const;
  // Loads the module (once) and returns its entry point; null on failure,
  // with Problem() telling why.
  CreateTimelineEngine Factory();
  QString Problem() const { return problem_; }

 private:
  QStringList looked_in_;
  QString file_;
  QLibrary library_;
  CreateTimelineEngine factory_ = nullptr;
  bool tried_ = false;
  QString problem_;
};

}  // namespace plumwit
