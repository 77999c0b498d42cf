#include "keying/NativeSerialPort.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace lumbrel {

namespace {

// The device control block is read and written whole; its length field says 28 bytes.
static_assert(sizeof(DCB) == 28, "DCB layout");

HANDLE ToHandle(std::intptr_t value) {
    return reinterpret_cast<HANDLE>(value);
}

std::wstring Widen(const std::string& utf8) {
    if (utf8.empty())
        return {};
    const int length =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}

// The system's message for an error code, in the user's language, as UTF-8.
void SetError(std::string* error, DWORD code) {
    if (!error)
        return;
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length > 0 && text ? std::wstring(text, length) : std::wstring();
    if (text)
        ::LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    if (message.empty()) {
        *error = "Error " + std::to_string(code) + ".";
        return;
    }
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, message.data(), static_cast<int>(message.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, message.data(), static_cast<int>(message.size()), utf8.data(), size,
                              nullptr, nullptr);
    *error = utf8;
}

}  // namespace

NativeSerialPort::~NativeSerialPort() {
    Close();
}

std::string NativeSerialPort::SystemPath(const std::string& name) {
    // "COM12" and up open only through the device namespace; "COM1" works either way.
    if (name.empty() || name.rfind("\\\\", 0) == 0)
        return name;
    return "\\\\.\\" + name;
}

bool NativeSerialPort::Open(const std::string& name, std::string* error) {
    Close();
    const std::string path = SystemPath(name);
    if (path.empty()) {
        SetError(error, ERROR_FILE_NOT_FOUND);
        return false;
    }
    const HANDLE handle = ::CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        SetError(error, ::GetLastError());
        return false;
    }
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    if (!::GetCommState(handle, &dcb)) {
        ::CloseHandle(handle);
        if (error)
            *error = kNotASerialPortText;
        return false;
    }
    handle_ = reinterpret_cast<std::intptr_t>(handle);
    return true;
}

bool NativeSerialPort::SetLine(ModemLine line, bool asserted, std::string* error) {
    if (!IsOpen()) {
        SetError(error, ERROR_INVALID_HANDLE);
        return false;
    }
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    if (!::GetCommState(ToHandle(handle_), &dcb)) {
        SetError(error, ::GetLastError());
        return false;
    }
    if (line == ModemLine::Dtr)
        dcb.fDtrControl = asserted ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
    else
        dcb.fRtsControl = asserted ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
    if (!::SetCommState(ToHandle(handle_), &dcb)) {
        SetError(error, ::GetLastError());
        return false;
    }
    return true;
}

void NativeSerialPort::Close() {
    if (!IsOpen())
        return;
    ::CloseHandle(ToHandle(handle_));
    handle_ = kNoHandle;
}

}  // namespace lumbrel
