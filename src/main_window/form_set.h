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
class FormSet {
 public:
  explicit FormSet(WindowSetup setup = {});
  ~FormSet();
  FormSet(const FormSet&) = delete;
  FormSet& operator=(const FormSet&) = delete;

  TKIV& KIV() { return *kiv_; }
  TTwitterLogin& TwitterLogin() { return *twitter_login_; }
  TPostNewTweet& PostNewTweet() { return *post_new_tweet_; }
  TAbout& About() { return *about_; }
  TOptions& Options() { return *options_; }
  TUpdateProfile& UpdateProfile() { return *update_profile_; }

  // Each window's name, and its creation handler's, in the order they ran.
  const std::vector<std::string>& CreationOrder() const { return creation_order_; }

 private:
  template <typename Handler>
  void RunCreationHandler(const std::string& name, Handler&& handler);

  std::vector<std::string> creation_order_;
  std::unique_ptr<TKIV> kiv_;
  std::unique_ptr<TTwitterLogin> twitter_login_;
  std::unique_ptr<TPostNewTweet> post_new_tweet_;
  std::unique_ptr<TAbout> about_;
  std::unique_ptr<TOptions> options_;
  std::unique_ptr<TUpdateProfile> update_profile_;
};

}  // namespace plumwit
