// Any boot file, under AddressSanitizer and UndefinedBehaviorSanitizer. Its
// class path, read back by the argument rules the C runtime and Java follow,
// is one argument: each entry below install_dir whole, joined by ';'. (A
// backslash left single before a closing quote would make the quote a literal
// one, and the argument run on into the next.) Quotes in the boot file's own
// values have no place in it.
#include <cstdlib>

#include "launcher/boot_file.h"
#include "launcher/java_launch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const BootSettings settings =
      ParseBootFile(std::string_view(reinterpret_cast<const char*>(data), size), size % 2);
  std::vector<WString> entries;
  if (SplitString(settings.lib_classpath, u";", &entries) <= 0) return 0;
  WString expected;
  for (const WString& entry : entries) expected += u";" + settings.install_dir + u"\\" + entry;
  if (expected.find(u'"') != WString::npos) return 0;
  // 2n backslashes before a quote stand for n and the quote opens or closes,
  // 2n+1 for n and a literal quote; outside quotes a blank ends the argument.
  WString read;
  bool quoted = false;
  size_t backslashes = 0;
  for (const WChar c : ClassPathOf(settings.install_dir, entries)) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    read.append(c == u'"' ? backslashes / 2 : backslashes, u'\\');
    if (c == u'"' && backslashes % 2 == 0) {
      quoted = !quoted;
    } else if (!quoted && (c == u' ' || c == u'\t')) {
      std::abort();
    } else {
      read += c;
    }
    backslashes = 0;
  }
  read.append(backslashes, u'\\');
  if (quoted || read != expected.substr(1)) std::abort();
  return 0;
}
