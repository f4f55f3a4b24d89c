// The cheapest GUI program: starts and ends. What one more process costs.
extern "C" int __stdcall wWinMain(void*, void*, wchar_t*, int) { return 0; }
