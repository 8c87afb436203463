#pragma once

#include <QDialog>

class QAction;
class QLabel;
class QPushButton;

namespace plumwit {

class LinkLabel;
class TKIV;

// The dialog `About`: "About Plumwit". The name and version, the licence
// notice and five links to outside pages. Created once at start-up, shown
// modally by the main window's commands and hidden, not destroyed, when
// closed; it keeps no state.
class TAbout : public QDialog {
  Q_OBJECT

 public:
  explicit TAbout(TKIV& kiv, QWidget* parent = nullptr);

  void sWebLabel1Click();
  void sWebLabel2Click();
  void sWebLabel3Click();
  void sWebLabel4Click();
  void PayPalDonateButtonClick();
  void sButton1Click();

  LinkLabel* sWebLabel1;
  LinkLabel* sWebLabel2;
  LinkLabel* sWebLabel3;
  LinkLabel* sWebLabel4;
  QPushButton* PayPalDonateButton;
  QPushButton* sButton1;

  // The action list `Actions`.
  QAction* orlenco;
  QAction* GPLv3;
  QAction* twitter;
  QAction* twitterapitos;
  QAction* PayPalDonate;

 private:
  void BuildHeader();
  void BuildLegalText();
  void BuildLinks();
  void BuildFooter();
  void BuildActions();
  void ConnectControls();
  QAction* AddLinkAction(const char* name, const QString& address);

  TKIV& kiv_;
};

}  // namespace plumwit
