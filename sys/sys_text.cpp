#include "sys/sys_text.h"
#include <cstring>
#include "sys/sys_messages.h"

namespace {

// The top-bit rule: a byte of 0x80 or more starts a two-byte character.
bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

bool MatchesAt(const Text& text, size_t p, const Text& wanted)
{
    return text.size() - p >= wanted.size() && text.compare(p, wanted.size(), wanted) == 0;
}

size_t NextCharacter(const Text& text, size_t p)
{
    size_t next = p + (IsLeadByte(text[p]) ? 2 : 1);
    return next > text.size() ? text.size() : next;
}

bool IsSpaceAt(const Text& text, size_t p, size_t* length)
{
    if (text[p] == ' ') {
        *length = 1;
        return true;
    }
    if (p + 1 < text.size() && static_cast<unsigned char>(text[p]) == 0xA1 &&
        static_cast<unsigned char>(text[p + 1]) == 0xA1) {
        *length = 2;
        return true;
    }
    return false;
}

// The scan shared by both searches: the first byte examined is exactly b, later steps go by character.
int ScanText(const Text& text, const Text& wanted, size_t b, bool lastMatch)
{
    size_t length = text.size();
    size_t m = wanted.size();
    int found = -1;
    if (b >= length) return -1;
    size_t p = b;
    while (length - p >= m) {
        if (MatchesAt(text, p, wanted)) {
            found = static_cast<int>(p) + 1;
            if (!lastMatch) return found;
        }
        if (IsLeadByte(text[p])) {
            if (p + 1 >= length) break;
            p += 2;
        } else {
            p += 1;
        }
        if (p > length) break;
    }
    return found;
}

}  // namespace

bool TextEquals(const Text& a, const Text& b) { return a == b; }

int TextLength(const Text& text) { return static_cast<int>(text.size()); }

int FindText(const Text& text, const Text& wanted, int start)
{
    size_t b = start < 1 ? 0 : static_cast<size_t>(start) - 1;
    return ScanText(text, wanted, b, false);
}

int FindTextReverse(const Text& text, const Text& wanted) { return ScanText(text, wanted, 0, true); }

Text LeftText(const Text& text, int count)
{
    if (count <= 0) return Text();
    return text.substr(0, static_cast<size_t>(count));
}

Text RightText(const Text& text, int count)
{
    if (count <= 0) return Text();
    size_t n = static_cast<size_t>(count) < text.size() ? static_cast<size_t>(count) : text.size();
    return text.substr(text.size() - n);
}

Text MidText(const Text& text, int start, int count)
{
    if (start < 1 || static_cast<size_t>(start) > text.size() || count <= 0) return Text();
    return text.substr(static_cast<size_t>(start) - 1, static_cast<size_t>(count));
}

Text LowerText(const Text& text)
{
    Text lowered = text;
    for (size_t p = 0; p < lowered.size(); ++p) {
        if (IsLeadByte(lowered[p])) {
            ++p;  // the second byte of a double-byte character is never altered
        } else if (lowered[p] >= 'A' && lowered[p] <= 'Z') {
            lowered[p] = static_cast<char>(lowered[p] + 0x20);
        }
    }
    return lowered;
}

Text TrimText(const Text& text)
{
    size_t begin = 0;
    size_t spaceLength = 0;
    while (begin < text.size() && IsSpaceAt(text, begin, &spaceLength)) begin += spaceLength;
    // Walk forward so that a second byte is never taken for a space; remember where the last run began.
    size_t end = text.size();
    bool inRun = false;
    for (size_t p = begin; p < text.size();) {
        if (IsSpaceAt(text, p, &spaceLength)) {
            if (!inRun) end = p;
            inRun = true;
            p += spaceLength;
        } else {
            inRun = false;
            end = text.size();
            p = NextCharacter(text, p);
        }
    }
    if (!inRun) end = text.size();
    return text.substr(begin, end - begin);
}

TextList SplitText(const Text& text, const Text& separator)
{
    TextList pieces;
    if (text.empty()) return pieces;
    if (separator.empty()) {
        ListAppend(pieces, text);
        return pieces;
    }
    size_t pieceStart = 0;
    size_t p = 0;
    while (p < text.size()) {
        if (MatchesAt(text, p, separator)) {
            ListAppend(pieces, text.substr(pieceStart, p - pieceStart));
            p += separator.size();
            pieceStart = p;
        } else {
            p = NextCharacter(text, p);
        }
    }
    if (pieceStart < text.size()) ListAppend(pieces, text.substr(pieceStart));
    return pieces;
}

Text BytesToText(const char* bytes, size_t size)
{
    if (bytes == nullptr) return Text();
    const void* zero = std::memchr(bytes, 0, size);
    size_t length = zero ? static_cast<size_t>(static_cast<const char*>(zero) - bytes) : size;
    return Text(bytes, length);
}

size_t ByteCount(const ByteBlock& block) { return block.data ? block.size : 0; }

void ListAppend(TextList& list, const Text& text) { list.items.push_back(text); }

int ListCount(const TextList& list) { return static_cast<int>(list.items.size()); }

const Text& ListAt(const TextList& list, int position)
{
    // Below 1 is tested first: position 0 of an empty list is error 4, not 1.
    if (position < 1) FatalRuntimeError(4);
    if (position > ListCount(list)) FatalRuntimeError(1);
    return list.items[static_cast<size_t>(position) - 1];
}

void ListClear(TextList& list)
{
    list.items.clear();
    list.items.shrink_to_fit();
}
