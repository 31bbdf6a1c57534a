#pragma once
// Window scaling. Only the values 48, 72, 96, 120, 144, 168 and 192 are
// allowed; anything else falls back to 96 (100 %).

constexpr int kDefaultDpi = 96;

bool IsAllowedDpi(int dpi);
int ValidDpi(int dpi);  // dpi itself when allowed, else kDefaultDpi (traced)

// value (in 96-DPI pixels) at dpi, rounded to the nearest pixel.
int ScaleForDpi(int value, int dpi);
