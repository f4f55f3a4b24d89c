#include "launcher/box_texts.h"

WString FatalText(WStringView message, WStringView step, uint32_t code, WStringView system_text) {
  return WString(message) + u"\n" + WString(step) + u" failed with error " +
         DecimalText(static_cast<int32_t>(code)) + u": " + WString(system_text) +
         u"\nPlease reinstall the application";
}

WString JavaNotStartedText(uint32_t code) {
  return u"CreateProcess failed (" + DecimalText(static_cast<int32_t>(code)) + u")\n";
}
