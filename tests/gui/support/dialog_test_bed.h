#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "support/gui_fixture.h"
#include "support/scripted_http_server.h"

class QAction;
class QDialog;

namespace plumwit::gui_test {

// One recorded request, split into its parts.
struct WireRequest {
  QByteArray request_line;
  QList<QByteArray> header_lines;  // as sent, in order
  QByteArray body;

  // The value of the first header of that name (any case), or a null array.
  QByteArray Header(const char* name) const;
  bool HasHeader(const char* name) const { return !Header(name).isNull(); }
};

// Raw reply bytes with a Content-Length, closing the connection after.
test::ScriptedReply Reply(int code, const std::string& reason, const std::string& body);
test::ScriptedReply Ok(const std::string& body);

// A user record with the profile's five fields, and an empty home timeline.
std::string UserRecord(const std::string& name, const std::string& screen_name,
                       const std::string& location, const std::string& description,
                       const std::string& url);
std::string EmptyTimeline();

// A program run for the dialogs' tests: the GUI fixture's folders and seam
// recorders, a service that answers with a script of replies in order (the
// same path can answer differently each time), a machine-wide configuration
// folder of its own for the login start entry, and dialogs that a command
// "shows modally" left shown, without a modal loop.
class DialogTestBed {
 public:
  DialogTestBed();
  ~DialogTestBed();
  DialogTestBed(const DialogTestBed&) = delete;
  DialogTestBed& operator=(const DialogTestBed&) = delete;

  void Start() { fixture_->Start(); }
  FormSet& Forms() { return fixture_->Forms(); }
  TKIV& KIV() { return fixture_->Kiv(); }
  test::GuiFixture& Fixture() { return *fixture_; }

  // An item of the tray icon's menu.
  QAction* TrayItem(const char* name);

  // Signs in from the main window's sign-in group; the script answers the
  // account record and the timeline.
  void SignIn(const std::string& name = "ann", const std::string& password = "secret");

  test::ScriptedHttpServer& Server() { return *server_; }
  std::vector<WireRequest> Requests() const { return RequestsAfter(0); }
  // The requests that arrived after the first `skip`.
  std::vector<WireRequest> RequestsAfter(std::size_t skip) const;

  std::string ProgramFolder() const { return fixture_->ProgramFolder(); }
  std::string SettingsFile() const { return ProgramFolder() + "settings.kiv"; }
  // The machine-wide configuration folder the login start entry goes under.
  std::string SystemConfigFolder() const;
  std::string AutostartFolder() const { return SystemConfigFolder() + "/autostart"; }
  std::string AutostartEntry() const { return AutostartFolder() + "/Plumwit.desktop"; }

  // Runs while a dialog is "shown modally"; when empty, it just stays shown.
  std::function<void(QDialog&)> while_modal;

 private:
  std::unique_ptr<test::ScriptedHttpServer> server_;
  std::unique_ptr<test::GuiFixture> fixture_;
  QTemporaryDir system_config_folder_;
  QByteArray previous_config_dirs_;
  bool had_config_dirs_ = false;

 public:
  // What reached the seams, in order (the fixture's recorders).
  QStringList& messages;
  QStringList& errors;
  QStringList& links;
  QStringList& modal_dialogs;  // objectNames
};

QByteArray ReadFile(const std::string& path);
void WriteFile(const std::string& path, const QByteArray& bytes);

}  // namespace plumwit::gui_test
