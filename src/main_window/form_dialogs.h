#pragma once

namespace plumwit {

class TTwitterLogin;
class TPostNewTweet;
class TAbout;
class TOptions;
class TUpdateProfile;

// The five dialogs the main window's commands reach; null until attached.
struct FormDialogs {
  TTwitterLogin* TwitterLogin = nullptr;
  TPostNewTweet* PostNewTweet = nullptr;
  TAbout* About = nullptr;
  TOptions* Options = nullptr;
  TUpdateProfile* UpdateProfile = nullptr;
};

}  // namespace plumwit
