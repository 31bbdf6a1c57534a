#pragma once
// Names the whole program shares.

// Window title, instance lock and message name, user data folder name,
// settings key word and tray tip.
inline constexpr const char* kProductTitle = "Kestrova Z418-WL 3 Mode GAMING MOUSE";

// The program's own version, as the installed-version value records it.
inline constexpr const char* kProgramVersion = "2.3.0.2";
