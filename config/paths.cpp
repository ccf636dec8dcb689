#include "config/paths.h"

#include "config/strings.h"
#include "platform/mbcs.h"

namespace kv {

namespace {

const int32_t kNameBufferSize = 260;

// Tests the last character, not the last byte: a double-byte character
// may end in 0x5C.
bool endsWithBackslash(const char* s) {
    const char* last = nullptr;
    for (const char* p = s; *p; p = mbNext(p)) last = p;
    return last && mbNext(last) == last + 1 && *last == '\\';
}

void appendSeparatorAndPart(char* out, const char* part, int32_t size) {
    if (out[0] && !endsWithBackslash(out)) strAppendBounded(out, "\\", size);
    strAppendBounded(out, part, size);
}

// Drops the last folder of out; out becomes empty when none is left.
void removeLastFolder(char* out) {
    if (endsWithBackslash(out)) *mbRChr(out, '\\') = '\0';
    char* last = mbRChr(out, '\\');
    if (last)
        *last = '\0';
    else
        out[0] = '\0';
}

}  // namespace

void resolvePath(const char* base, const char* name, char* out, int32_t size) {
    if (!out || size < 1) return;
    if (strIsEmpty(name)) {
        out[0] = '\0';
        return;
    }
    strCopyBounded(out, strIsEmpty(base) ? ".\\" : base, size);

    if (!mbChr(name, '\\')) {
        appendSeparatorAndPart(out, name, size);
        return;
    }
    if (strIsEmpty(base) || mbChr(name, ':')) {
        strCopyBounded(out, name, size);
        return;
    }

    char copy[kNameBufferSize];
    strCopyBounded(copy, name, kNameBufferSize);
    char* segment = copy;
    for (char* separator; (separator = mbChr(segment, '\\')) != nullptr;) {
        *separator = '\0';
        if (strEqual(segment, "..", 0)) {
            removeLastFolder(out);
        } else if (strEqual(segment, ".", 0)) {
            // stays in the same folder
        } else if (segment[0] == '\0') {
            // A leading or doubled backslash starts over from the root: the
            // rest, separator included, is taken as it is.
            out[0] = '\0';
            *separator = '\\';
            break;
        } else {
            *separator = '\\';
            break;
        }
        segment = separator + 1;
    }
    appendSeparatorAndPart(out, segment, size);
}

void buildFilePath(const char* base, const char* name, const char* extension, char* out,
                   int32_t size) {
    if (!out || size < 1) return;
    resolvePath(base, name, out, size);
    if (strIsEmpty(out) || strIsEmpty(extension)) return;

    const char* fileName = mbRChr(out, '\\');
    fileName = fileName ? fileName + 1 : out;
    if (mbChr(fileName, '.')) return;

    const char* extensionName = mbRChr(extension, '\\');
    extensionName = extensionName ? extensionName + 1 : extension;
    if (!mbChr(extensionName, '.')) strAppendBounded(out, ".", size);
    strAppendBounded(out, extension, size);
}

}  // namespace kv
