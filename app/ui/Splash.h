#pragma once
// The splash screen shown while the payload is unpacked. One at a time.
#include <string>

namespace NX_Splash {
void ShowSplash(const std::string& title);
void SetSplashInfo(const std::string& title, const std::string& from, const std::string& created);
void HideSplash();
bool IsShown();
} // namespace NX_Splash
