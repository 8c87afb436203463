#include "dialogs/about_dialog.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

#include "core/build_config.h"
#include "core/service/endpoints.h"
#include "dialogs/dialog_artwork.h"
#include "dialogs/dialog_controls.h"
#include "dialogs/dialog_fonts.h"
#include "dialogs/dialog_frame.h"
#include "main_window/main_window.h"
#include "ui/exception_guard.h"
#include "ui/form_label.h"
#include "ui/hints.h"
#include "ui/link_label.h"
#include "ui/link_opener.h"
#include "ui/opening_focus.h"
#include "ui/skin.h"
#include "ui/svg_picture.h"

namespace plumwit {
namespace {

const QSize kDonatePicture(121, 49);

constexpr char kLegalText[] =
    "Plumwit is free software: you can redistribute it and/or modify it under the terms of "
    "the GNU General Public License as published by the Free Software Foundation, either "
    "version 3 of the License, or (at your option) any later version.\n\n"
    "Plumwit is distributed in the hope that it will be useful, but WITHOUT ANY WARRANTY; "
    "without even the implied warranty of MERCHANTABILITY or FITNESS FOR A PARTICULAR "
    "PURPOSE. See the GNU General Public License for more details.";

QString Q(const std::string& text) { return QString::fromStdString(text); }

QString DonationAddress() {
  return QStringLiteral("https://www.paypal.com/cgi-bin/webscr?cmd=_xclick&business=") +
         Q(PercentEncode(build::kMakerPayPalAccount)) +
         QStringLiteral("&item_name=Plumwit%20Donation&currency_code=USD&no_note=1&no_shipping=1");
}

LinkLabel* AddLinkLabel(QWidget* parent, const char* name, const QString& caption, QPoint at,
                        const QString& hint) {
  auto* label = new LinkLabel(caption, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->adjustSize();
  label->move(at);
  SetHint(label, hint);
  return label;
}

}  // namespace

TAbout::TAbout(TKIV& kiv, QWidget* parent) : QDialog(parent), kiv_(kiv) {
  SetUpDialogFrame(*this, "About", QStringLiteral("About Plumwit"), QSize(408, 374),
                   DesignFont("Tahoma", 8, FontUnit::kPoints));
  BuildHeader();
  BuildLegalText();
  BuildLinks();
  BuildFooter();
  BuildActions();
  // Its one input is Close; the links and the donation come before it with Tab.
  OpeningFocus::Install(*this, *sButton1);
  SpreadWindowFont(*this);
  SpreadSkinPalette(*this);
  ConnectControls();
}

void TAbout::BuildHeader() {
  auto* picture = new SvgPicture(
      [](qreal ratio) { return DialogArtwork::AboutPicture(QSize(64, 64), ratio); }, this);
  picture->setObjectName(QStringLiteral("ClientImage"));
  picture->setGeometry(8, 0, 65, 65);

  auto* title = new FormLabel("sLabelFX1", QStringLiteral("Plumwit Version 1.7.2"),
                              QRect(80, 16, 321, 41), this);
  title->setFont(DesignFont("Tahoma", 22, FontUnit::kPoints, true));

  sWebLabel4 = AddLinkLabel(this, "sWebLabel4", QStringLiteral("Visit Orlenco homepage."),
                            QPoint(208, 56), QStringLiteral("Visit Orlenco homapepage"));
  AddBevel(this, "Bevel1", QRect(16, 64, 377, 10));
}

// The licence notice fills the space between the header and the links.
void TAbout::BuildLegalText() {
  auto* legal =
      new FormLabel("LegalText", QString::fromLatin1(kLegalText), QRect(16, 84, 377, 168), this);
  legal->setWordWrap(true);
  legal->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TAbout::BuildLinks() {
  auto* other = new FormLabel("sLabelFX6", QStringLiteral("Other:"), QPoint(8, 264), this);
  QFont bold = font();
  bold.setBold(true);
  other->setFont(bold);
  other->adjustSize();

  sWebLabel1 =
      AddLinkLabel(this, "sWebLabel1", QStringLiteral("Read GNU  General Public License (GPL) v3"),
                   QPoint(16, 280), QStringLiteral("Read Full GNU GPL v3 License"));
  sWebLabel2 = AddLinkLabel(this, "sWebLabel2", QStringLiteral("Visit Twitter homepage."),
                            QPoint(16, 296), QStringLiteral("Visit Twitter homepage"));
  sWebLabel3 =
      AddLinkLabel(this, "sWebLabel3", QStringLiteral("Read Twitter API Terms of Service"),
                   QPoint(16, 312), QStringLiteral("Read fully Twitter API Terms of Service"));

  PayPalDonateButton = new QPushButton(this);
  PayPalDonateButton->setObjectName(QStringLiteral("PayPalDonateButton"));
  PayPalDonateButton->setGeometry(248, 280, 121, 49);
  PayPalDonateButton->setIcon(DialogArtwork::DonateButton());
  PayPalDonateButton->setIconSize(kDonatePicture);
  PayPalDonateButton->setFlat(true);
  // Reached with Tab like the links; Enter on it donates, not closes.
  PayPalDonateButton->setFocusPolicy(Qt::TabFocus);
  PayPalDonateButton->setCursor(Qt::PointingHandCursor);
  PayPalDonateButton->setAutoDefault(true);
  SetHint(PayPalDonateButton, QStringLiteral("Make a donation to support us"));
}

void TAbout::BuildFooter() {
  AddBevel(this, "Bevel2", QRect(8, 328, 386, 10));
  sButton1 = AddButton(this, "sButton1", QStringLiteral("Close"), QRect(312, 344, 75, 25),
                       QStringLiteral("Close window"));
  MakeMainButton(sButton1);
}

void TAbout::BuildActions() {
  orlenco = AddLinkAction("orlenco", QString::fromUtf8(build::kMakerHome));
  GPLv3 = AddLinkAction("GPLv3", QStringLiteral("http://www.gnu.org/licenses/gpl.html"));
  twitter = AddLinkAction("twitter", Q(kiv_.Setup().Service().SitePage("/")));
  twitterapitos = AddLinkAction(
      "twitterapitos", QStringLiteral("http://") + QString::fromUtf8(build::kServiceDeveloperSite) +
                           QStringLiteral("/pages/api_terms"));
  PayPalDonate = AddLinkAction("PayPalDonate", DonationAddress());
}

QAction* TAbout::AddLinkAction(const char* name, const QString& address) {
  auto* action = new QAction(this);
  action->setObjectName(QString::fromLatin1(name));
  action->setData(address);
  connect(action, &QAction::triggered, this, [address] { OpenLink(address); });
  return action;
}

void TAbout::ConnectControls() {
  connect(sWebLabel1, &LinkLabel::clicked, this, Guarded(this, &TAbout::sWebLabel1Click));
  connect(sWebLabel2, &LinkLabel::clicked, this, Guarded(this, &TAbout::sWebLabel2Click));
  connect(sWebLabel3, &LinkLabel::clicked, this, Guarded(this, &TAbout::sWebLabel3Click));
  connect(sWebLabel4, &LinkLabel::clicked, this, Guarded(this, &TAbout::sWebLabel4Click));
  connect(PayPalDonateButton, &QPushButton::clicked, this,
          Guarded(this, &TAbout::PayPalDonateButtonClick));
  connect(sButton1, &QPushButton::clicked, this, Guarded(this, &TAbout::sButton1Click));
}

void TAbout::sWebLabel1Click() { GPLv3->trigger(); }
void TAbout::sWebLabel2Click() { twitter->trigger(); }
void TAbout::sWebLabel3Click() { twitterapitos->trigger(); }
void TAbout::sWebLabel4Click() { orlenco->trigger(); }
void TAbout::PayPalDonateButtonClick() { PayPalDonate->trigger(); }
void TAbout::sButton1Click() { close(); }

}  // namespace plumwit
