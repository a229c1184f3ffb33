// The question the update check asks when the manifest names a newer version.
#pragma once

#include <string>
#include <string_view>

// The version as the manifest writes it, and its update notes.
std::string BuildUpdatePrompt(std::string_view versionText, std::string_view updateNotes);
