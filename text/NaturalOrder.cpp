#include "text/NaturalOrder.h"

#include <algorithm>
#include <cstring>

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::strong_ordering compareBytes(unsigned char a, unsigned char b)
{
    return a <=> b;
}

// The digit run of `text` that starts at `pos` ends here.
std::size_t runEnd(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && isDigit(text[pos]))
        ++pos;
    return pos;
}

// Two runs of digits as numbers: without their leading zeros, the longer is
// the larger, and runs of one length compare digit by digit.
std::strong_ordering compareNumbers(const char* a, std::size_t aSize, const char* b, std::size_t bSize)
{
    while (aSize > 0 && *a == '0') {
        ++a;
        --aSize;
    }
    while (bSize > 0 && *b == '0') {
        ++b;
        --bSize;
    }
    if (aSize != bSize)
        return aSize <=> bSize;
    return std::memcmp(a, b, aSize) <=> 0;
}

} // namespace

std::strong_ordering byteCompare(std::string_view a, std::string_view b)
{
    // std::string_view compares by char_traits<char>, which compares as
    // unsigned char.
    return a.compare(b) <=> 0;
}

std::strong_ordering naturalCompare(std::string_view a, std::string_view b)
{
    // The bytes both begin with read alike in both, so the comparison starts
    // where they part, or at the start of the digit run they part in.
    const std::size_t shorter = std::min(a.size(), b.size());
    std::size_t parting = 0;
    while (parting < shorter && a[parting] == b[parting])
        ++parting;
    // Where one is all of the other's beginning, the shorter comes first,
    // unless the other goes on with the digits of a number both end in.
    const bool prefix = parting == a.size() || parting == b.size();
    if (prefix && (parting == 0 || !isDigit(a[parting - 1]) || !isDigit(a.size() > b.size() ? a[parting] : b[parting])))
        return a.size() <=> b.size();
    std::size_t i = parting;
    while (i > 0 && isDigit(a[i - 1]))
        --i;
    // Not in a number on both sides: the parting bytes decide. A number
    // against another byte sorts as its first digit does, so all numbers
    // sit between the bytes below '0' and those above '9'.
    if (i == parting && !prefix && !(isDigit(a[i]) && isDigit(b[i])))
        return compareBytes(a[i], b[i]);

    std::size_t j = i;
    // Of numbers equal but for leading zeros, the one with more comes first,
    // as the first such pair decides.
    std::strong_ordering zeros = std::strong_ordering::equal;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const std::size_t aEnd = runEnd(a, i);
            const std::size_t bEnd = runEnd(b, j);
            if (const auto order = compareNumbers(a.data() + i, aEnd - i, b.data() + j, bEnd - j); order != 0)
                return order;
            if (zeros == 0)
                zeros = (bEnd - j) <=> (aEnd - i);
            i = aEnd;
            j = bEnd;
            continue;
        }
        if (a[i] != b[j])
            return compareBytes(a[i], b[j]);
        ++i;
        ++j;
    }
    if (const auto order = (a.size() - i) <=> (b.size() - j); order != 0)
        return order;
    return zeros;
}
