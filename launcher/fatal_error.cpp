#include "launcher/fatal_error.h"

#include <cstdlib>

#include "platform/platform.h"

namespace {
// Stands in for the system text when the system has none for the code, so
// the box keeps its shape.
constexpr const WChar* kNoSystemText = u"(the system has no description for this error)\r\n";
}  // namespace

WString ComposeFatalText(const WString& message, const WChar* context, uint32_t code, const WString& system_text) {
  if (!context) return message + u"\nPlease reinstall the application";
  return message + u"\n" + context + u" failed with error " + DecimalText(static_cast<int32_t>(code)) + u": " +
         system_text + u"\nPlease reinstall the application";
}

void reportFatalError(const WString& message, const WChar* context, uint32_t code) {
  Platform& os = platform();
  WString system_text;
  if (!os.FormatSystemMessage(code, &system_text)) system_text = kNoSystemText;
  WString text = ComposeFatalText(message, context, code, system_text);
  os.MessageBox(text.c_str(), u"Error", kMbOk | kMbIconError);
  os.ExitProcess(code == 0 ? 1 : code);
  std::abort();  // not reached: ExitProcess does not return
}
