#include "launcher/boot_file_reader.h"

int BootFileReader::PeekByte() {
  if (ended_) return -1;
  if (position_ == filled_) {
    filled_ = source_(buffer_, sizeof buffer_);
    position_ = 0;
    if (filled_ == 0) {
      ended_ = true;
      return -1;
    }
  }
  if (buffer_[position_] == 0x1A) {
    ended_ = true;
    return -1;
  }
  return buffer_[position_];
}

int BootFileReader::NextByte() {
  int byte = PeekByte();
  if (byte >= 0) ++position_;
  return byte;
}

int BootFileReader::NextCharacter() {
  int byte = NextByte();
  if (byte == '\r' && PeekByte() == '\n') return NextByte();
  return byte;
}

bool BootFileReader::ReadLine(WString* line) {
  line->clear();
  size_t count = 0;
  bool text_ended = false;
  while (count < kBootLinePiece) {
    int c = NextCharacter();
    if (c < 0) break;
    ++count;
    if (c == 0) text_ended = true;
    if (!text_ended) line->push_back(static_cast<WChar>(c));
    if (c == '\n') break;
  }
  return count > 0;
}
