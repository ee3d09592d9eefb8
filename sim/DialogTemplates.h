#pragma once

#include <map>
#include <string_view>
#include <vector>

// The controls of a dialog template as a resource script declares them: what the simulated
// dialog host knows of a dialog before it runs, so that it has exactly the controls the real
// window would have.
// A call meant for one kind of control does nothing on another (a list's message sent to a
// button), so the host tells them apart.
enum class ControlKind {
  Edit,      // EDITTEXT or an "Edit" control: setting its text notifies the dialog
  Button,    // push buttons, check boxes and radio buttons
  ComboBox,  // COMBOBOX or a "ComboBox" control
  ListView,  // a "SysListView32" control
  Static,    // LTEXT, RTEXT, CTEXT, ICON or a "Static" control
  Other,     // group boxes, list boxes, scroll bars, other classes
};

struct TemplateControl {
  int id = 0;
  ControlKind kind = ControlKind::Other;
  friend bool operator==(const TemplateControl&, const TemplateControl&) = default;
};

struct DialogTemplate {
  std::vector<TemplateControl> controls;
  std::vector<int> menuItems;  // the command ids of the menu the dialog names
  // The control with this id, or nullptr: GetDlgItem finds no window for it.
  const TemplateControl* Find(int id) const;
  friend bool operator==(const DialogTemplate&, const DialogTemplate&) = default;
};

// The dialogs (DIALOG and DIALOGEX) of a resource script by template id. Ids are numbers,
// names of #define lines in the script, or the dialog ids of the Windows headers (IDOK, ...).
// Controls without an id of their own (-1, IDC_STATIC) are left out: no call can address one.
// A dialog with a MENU has the command ids of that menu resource's items.
// What the reader cannot take throws std::runtime_error naming the line.
std::map<int, DialogTemplate> ReadDialogTemplates(std::string_view script);

// The templates of the program's own resource script, read on first use.
const std::map<int, DialogTemplate>& ProgramDialogTemplates();
