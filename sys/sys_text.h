// Byte-string texts in the ANSI code page and ordered lists of them, with the exact edge
// behaviour the logic relies on: byte positions, -1 for "not found", the top-bit double-byte rule.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

using Text = std::string;  // absent and empty are the same value

struct TextList {
    std::vector<Text> items;
};

struct ByteBlock {
    const unsigned char* data;
    size_t size;
};

template <class... Parts>
Text JoinTexts(const Parts&... parts)
{
    Text joined;
    ((joined += parts), ...);
    return joined;
}

bool TextEquals(const Text& a, const Text& b);
int TextLength(const Text& text);
int FindText(const Text& text, const Text& wanted, int start = 1);
int FindTextReverse(const Text& text, const Text& wanted);
Text LeftText(const Text& text, int count);
Text RightText(const Text& text, int count);
Text MidText(const Text& text, int start, int count);
Text LowerText(const Text& text);
Text TrimText(const Text& text);
TextList SplitText(const Text& text, const Text& separator);
Text BytesToText(const char* bytes, size_t size);
template <size_t N>
Text BytesToText(const char (&bytes)[N]) { return BytesToText(bytes, N); }
size_t ByteCount(const ByteBlock& block);

void ListAppend(TextList& list, const Text& text);
int ListCount(const TextList& list);
const Text& ListAt(const TextList& list, int position);  // outside 1..count: fatal error 4 or 1
void ListClear(TextList& list);
