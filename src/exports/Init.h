#pragma once
// Start-up of the library: Init runs at the head of every export, DeInit
// forgets what Init established.
#include <windows.h>

#include <string>

#include "Utils/Base.h"
#include "Utils/Sync.h"

// Serialises Init and DeInit.
class g_CInitCS : public Utils::Sync::CriticalSection, public virtual Utils::Base {};

// processId 0 = the process that loaded the library. Reports its own errors
// in a box captioned "RazozazER4.dll" and never throws.
void Init(DWORD processId) noexcept;
// Start-up anew, whatever the state: what VelmorInit does.
void Restart(DWORD processId) noexcept;
void DeInit() noexcept;

// The served terminal's server history directory, as Init last set it.
std::string ServerPathText();

// Library-wide state of Init.
bool IsInitialised();
DWORD LastInitProcess();
