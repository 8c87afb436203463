#pragma once

#include <memory>
#include <string>
#include <vector>

#include "main_window/window_setup.h"

namespace plumwit {

class TKIV;
class TTwitterLogin;
class TPostNewTweet;
class TAbout;
class TOptions;
class TUpdateProfile;

// The program's six windows, created once in their fixed order with their
// creation handlers, and destroyed in the reverse order (so the main
// window's remembered sign-in store is the last to save).
//
// The main window and the sign-in dialog (which fills its boxes) are made at
// once. The other four dialogs are not needed to show the main window, so
// they are made just after it is first painted, or as soon as anything asks
// for one, whichever comes first.
class FormSet {
 public:
  explicit FormSet(WindowSetup setup = {});
  ~FormSet();
  FormSet(const FormSet&) = delete;
  FormSet& operator=(const FormSet&) = delete;

  TKIV& KIV() { return *kiv_; }
  TTwitterLogin& TwitterLogin() { return *twitter_login_; }
  TPostNewTweet& PostNewTweet() { return Made(post_new_tweet_); }
  TAbout& About() { return Made(about_); }
  TOptions& Options() { return Made(options_); }
  TUpdateProfile& UpdateProfile() { return Made(update_profile_); }

  // Makes the four later dialogs now, when they are not made yet.
  void MakeDialogs();
  bool DialogsMade() const { return update_profile_ != nullptr; }

  // Each window's name, and its creation handler's, in the order they ran.
  const std::vector<std::string>& CreationOrder() const { return creation_order_; }

 private:
  template <typename Handler>
  void RunCreationHandler(const std::string& name, Handler&& handler);
  // One of the later dialogs, made first when it is not yet.
  template <typename Dialog>
  Dialog& Made(const std::unique_ptr<Dialog>& dialog) {
    MakeDialogs();
    return *dialog;
  }

  std::vector<std::string> creation_order_;
  bool making_dialogs_ = false;
  std::unique_ptr<TKIV> kiv_;
  std::unique_ptr<TTwitterLogin> twitter_login_;
  std::unique_ptr<TPostNewTweet> post_new_tweet_;
  std::unique_ptr<TAbout> about_;
  std::unique_ptr<TOptions> options_;
  std::unique_ptr<TUpdateProfile> update_profile_;
};

}  // namespace plumwit
