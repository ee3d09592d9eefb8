#pragma once

#include "app/MainWindowOptions.h"
#include "common/HookSettings.h"
#include "ui/DialogHost.h"

// The main window's option boxes and their registry values: each box shows what the registry
// holds, writes it back the moment it changes, and together they make the settings block the
// hook library gets.
namespace option_controls {

// Every box and edit as the registry holds them now.
void Load(DialogHost& host);
// A click on an option's box: the box, its registry value and the boxes that depend on it.
void Toggle(DialogHost& host, const OptionBox& box);
// The registry keeps an edit's text as typed, as stored settings expect.
void StoreEdit(DialogHost& host, const main_window::NumberEdit& edit);
// The settings block as the controls hold it now.
HookSettings Build(DialogHost& host);

}  // namespace option_controls
