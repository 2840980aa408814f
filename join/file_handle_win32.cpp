#include "join/file_handle_win32.h"

#include "text/buffer.h"

bool IdentityOf(HANDLE file, unsigned long long* volume, unsigned long long* index) {
    BY_HANDLE_FILE_INFORMATION info;
    if (file == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(file, &info))
        return false;
    *volume = info.dwVolumeSerialNumber;
    *index = (static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

WideName::WideName(const char* path) {
    static_assert(sizeof text / sizeof text[0] >= kPathBufferSize, "a PathBuffer fits");
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, text, sizeof text / sizeof text[0]) == 0)
        text[0] = L'\0';
}
