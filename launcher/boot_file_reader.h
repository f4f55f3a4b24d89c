#pragma once
// Reads the boot file as 8-bit text in text mode: each byte is one Latin-1
// character, CR LF becomes LF, a lone CR stays, byte 0x1A ends the file. Lines
// come in pieces of at most kBootLinePiece characters, each ending after a line
// feed or at the piece limit; a NUL ends the text of its line.
#include <cstdint>
#include <functional>

#include "platform/wide.h"

inline constexpr size_t kBootLinePiece = 4095;

class BootFileReader {
 public:
  // Fills a buffer with up to size bytes; answers the count, 0 at the end or
  // on a read error.
  using ByteSource = std::function<uint32_t(uint8_t* buffer, uint32_t size)>;

  explicit BootFileReader(ByteSource source) : source_(std::move(source)) {}

  // False when nothing was left to read.
  bool ReadLine(WString* line);

 private:
  // The next character after text-mode translation, or -1 at the end.
  int NextCharacter();
  int NextByte();
  int PeekByte();

  ByteSource source_;
  uint8_t buffer_[4096];
  uint32_t filled_ = 0;
  uint32_t position_ = 0;
  bool ended_ = false;
};
