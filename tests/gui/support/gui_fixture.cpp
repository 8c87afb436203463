#include "support/gui_fixture.h"

#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "core/settings/file_locations.h"
#include "support/scripted_http_server.h"
#include "ui/ui_seams.h"

namespace plumwit::test {
namespace {

std::string Slurp(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
}

void Spill(const QString& path, const std::string& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    qFatal("cannot write %s", qPrintable(path));
  file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

}  // namespace

GuiFixture::GuiFixture(std::string service_host) : service_host_(std::move(service_host)) {
  if (service_host_.empty()) service_host_ = "127.0.0.1:" + std::to_string(ClosedLoopbackPort());
  QFile::copy(QStringLiteral(PLUMWIT_STYLESHEET_PATH),
              program_folder_.filePath(QStringLiteral("style.css")));
  UiSeams::MessageBox() = [this](const QString& text) { messages << text; };
  UiSeams::ErrorDisplay() = [this](const QString& text) { errors << text; };
  UiSeams::WarningBox() = [this](const QString& caption, const QString& text) {
    warnings << caption << text;
  };
  UiSeams::ModalDialog() = [this](QDialog& dialog) { modal_dialogs << dialog.objectName(); };
  UiSeams::LinkOpener() = [this](const QString& address) { links << address; };
}

GuiFixture::~GuiFixture() {
  Stop();
  UiSeams::Reset();
}

void GuiFixture::Start() {
  WindowSetup setup;
  setup.program_folder = ProgramFolder();
  if (installed_layout) {
    setup.application_data_folder = UserConfigFolder();
    setup.settings_file = SettingsFileLocation(setup.program_folder, setup.application_data_folder);
  } else {
    setup.application_data_folder = DataFolder();
    // A portable copy: the settings stay in the program folder.
    setup.settings_file = ProgramFolder() + "settings.kiv";
  }
  setup.stylesheet_folder = ProgramFolder();
  setup.service_host = service_host_;
  setup.service_dialect = service_dialect;
  setup.service_scheme = service_scheme;
  setup.http_limits.timeout = std::chrono::seconds(5);
  setup.screen_size = [this] { return screen; };
  setup.view_module_file = view_module_file.empty() ? PLUMWIT_VIEW_MODULE_PATH : view_module_file;
  forms_ = std::make_unique<FormSet>(std::move(setup));
}

void GuiFixture::Stop() { forms_.reset(); }

std::string GuiFixture::ProgramFolder() const { return program_folder_.path().toStdString() + "/"; }

std::string GuiFixture::DataFolder() const { return data_folder_.path().toStdString(); }

void GuiFixture::WriteProgramFile(const std::string& name, const std::string& bytes) const {
  Spill(program_folder_.filePath(QString::fromStdString(name)), bytes);
}

void GuiFixture::WriteDataFile(const std::string& name, const std::string& bytes) const {
  Spill(data_folder_.filePath(QString::fromStdString(name)), bytes);
}

std::string GuiFixture::ReadProgramFile(const std::string& name) const {
  return Slurp(program_folder_.filePath(QString::fromStdString(name)));
}

std::string GuiFixture::ReadDataFile(const std::string& name) const {
  return Slurp(data_folder_.filePath(QString::fromStdString(name)));
}

bool GuiFixture::ProgramFileExists(const std::string& name) const {
  return QFile::exists(program_folder_.filePath(QString::fromStdString(name)));
}

bool GuiFixture::DataFileExists(const std::string& name) const {
  return QFile::exists(data_folder_.filePath(QString::fromStdString(name)));
}

void GuiFixture::SignIn(const QString& user, const QString& password) {
  Find<QLineEdit>("HomeUsername")->setText(user);
  Find<QLineEdit>("HomePassword")->setText(password);
  QPushButton* login = Find<QPushButton>("Login");
  QVERIFY(login->isEnabled());
  login->click();
}

}  // namespace plumwit::test
