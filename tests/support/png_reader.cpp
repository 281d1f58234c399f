#include "support/png_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace testing_support {

namespace {

using Bytes = std::vector<unsigned char>;

// The bits of a deflate stream, least significant first.
class BitReader {
public:
    BitReader(const unsigned char* data, std::size_t size)
        : data(data)
        , size(size)
    {
    }

    bool bits(int count, unsigned& value)
    {
        while (held < count) {
            if (position >= size)
                return false;
            buffer |= static_cast<std::uint64_t>(data[position++]) << held;
            held += 8;
        }
        value = static_cast<unsigned>(buffer & ((std::uint64_t{1} << count) - 1));
        buffer >>= count;
        held -= count;
        return true;
    }

    // A stored block starts at the next whole byte; fewer than 8 bits are ever held.
    bool copyStored(Bytes& out)
    {
        buffer = 0;
        held = 0;
        if (position + 4 > size)
            return false;
        const unsigned length = data[position] | (data[position + 1] << 8);
        const unsigned complement = data[position + 2] | (data[position + 3] << 8);
        position += 4;
        if (length != (~complement & 0xFFFF) || position + length > size)
            return false;
        out.insert(out.end(), data + position, data + position + length);
        position += length;
        return true;
    }

private:
    const unsigned char* data;
    std::size_t size;
    std::size_t position = 0;
    std::uint64_t buffer = 0;
    int held = 0;
};

// A canonical Huffman code: how many codes of each length, and the symbols in code order.
struct HuffmanCode {
    std::array<int, 16> count{};
    std::vector<int> symbols;
};

bool buildCode(HuffmanCode& code, const std::vector<int>& lengths)
{
    code.count.fill(0);
    for (const int length : lengths)
        ++code.count[length];
    int left = 1;
    for (int length = 1; length < 16; ++length) {
        left = 2 * left - code.count[length];
        if (left < 0)
            return false;
    }
    std::array<int, 16> offsets{};
    for (int length = 1; length < 15; ++length)
        offsets[length + 1] = offsets[length] + code.count[length];
    code.symbols.assign(lengths.size(), 0);
    for (std::size_t symbol = 0; symbol < lengths.size(); ++symbol)
        if (lengths[symbol] != 0)
            code.symbols[offsets[lengths[symbol]]++] = static_cast<int>(symbol);
    return true;
}

int decodeSymbol(BitReader& in, const HuffmanCode& code)
{
    int value = 0;
    int first = 0;
    int index = 0;
    for (int length = 1; length < 16; ++length) {
        unsigned bit = 0;
        if (!in.bits(1, bit))
            return -1;
        value |= static_cast<int>(bit);
        const int count = code.count[length];
        if (value - count < first)
            return code.symbols[index + value - first];
        index += count;
        first = (first + count) << 1;
        value <<= 1;
    }
    return -1;
}

constexpr int kLengthBase[29] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31, 35, 43, 51, 59, 67,
    83, 99, 115, 131, 163, 195, 227, 258};
constexpr int kLengthExtra[29]
    = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int kDistanceBase[30] = {1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129, 193, 257, 385, 513,
    769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr int kDistanceExtra[30]
    = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

bool inflateCodes(BitReader& in, Bytes& out, const HuffmanCode& lengths, const HuffmanCode& distances)
{
    for (;;) {
        int symbol = decodeSymbol(in, lengths);
        if (symbol < 0)
            return false;
        if (symbol < 256) {
            out.push_back(static_cast<unsigned char>(symbol));
            continue;
        }
        if (symbol == 256)
            return true;
        symbol -= 257;
        unsigned extra = 0;
        if (symbol >= 29 || !in.bits(kLengthExtra[symbol], extra))
            return false;
        const std::size_t length = kLengthBase[symbol] + extra;
        const int distanceSymbol = decodeSymbol(in, distances);
        if (distanceSymbol < 0 || distanceSymbol >= 30 || !in.bits(kDistanceExtra[distanceSymbol], extra))
            return false;
        const std::size_t distance = kDistanceBase[distanceSymbol] + extra;
        if (distance > out.size())
            return false;
        for (std::size_t i = 0; i < length; ++i)
            out.push_back(out[out.size() - distance]);
    }
}

bool inflateFixed(BitReader& in, Bytes& out)
{
    std::vector<int> lengths(288);
    for (int symbol = 0; symbol < 288; ++symbol)
        lengths[symbol] = symbol < 144 ? 8 : symbol < 256 ? 9 : symbol < 280 ? 7 : 8;
    HuffmanCode lengthCode;
    HuffmanCode distanceCode;
    buildCode(lengthCode, lengths);
    buildCode(distanceCode, std::vector<int>(30, 5));
    return inflateCodes(in, out, lengthCode, distanceCode);
}

bool inflateDynamic(BitReader& in, Bytes& out)
{
    unsigned lengthCount = 0;
    unsigned distanceCount = 0;
    unsigned codeCount = 0;
    if (!in.bits(5, lengthCount) || !in.bits(5, distanceCount) || !in.bits(4, codeCount))
        return false;
    lengthCount += 257;
    distanceCount += 1;
    codeCount += 4;
    if (lengthCount > 286 || distanceCount > 30)
        return false;
    constexpr int kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    std::vector<int> codeLengths(19);
    for (unsigned i = 0; i < codeCount; ++i) {
        unsigned length = 0;
        if (!in.bits(3, length))
            return false;
        codeLengths[kOrder[i]] = static_cast<int>(length);
    }
    HuffmanCode lengthsCode;
    if (!buildCode(lengthsCode, codeLengths))
        return false;
    std::vector<int> lengths;
    while (lengths.size() < lengthCount + distanceCount) {
        const int symbol = decodeSymbol(in, lengthsCode);
        if (symbol < 0)
            return false;
        if (symbol < 16) {
            lengths.push_back(symbol);
            continue;
        }
        unsigned repeat = 0;
        int value = 0;
        if (symbol == 16) {
            if (lengths.empty() || !in.bits(2, repeat))
                return false;
            value = lengths.back();
            repeat += 3;
        } else if (!in.bits(symbol == 17 ? 3 : 7, repeat)) {
            return false;
        } else {
            repeat += symbol == 17 ? 3 : 11;
        }
        lengths.insert(lengths.end(), repeat, value);
    }
    if (lengths.size() != lengthCount + distanceCount)
        return false;
    HuffmanCode lengthCode;
    HuffmanCode distanceCode;
    if (!buildCode(lengthCode, {lengths.begin(), lengths.begin() + lengthCount})
        || !buildCode(distanceCode, {lengths.begin() + lengthCount, lengths.end()}))
        return false;
    return inflateCodes(in, out, lengthCode, distanceCode);
}

// A zlib stream (its header checked, its checksum not) into out.
bool inflateZlib(const Bytes& stream, Bytes& out)
{
    if (stream.size() < 2 || (stream[0] & 0x0F) != 8 || ((stream[0] << 8) | stream[1]) % 31 != 0)
        return false;
    BitReader in(stream.data() + 2, stream.size() - 2);
    for (unsigned last = 0; !last;) {
        unsigned type = 0;
        if (!in.bits(1, last) || !in.bits(2, type))
            return false;
        const bool done = type == 0 ? in.copyStored(out)
            : type == 1             ? inflateFixed(in, out)
            : type == 2             ? inflateDynamic(in, out)
                                    : false;
        if (!done)
            return false;
    }
    return true;
}

std::uint32_t bigEndian32(const unsigned char* at)
{
    return (std::uint32_t{at[0]} << 24) | (at[1] << 16) | (at[2] << 8) | at[3];
}

struct PngHeader {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    unsigned depth = 0;
    unsigned colourType = 0;
    unsigned interlace = 0;
};

int paeth(int left, int above, int aboveLeft)
{
    const int estimate = left + above - aboveLeft;
    const int toLeft = std::abs(estimate - left);
    const int toAbove = std::abs(estimate - above);
    const int toAboveLeft = std::abs(estimate - aboveLeft);
    if (toLeft <= toAbove && toLeft <= toAboveLeft)
        return left;
    return toAbove <= toAboveLeft ? above : aboveLeft;
}

// Undoes each row's filter in place; the filter bytes stay where they are.
bool unfilter(Bytes& rows, std::size_t stride, std::size_t height, std::size_t pixelBytes)
{
    if (rows.size() != (stride + 1) * height)
        return false;
    for (std::size_t y = 0; y < height; ++y) {
        unsigned char* row = rows.data() + y * (stride + 1) + 1;
        const unsigned char* above = y > 0 ? row - (stride + 1) : nullptr;
        const unsigned filter = row[-1];
        for (std::size_t x = 0; x < stride; ++x) {
            const int left = x >= pixelBytes ? row[x - pixelBytes] : 0;
            const int up = above ? above[x] : 0;
            const int upLeft = above && x >= pixelBytes ? above[x - pixelBytes] : 0;
            const int predicted = filter == 0 ? 0
                : filter == 1                 ? left
                : filter == 2                 ? up
                : filter == 3                 ? (left + up) / 2
                : filter == 4                 ? paeth(left, up, upLeft)
                                              : -1;
            if (predicted < 0)
                return false;
            row[x] = static_cast<unsigned char>(row[x] + predicted);
        }
    }
    return true;
}

} // namespace

Pixels decodePng(const unsigned char* bytes, std::size_t size)
{
    constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < 8 || !std::equal(kSignature, kSignature + 8, bytes))
        return {};
    PngHeader header;
    std::vector<std::uint32_t> palette;
    Bytes compressed;
    for (std::size_t at = 8; at + 12 <= size;) {
        const std::uint32_t length = bigEndian32(bytes + at);
        const std::string type(reinterpret_cast<const char*>(bytes + at + 4), 4);
        const unsigned char* body = bytes + at + 8;
        if (length > size - at - 12)
            return {};
        if (type == "IHDR" && length == 13)
            header = {bigEndian32(body), bigEndian32(body + 4), body[8], body[9], body[12]};
        else if (type == "PLTE")
            for (std::uint32_t i = 0; i + 3 <= length; i += 3)
                palette.push_back((std::uint32_t{body[i]} << 16) | (body[i + 1] << 8) | body[i + 2]);
        else if (type == "IDAT")
            compressed.insert(compressed.end(), body, body + length);
        else if (type == "IEND")
            break;
        at += 12 + length;
    }
    const bool indexed = header.colourType == 3 && header.depth >= 1 && header.depth <= 8
        && (header.depth & (header.depth - 1)) == 0;
    const bool rgb = header.colourType == 2 && header.depth == 8;
    if ((!indexed && !rgb) || header.interlace != 0 || header.width == 0 || header.height == 0
        || header.width > 16384 || header.height > 16384)
        return {};
    const std::size_t bitsPerPixel = rgb ? 24 : header.depth;
    const std::size_t stride = (header.width * bitsPerPixel + 7) / 8;
    Bytes rows;
    if (!inflateZlib(compressed, rows) || !unfilter(rows, stride, header.height, (bitsPerPixel + 7) / 8))
        return {};

    Pixels pixels{static_cast<int>(header.width), static_cast<int>(header.height), {}};
    pixels.data.reserve(static_cast<std::size_t>(header.width) * header.height);
    for (std::size_t y = 0; y < header.height; ++y) {
        const unsigned char* row = rows.data() + y * (stride + 1) + 1;
        for (std::size_t x = 0; x < header.width; ++x) {
            if (rgb) {
                pixels.data.push_back(
                    (std::uint32_t{row[3 * x]} << 16) | (row[3 * x + 1] << 8) | row[3 * x + 2]);
                continue;
            }
            const std::size_t bit = x * header.depth;
            const unsigned index
                = (row[bit / 8] >> (8 - header.depth - bit % 8)) & ((1u << header.depth) - 1);
            if (index >= palette.size())
                return {};
            pixels.data.push_back(palette[index]);
        }
    }
    return pixels;
}

} // namespace testing_support
