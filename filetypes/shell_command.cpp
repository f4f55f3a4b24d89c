#include "filetypes/shell_command.h"

#include "classlib/quoting.h"

WString OpenCommandFor(WStringView executable_path) { return QuotedIfBlank(executable_path) + u" -I \"%1\""; }

WString IconLocationFor(WStringView executable_path) { return WString(executable_path) + u",0"; }
