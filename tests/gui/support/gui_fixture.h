#pragma once

#include <memory>
#include <string>

#include <QSize>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include "main_window/form_set.h"
#include "main_window/main_window.h"

class QDialog;

namespace plumwit::test {

// One program run for a test: its own program folder (with "style.css") and
// application-data folder, the user-facing seams recorded instead of shown,
// and the six windows created on Start().
class GuiFixture {
 public:
  // Without a host, the service is a loopback port that refuses connections.
  explicit GuiFixture(std::string service_host = {});
  ~GuiFixture();

  // Creates the windows; settings and store files written before are read.
  void Start();
  // Destroys the windows as the program's end does.
  void Stop();

  FormSet& Forms() { return *forms_; }
  TKIV& Kiv() { return forms_->KIV(); }

  std::string ProgramFolder() const;
  std::string DataFolder() const;
  void WriteProgramFile(const std::string& name, const std::string& bytes) const;
  void WriteDataFile(const std::string& name, const std::string& bytes) const;
  std::string ReadProgramFile(const std::string& name) const;
  std::string ReadDataFile(const std::string& name) const;
  bool ProgramFileExists(const std::string& name) const;
  bool DataFileExists(const std::string& name) const;

  template <typename Widget>
  Widget* Find(const char* name) const {
    return forms_->KIV().findChild<Widget*>(QString::fromLatin1(name));
  }

  // Types into the sign-in boxes and presses Signin.
  void SignIn(const QString& user, const QString& password);

  // Before Start(): lay the files out as an installed copy does, the
  // settings and the store in $XDG_CONFIG_HOME/plumwit/ as the environment
  // names it, instead of a portable copy's settings in the program folder.
  bool installed_layout = false;
  QSize screen{1280, 1024};
  // The interface the program speaks, as a build would fix it.
  ServiceDialect service_dialect = ServiceDialect::kClassic;
  std::string service_scheme = "http";
  // Empty: the module built beside the tests.
  std::string view_module_file;
  QStringList messages;
  QStringList errors;
  QStringList warnings;  // caption, then text
  QStringList links;
  QStringList modal_dialogs;  // object names

 private:
  std::string service_host_;
  QTemporaryDir program_folder_;
  QTemporaryDir data_folder_;
  std::unique_ptr<FormSet> forms_;
};

}  // namespace plumwit::test
