// The Shift_JIS helpers on any byte string: they stay inside the string, never split a
// character where they promise not to, and agree with each other.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "text/buffer.h"
#include "text/path.h"
#include "text/sjis.h"

#define CHECK(condition)                                                                           \
    do {                                                                                           \
        if (!(condition))                                                                          \
            std::abort();                                                                          \
    } while (0)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    int copySize = 1 + data[0] % 40;
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    text = text.c_str(); // up to the first NUL
    const char* s = text.c_str();
    size_t length = text.size();

    // Walking by characters always moves forward and ends on the NUL.
    for (const char* p = s; *p != '\0';) {
        const char* next = NextChar(p);
        CHECK(next > p && next <= s + length);
        p = next;
    }

    // A bounded copy is a prefix, terminated, and never ends on a character's first half
    // when the source goes on to complete it.
    char dest[48];
    CopyBounded(dest, copySize, s);
    size_t copied = std::strlen(dest);
    CHECK(copied < static_cast<size_t>(copySize));
    CHECK(std::strncmp(dest, s, copied) == 0);
    CHECK(copied == length || copied + 2 >= static_cast<size_t>(copySize));
    if (copied > 0 && copied < length)
        CHECK(ByteClassAt(s, static_cast<unsigned>(copied)) != kTrailByte);

    // Folding case agrees with equality, and equality is symmetric.
    std::string lowered = text;
    ToLowerInPlace(&lowered[0]);
    CHECK(lowered.size() == length);
    CHECK(EqualNoCase(s, lowered.c_str()));
    CHECK(EqualNoCase(lowered.c_str(), s));
    CHECK(EqualNoCase(s, s));

    // Path splitting stays inside the path, and the name part is what the split gives.
    const char* name = FileNamePart(s);
    CHECK(name >= s && name <= s + length);
    std::string split = text;
    char* splitName = SplitFolderAndName(&split[0]);
    CHECK(std::strcmp(splitName, name) == 0);
    const char* extension = ExtensionStart(s);
    CHECK(extension >= name && extension <= s + length);
    CHECK(*extension == '\0' || *extension == '.');
    std::string stripped = text;
    char* ext = StripExtension(&stripped[0]);
    CHECK(*extension == '\0' ? *ext == '\0' : std::strcmp(ext, extension + 1) == 0);

    char printed[16];
    int r = PrintBounded(printed, copySize % 16, "%s", s);
    CHECK(r == -1 || (static_cast<size_t>(r) == length && std::strcmp(printed, s) == 0));
    return 0;
}
