#include "filetypes/document_types.h"

#include "text/quoting.h"

std::vector<RegistryWrite> DocumentTypeWrites(WStringView executable_path) {
  // Unquoted, the shell would first try to run each shorter prefix of the
  // path that ends at a blank.
  const WString open_command = QuotedIfBlank(executable_path) + u" -I \"%1\"";
  const WString icon = WString(executable_path) + u",0";
  std::vector<RegistryWrite> writes;
  for (const WStringView extension : {u"OFX", u"OFC", u"QIF", u"OFF"}) {
    const WString extension_key = u"." + WString(extension);
    const WString type = WString(extension) + u".Document";
    writes.push_back({extension_key, type});
    writes.push_back({extension_key + u"\\shell\\open\\command", open_command});
    writes.push_back({type, u""});
    writes.push_back({type + u"\\DefaultIcon", icon});
    writes.push_back({type + u"\\shell\\open\\command", open_command});
    // An installer's descriptor in a value "command" takes precedence over the
    // default value: removing it makes the shell run the command written here.
    writes.push_back({type + u"\\shell\\open\\command", u"", true});
  }
  return writes;
}
