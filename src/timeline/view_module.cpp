#include "timeline/view_module.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace plumwit {
namespace {

// The part of an ELF header that tells a loadable 64- or 32-bit library of
// this machine's byte order from anything else.
bool LooksLikeSharedLibrary(const QString& file) {
  QFile module(file);
  if (!module.open(QIODevice::ReadOnly)) return false;
  const QByteArray header = module.read(18);
  if (header.size() < 18 || !header.startsWith("\x7f"
                                               "ELF"))
    return false;
  const bool little_endian = header[5] == 1;
  const auto type = static_cast<unsigned char>(header[little_endian ? 16 : 17]);
  constexpr unsigned char kSharedObject = 3;
  return type == kSharedObject && header[little_endian ? 17 : 16] == 0;
}

QString ExecutableFolder() {
  return QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                      : QDir::currentPath();
}

}  // namespace

QString ViewModule::FileName() { return QStringLiteral(PLUMWIT_VIEW_MODULE_FILE_NAME); }

QStringList ViewModule::Candidates(const QString& executable_folder) {
  const QDir folder(executable_folder);
  QStringList candidates;
  for (const QString& relative :
       {QStringLiteral(PLUMWIT_VIEW_MODULE_INSTALLED_FOLDER), QStringLiteral("lib/plumwit")}) {
    const QString path =
        QDir::cleanPath(folder.absoluteFilePath(relative + QLatin1Char('/') + FileName()));
    if (!candidates.contains(path)) candidates << path;
  }
  return candidates;
}

ViewModule::ViewModule(const QString& file) {
  looked_in_ = file.isEmpty() ? Candidates(ExecutableFolder()) : QStringList{file};
  file_ = looked_in_.first();
  for (const QString& candidate : looked_in_) {
    if (QFileInfo::exists(candidate)) {
      file_ = candidate;
      break;
    }
  }
}

QString ViewModule::QuickProblem() const {
  if (!QFileInfo::exists(file_)) {
    return QStringLiteral("It was not found; looked for it as: ") +
           looked_in_.join(QStringLiteral(", "));
  }
  if (!LooksLikeSharedLibrary(file_)) return file_ + QStringLiteral(" is not a shared library");
  return {};
}

CreateTimelineEngine ViewModule::Factory() {
  if (tried_) return factory_;
  tried_ = true;
  problem_ = QuickProblem();
  if (!problem_.isEmpty()) return nullptr;
  library_.setFileName(file_);
  if (!library_.load()) {
    problem_ = library_.errorString();
    return nullptr;
  }
  factory_ = reinterpret_cast<CreateTimelineEngine>(library_.resolve(kCreateTimelineEngineSymbol));
  if (!factory_) {
    problem_ = file_ + QStringLiteral(" has no entry point ") +
               QString::fromLatin1(kCreateTimelineEngineSymbol);
  }
  return factory_;
}

}  // namespace plumwit
