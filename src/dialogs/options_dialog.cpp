#include "dialogs/options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "core/settings/autostart_entry.h"
#include "core/settings/ini_file.h"
#include "dialogs/dialog_artwork.h"
#include "dialogs/dialog_controls.h"
#include "dialogs/dialog_fonts.h"
#include "dialogs/dialog_frame.h"
#include "main_window/main_window.h"
#include "ui/box_label.h"
#include "ui/exception_guard.h"
#include "ui/form_label.h"
#include "ui/hints.h"
#include "ui/opening_focus.h"
#include "ui/skin.h"
#include "ui/svg_picture.h"
#include "ui/user_messages.h"

namespace plumwit {
namespace {

constexpr char kSection[] = "Options";

// The period texts, stored as shown.
const char* const kPeriods[] = {"5 minutes",  "15 minutes", "25 minutes",
                                "35 minutes", "45 minutes", "1 hour"};

QCheckBox* AddCheckBox(QWidget* parent, const char* name, const QString& caption,
                       const QRect& place) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setGeometry(place);
  return box;
}

}  // namespace

TOptions::TOptions(TKIV& kiv, QWidget* parent) : QDialog(parent), kiv_(kiv) {
  SetUpDialogFrame(*this, "Options", QStringLiteral("Plumwit Options"), QSize(440, 220),
                   DesignFont("Tahoma", 8, FontUnit::kPoints));
  BuildPictureAndLabels();
  BuildControls();
  OpeningFocus::Install(*this, *RefreshTime);
  SpreadWindowFont(*this);
  SpreadSkinPalette(*this);
  connect(NeverRefresh, &QCheckBox::clicked, this, Guarded(this, &TOptions::NeverRefreshClick));
  connect(sButton2, &QPushButton::clicked, this, Guarded(this, &TOptions::sButton2Click));
  connect(sButton1, &QPushButton::clicked, this, Guarded(this, &TOptions::sButton1Click));
}

void TOptions::BuildPictureAndLabels() {
  auto* picture = new SvgPicture(
      [](qreal ratio) { return DialogArtwork::OptionsPicture(QSize(217, 217), ratio); }, this);
  picture->setObjectName(QStringLiteral("Image1"));
  picture->setGeometry(0, 0, 217, 217);

  auto* title =
      new FormLabel("sLabelFX4", QStringLiteral("Plumwit Options"), QRect(200, 0, 162, 29), this);
  title->setFont(DesignFont("Tahoma", 14, FontUnit::kPoints, true));
  new FormLabel("sLabelFX1", QStringLiteral("Refresh Timeline every:"), QRect(208, 32, 120, 19),
                this);
}

// Created in their tab order.
void TOptions::BuildControls() {
  RefreshTime = new QComboBox(this);
  RefreshTime->setObjectName(QStringLiteral("RefreshTime"));
  RefreshTime->setGeometry(216, 56, 217, 22);
  RefreshTime->setEditable(false);
  for (const char* period : kPeriods) RefreshTime->addItem(QString::fromLatin1(period));
  RefreshTime->setCurrentIndex(0);

  WindowsStart =
      AddCheckBox(this, "WindowsStart", QStringLiteral("Start Plumwit when Windows starts."),
                  QRect(216, 104, 197, 19));
  sButton1 = AddButton(this, "sButton1", QStringLiteral("Close"), QRect(352, 136, 75, 25));
  sButton2 = AddButton(this, "sButton2", QStringLiteral("Save"), QRect(272, 136, 75, 25));
  NeverRefresh =
      AddCheckBox(this, "NeverRefresh", QStringLiteral("Never Refresh Timeline (Manual Refresh)."),
                  QRect(216, 80, 226, 19));
  SetHint(NeverRefresh, QStringLiteral("Never Refresh Timeline (I will refresh timeline manual)"));
  AddBevel(this, "Bevel1", QRect(208, 120, 225, 9));
  LabelBox(findChild<QLabel*>(QStringLiteral("sLabelFX1")), RefreshTime);
  MakeMainButton(sButton2);

  setTabOrder(RefreshTime, WindowsStart);
  setTabOrder(WindowsStart, sButton1);
  setTabOrder(sButton1, sButton2);
  setTabOrder(sButton2, NeverRefresh);
}

void TOptions::FormCreate() {
  const IniFile settings = kiv_.Settings();
  SelectPeriod(QString::fromStdString(settings.ReadString(kSection, "RefreshTimeline", "")));
  NeverRefresh->setChecked(settings.ReadBool(kSection, "NeverRefresh", false));
  WindowsStart->setChecked(settings.ReadBool(kSection, "WindowsStart", false));
  RefreshTime->setEnabled(!NeverRefresh->isChecked());
}

// A text that is none of the periods leaves the selection where it is.
void TOptions::SelectPeriod(const QString& text) {
  const int index = RefreshTime->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index >= 0) RefreshTime->setCurrentIndex(index);
}

void TOptions::NeverRefreshClick() { RefreshTime->setEnabled(!NeverRefresh->isChecked()); }

void TOptions::sButton2Click() {
  IniFile settings = kiv_.Settings();
  settings.WriteString(kSection, "RefreshTimeline", RefreshTime->currentText().toStdString());
  settings.WriteBool(kSection, "NeverRefresh", NeverRefresh->isChecked());
  settings.WriteBool(kSection, "WindowsStart", WindowsStart->isChecked());
  UpdateStartEntry();
  kiv_.FormCreate();
  close();
}

// The entry runs the program from the folder it runs from now.
void TOptions::UpdateStartEntry() {
  if (WindowsStart->isChecked()) {
    AddRunEntry(kiv_.Setup().program_folder);
  } else {
    ShowMessage(QString::fromStdString(RemoveRunEntry()));
  }
}

void TOptions::sButton1Click() { close(); }

}  // namespace plumwit
