#pragma once

namespace plumwit::texts {

// Captions: the blanks in front are part of each.
inline constexpr const char* kCaptionAtStart = "         Plumwit 1.7.2";
inline constexpr const char* kCaptionSignedInPrefix = "       Plumwit 1.7.2 - ";
inline constexpr const char* kCaptionAfterSignOut = "          Plumwit 1.7.2";

inline constexpr const char* kLoginLogoutHintAtStart = "Twitter Account Login";
inline constexpr const char* kLoginLogoutHintSignedIn = "Logout from your Twitter Account";
inline constexpr const char* kLoginLogoutHintSignedOut = "Signin to your Account";

inline constexpr const char* kHostNotFoundError = "Socket Error # 11001\r\nHost not found.";

inline constexpr const char* kUnknownUserMessage =
    "You have an error in your login details:\r\n"
    "  - the entered Username is incorect.\r\n"
    "\r\n"
    " Tips: \r\n"
    "  - try to login again ( maybe you did not entered your username )\r\n"
    "  - if you do not have an twitter account you can create new one on ";
inline constexpr const char* kUnknownUserMessageEnd = " homepage";

inline constexpr const char* kNoConnectionMessage =
    "There is a problem with your internet connection:\r\n"
    "  - it seems that you have no internet connection.\r\n"
    "\r\n"
    " Tip: try connect to the internet and then login to your twitter account from Plumwit.";

inline constexpr const char* kWrongPasswordMessage =
    "You have an error in your login details:\r\n"
    "  - this account password is incorect.\r\n"
    "\r\n"
    " Tip: you can try to login again on the login form.";

// A service that guards the user record refuses a wrong password and an
// unknown user name alike, so the message names both; its words follow the
// wrong-password message's.
inline constexpr const char* kRefusedSignInMessage =
    "You have an error in your login details:\r\n"
    "  - the entered Username or password is incorect.\r\n"
    "\r\n"
    " Tip: you can try to login again on the login form.";

inline constexpr const char* kErrorPrefix = "Error : ";

}  // namespace plumwit::texts
