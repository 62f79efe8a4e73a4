// Helpers shared by the Windows tests: message pumping and injected input.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace cpk::test {

// Dispatches messages for about `ms` milliseconds (hooks and timers run
// while the thread pumps).
void Pump(DWORD ms);
// Pumps until `done` holds or `timeoutMs` passes; returns whether it holds.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

void SendKey(WORD vk);
void SendMouseButton(DWORD flags);  // MOUSEEVENTF_LEFTDOWN and so on

[[nodiscard]] RECT CurrentClip();
[[nodiscard]] std::wstring DocumentsFile(const wchar_t* name);
[[nodiscard]] bool FileExists(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
[[nodiscard]] std::string ReadFileBytes(const std::wstring& path);

}  // namespace cpk::test
