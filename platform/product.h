#pragma once
// Names the whole program shares.

// Window title, instance lock and message name, user data folder name,
// settings key word and tray tip.
inline constexpr const char* kProductTitle = "Kestrova Z418-WL 3 Mode GAMING MOUSE";

// The program's own version, as the installed-version value records it.
inline constexpr const char* kProgramVersion = "2.3.0.2";

// The local socket, in the user's runtime folder, through which other
// programs (and a second start of this one) reach the running program.
inline constexpr const char* kMessageSocketName = "kestrova-messages";
