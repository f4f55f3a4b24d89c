#include "filetypes/shell_command.h"

WString OpenCommandFor(WStringView executable_path) {
  WString command;
  if (executable_path.find_first_of(u" \t") != WStringView::npos)
    command.append(u"\"").append(executable_path).append(u"\"");
  else
    command.append(executable_path);
  return command + u" -I \"%1\"";
}

WString IconLocationFor(WStringView executable_path) { return WString(executable_path) + u",0"; }
