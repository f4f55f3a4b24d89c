// read_box.exe: waits up to 30 seconds for a box titled "Error", prints its
// text in UTF-8 ("(stop) " first when it has the stop-sign icon) and presses OK.
#include <cstdio>

#include "box.h"

int wmain() {
  for (int tick = 0; tick < 3000; ++tick, Sleep(10)) {
    if (HWND box = FindErrorBox(0)) {
      const std::wstring text = ReadAndClose(box);
      std::string bytes(text.size() * 4, '\0');
      bytes.resize(WideCharToMultiByte(CP_UTF8,
                                       0,
                                       text.data(),
                                       static_cast<int>(text.size()),
                                       bytes.data(),
                                       static_cast<int>(bytes.size()),
                                       nullptr,
                                       nullptr));
      return std::fputs(bytes.c_str(), stdout) < 0;
    }
  }
  return 1;
}
