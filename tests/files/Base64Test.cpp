#include "files/Base64.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::string Encode(const std::string& bytes)
{
    std::string text(static_cast<size_t>(CBase64::EncodedLength(static_cast<int64_t>(bytes.size()))) + 1, '#');
    CBase64 coder;
    int32_t n = coder.Encode(reinterpret_cast<const uint8_t*>(bytes.data()), &text[0],
                             static_cast<int32_t>(bytes.size()));
    EXPECT_EQ(text[static_cast<size_t>(n)], '#') << "wrote past its result";
    text.resize(static_cast<size_t>(n));
    return text;
}

std::string Decode(const std::string& text)
{
    std::vector<uint8_t> bytes(static_cast<size_t>(CBase64::DecodedCapacity(static_cast<int64_t>(text.size()))));
    CBase64 coder;
    int32_t n = coder.Decode(text.data(), bytes.data(), static_cast<int32_t>(text.size()));
    return std::string(bytes.begin(), bytes.begin() + n);
}

struct Vector {
    const char* bytes;
    const char* text;
};

// RFC 4648, section 10.
const Vector kRfcVectors[] = {
    {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
};

}  // namespace

TEST(Base64, TheRfcVectorsBothWays)
{
    for (const Vector& v : kRfcVectors) {
        EXPECT_EQ(Encode(v.bytes), v.text) << v.bytes;
        EXPECT_EQ(Decode(v.text), v.bytes) << v.text;
    }
}

TEST(Base64, EmptyOrNullInputWritesNothing)
{
    CBase64 coder;
    char text[8] = "#######";
    uint8_t bytes[8] = {};
    const uint8_t source[3] = {1, 2, 3};
    EXPECT_EQ(coder.Encode(source, text, 0), 0);
    EXPECT_EQ(coder.Encode(nullptr, text, 3), 0);
    EXPECT_EQ(coder.Encode(source, nullptr, 3), 0);
    EXPECT_EQ(coder.Encode(source, text, -1), 0);
    EXPECT_EQ(text[0], '#');
    EXPECT_EQ(coder.Decode("Zg==", bytes, 0), 0);
    EXPECT_EQ(coder.Decode(nullptr, bytes, 4), 0);
    EXPECT_EQ(coder.Decode("Zg==", nullptr, 4), 0);
}

TEST(Base64, AllByteValuesRoundTripInOneRunWithoutLineBreaks)
{
    std::string bytes;
    for (int i = 0; i < 256 * 3 + 1; ++i)
        bytes += static_cast<char>(i * 7 + 3);
    std::string text = Encode(bytes);
    EXPECT_EQ(text.size(), (bytes.size() + 2) / 3 * 4);
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(text.find('='), text.size() - 2) << "padding stands only at the end";
    EXPECT_EQ(Decode(text), bytes);
}

TEST(Base64, DecodingSkipsWhatIsNoDigitStopsAtPaddingAndKeepsShortGroups)
{
    const std::string plain = Encode("The quick brown fox");
    std::string broken = "\n";
    for (size_t i = 0; i < plain.size(); ++i)
        broken += plain.substr(i, 1) + (i % 5 == 4 ? "\r\n" : "") + (i % 7 == 6 ? " \t*" : "");
    const struct {
        std::string text;
        const char* bytes;
    } cases[] = {
        {broken + "\t\t\t", "The quick brown fox"},
        {"Zg==Zm9v", "f"},  // the first padding ends the data
        {"Zm8=Zm9v", "fo"},
        {"Zm9vYg", "foob"},  // two digits give one byte
        {"Zm9vYmE", "fooba"},  // three give two
        {"Zm9vY", "foo"},  // one gives nothing
    };
    for (const auto& c : cases)
        EXPECT_EQ(Decode(c.text), c.bytes) << c.text;
}

TEST(Base64, DecoderFedInPiecesMatchesOneCall)
{
    std::mt19937 random(7);
    std::string bytes;
    for (int i = 0; i < 5000; ++i)
        bytes += static_cast<char>(random());
    std::string text = "\n" + Encode(bytes) + "\t\t";
    for (int trial = 0; trial < 50; ++trial) {
        std::vector<uint8_t> out(static_cast<size_t>(CBase64::DecodedCapacity(static_cast<int64_t>(text.size()))));
        CBase64::CDecoder decoder;
        size_t used = 0;
        for (size_t at = 0; at < text.size();) {
            size_t piece = std::min<size_t>(1 + random() % 17, text.size() - at);
            used += static_cast<size_t>(decoder.Feed(text.data() + at, static_cast<int32_t>(piece), out.data() + used));
            at += piece;
        }
        used += static_cast<size_t>(decoder.Finish(out.data() + used));
        ASSERT_EQ(std::string(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(used)), bytes) << trial;
    }
}

namespace {

// The coding written out digit by digit, as the RFC describes it.
std::string ReferenceEncode(const std::string& bytes)
{
    std::string text;
    uint32_t bits = 0;
    int count = 0;
    for (unsigned char byte : bytes) {
        bits = (bits << 8) | byte;
        count += 8;
        while (count >= 6) {
            count -= 6;
            text += CBase64::kAlphabet[(bits >> count) & 63];
        }
    }
    if (count > 0)
        text += CBase64::kAlphabet[(bits << (6 - count)) & 63];
    while (text.size() % 4)
        text += '=';
    return text;
}

}  // namespace

TEST(Base64, TheGroupTablesGiveTheDigitByDigitCodingForEveryLength)
{
    std::mt19937 random(11);
    for (size_t length : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 47, 48, 49, 4095, 4096, 4097, 65539}) {
        std::string bytes(length, '\0');
        for (char& c : bytes)
            c = static_cast<char>(random());
        const std::string text = ReferenceEncode(bytes);
        if (length > 0)
            EXPECT_EQ(Encode(bytes), text) << length;
        EXPECT_EQ(Decode(text), bytes) << length;
    }
}

// The pre-pass decodes only digits: the first character that is no digit
// ends what it feeds, whatever that character is, and the decoder's state
// carries over into the next piece.
TEST(Base64, FeedDigitsStopsAtTheFirstCharacterThatIsNoDigit)
{
    const struct {
        std::vector<std::string> pieces;  // fed one after the other, each from its start
        bool pad;                         // '=' met before the last piece
        const char* bytes;
        std::vector<int32_t> consumed;
    } cases[] = {
        {{"Zm9vYmFy</Image>"}, false, "foobar", {8}},
        {{"Zm9vYmFy"}, false, "foobar", {8}},
        {{"Zm9v\r\nYmFy<"}, false, "foo", {4}},
        {{"Zm9vYg==\t"}, false, "foob", {6}},
        {{"Zm9v&#x2F;Ym<"}, false, "foo", {4}},
        {{"Zm9v!Ym"}, false, "foo", {4}},
        {{"Zm9v>Ym"}, false, "foo", {4}},
        {{"Zm\xC3\xA9"}, false, "f", {2}},
        {{"<Zm9v"}, false, "", {0}},
        {{"Zm9vY", "mFy]"}, false, "foobar", {5, 3}},
        {{"Z", "m", "9", "v"}, false, "foo", {1, 1, 1, 1}},
        // After the padding the digits give nothing.
        {{"Zm9vYg", "AAAA<"}, true, "foob", {6, 4}},
    };
    for (const auto& c : cases) {
        CBase64::CDecoder decoder;
        std::vector<uint8_t> out(64);
        int32_t n = 0;
        std::vector<int32_t> consumed;
        for (size_t i = 0; i < c.pieces.size(); ++i) {
            if (c.pad && i + 1 == c.pieces.size())
                decoder.Pad();
            int32_t used = -1;
            n += decoder.FeedDigits(c.pieces[i].data(), static_cast<int32_t>(c.pieces[i].size()), out.data() + n,
                                    used);
            consumed.push_back(used);
        }
        n += decoder.Finish(out.data() + n);
        EXPECT_EQ(std::string(out.begin(), out.begin() + n), c.bytes) << c.pieces[0];
        EXPECT_EQ(consumed, c.consumed) << c.pieces[0];
        EXPECT_EQ(decoder.IsDone(), c.pad) << c.pieces[0];
    }
}
