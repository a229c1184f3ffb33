// The update check that the popup menu's "检测升级" runs.
#pragma once

#include "shell/main_window.h"
#include "update/manifest_tree.h"

// Makes sure the updater is on disk, fetches the manifest, and either tells
// the user there is nothing new or asks whether to update and, on OK, hands
// over to the updater and ends the program. Blocks the GUI thread while it
// downloads and pauses; the status line shows each step at once.
void CheckForUpdate(MainWindow& window, ManifestTree& tree);
