// The path split and qualification on the emulated machine, for any text: the
// split puts every character back in its place, qualification leaves the
// current directory where it was, and a qualified path is absolute, however
// long, or was refused.
#include <cstdint>
#include <cstdlib>

#include "disk/disk_object.h"
#include "disk/path_split.h"
#include "platform/emulated_platform.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

WString FromBytes(const uint8_t* data, size_t size) {
  // Pairs of bytes are UTF-16 code units; a few bytes are mapped to the
  // characters paths are made of, so the fuzzer reaches them quickly.
  static const char16_t kAlphabet[] = u"\\/:.*?C a\u0441\U0001F4B0";
  WString text;
  for (size_t i = 0; i + 1 < size; i += 2) {
    WChar c = static_cast<WChar>(data[i] | (data[i + 1] << 8));
    if (c == 0) c = u'a';
    if (c < 0x20) c = kAlphabet[c % (sizeof kAlphabet / sizeof kAlphabet[0] - 1)];
    text += c;
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WString path = FromBytes(data, size);

  PathParts parts = SplitPath(path);
  if (parts.too_long) {
    Check(parts.drive.empty() && parts.directory.empty() && parts.name.empty() && parts.extension.empty());
  } else {
    WString joined = parts.drive + parts.directory + parts.name + parts.extension;
    Check(path.size() >= joined.size());
    Check(path.compare(path.size() - joined.size(), joined.size(), joined) == 0);
    Check(parts.directory.size() <= kPathPartLimit && parts.name.size() <= kPathPartLimit &&
          parts.extension.size() <= kPathPartLimit);
  }

  EmulatedPlatform os;
  ScopedPlatform installed(os);
  os.fs().MakeDirectories(u"C:\\data\\work");
  os.SetCurrentDirectory(u"C:\\data\\work");
  const WString before = os.current_directory();
  CDiskObject disk;

  WString file = path;
  bool qualified = disk.QualifyFile(file);
  Check(os.current_directory() == before);
  if (qualified) {
    Check(file.find(u'/') == WString::npos);
    bool absolute = (file.size() >= 2 && file[1] == u':') || file.rfind(u"\\\\", 0) == 0;
    Check(absolute);
  }

  WString directory = path;
  if (disk.QualifyDirectory(directory)) Check(directory.empty() || directory.back() == u'\\');
  Check(os.current_directory() == before);

  disk.DirectoryExists(path);
  Check(os.current_directory() == before);
  disk.CreateDirectory(path);
  Check(os.current_directory() == before);
  return 0;
}
