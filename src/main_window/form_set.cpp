#include "main_window/form_set.h"

#include "dialogs/about_dialog.h"
#include "dialogs/options_dialog.h"
#include "dialogs/post_new_tweet_dialog.h"
#include "dialogs/twitter_login_dialog.h"
#include "dialogs/update_profile_dialog.h"
#include "main_window/main_window.h"
#include "ui/exception_guard.h"

namespace plumwit {

// An error in a creation handler ends that handler only: it is shown, and
// start-up goes on with the next window.
template <typename Handler>
void FormSet::RunCreationHandler(const std::string& name, Handler&& handler) {
  creation_order_.push_back(name + ".FormCreate");
  RunGuarded(std::forward<Handler>(handler));
}

FormSet::FormSet(WindowSetup setup) {
  kiv_ = std::make_unique<TKIV>(std::move(setup));
  creation_order_.push_back("KIV");
  kiv_->FinishLoading();
  RunCreationHandler("KIV", [this] { kiv_->FormCreate(); });

  twitter_login_ = std::make_unique<TTwitterLogin>(*kiv_);
  creation_order_.push_back("TwitterLogin");
  RunCreationHandler("TwitterLogin", [this] { twitter_login_->FormCreate(); });

  FormDialogs dialogs;
  dialogs.TwitterLogin = twitter_login_.get();
  kiv_->AttachDialogs(dialogs);
  kiv_->SetDialogMaker([this] { MakeDialogs(); });
}

// Once only: an error box of a creation handler below runs the event loop,
// and a command given meanwhile must not start the making again.
void FormSet::MakeDialogs() {
  if (making_dialogs_) return;
  making_dialogs_ = true;
  post_new_tweet_ = std::make_unique<TPostNewTweet>(*kiv_);
  creation_order_.push_back("PostNewTweet");
  about_ = std::make_unique<TAbout>(*kiv_);
  creation_order_.push_back("About");

  options_ = std::make_unique<TOptions>(*kiv_);
  creation_order_.push_back("Options");
  RunCreationHandler("Options", [this] { options_->FormCreate(); });

  update_profile_ = std::make_unique<TUpdateProfile>(*kiv_);
  creation_order_.push_back("UpdateProfile");

  kiv_->AttachDialogs({twitter_login_.get(), post_new_tweet_.get(), about_.get(), options_.get(),
                       update_profile_.get()});
}

FormSet::~FormSet() {
  update_profile_.reset();
  options_.reset();
  about_.reset();
  post_new_tweet_.reset();
  twitter_login_.reset();
  kiv_.reset();
}

}  // namespace plumwit
