// About pictures from PNG files and welcome sounds from WAV files.
#include "PngBitmap.h"
#include "TestSupport.h"
#include "WavSound.h"

#include <cstring>
#include <gtest/gtest.h>
#include <png.h>

using stowtest::TempDir;
using stowtest::WriteFile;

namespace {

std::string RawData(const BMessage& message, const char* name, type_code type)
{
    const void* data = nullptr;
    ssize_t size = 0;
    EXPECT_EQ(message.FindData(name, type, &data, &size), B_OK) << name;
    return data == nullptr ? std::string() : std::string(static_cast<const char*>(data), size);
}

void WritePng(
    const std::string& path, uint32 width, uint32 height, uint32 format, const std::string& pixels)
{
    png_image image;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = format;
    ASSERT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr))
        << image.message;
}

std::string Le16(uint16 value)
{
    return {char(value & 0xff), char(value >> 8)};
}

std::string Le32(uint32 value)
{
    return Le16(uint16(value & 0xffff)) + Le16(uint16(value >> 16));
}

std::string Chunk(const std::string& id, const std::string& body)
{
    std::string chunk = id + Le32(uint32(body.size())) + body;
    if (body.size() % 2 != 0)
        chunk += '\0';
    return chunk;
}

std::string FormatChunk(uint16 tag, uint16 channels, uint32 rate, uint16 bits)
{
    uint16 block = uint16(channels * bits / 8);
    return Chunk("fmt ",
        Le16(tag) + Le16(channels) + Le32(rate) + Le32(rate * block) + Le16(block) + Le16(bits));
}

std::string Wav(const std::string& chunks)
{
    return "RIFF" + Le32(uint32(chunks.size() + 4)) + "WAVE" + chunks;
}

} // namespace

TEST(BuildMedia, PngBecomesA32BitBitmapInBgraOrder)
{
    TempDir dir;
    std::string path = (dir / "about.png").string();
    // RGBA pixels: red, green, blue / white half transparent, black, grey.
    std::string rgba = std::string("\xff\x00\x00\xff\x00\xff\x00\xff\x00\x00\xff\xff", 12)
        + std::string("\xff\xff\xff\x80\x00\x00\x00\xff\x80\x80\x80\xff", 12);
    WritePng(path, 3, 2, PNG_FORMAT_RGBA, rgba);
    BMessage archive;
    int32 width = 0, height = 0;
    std::string error;
    ASSERT_TRUE(PngBitmap::Read(path, archive, width, height, error)) << error;
    EXPECT_EQ(width, 3);
    EXPECT_EQ(height, 2);
    EXPECT_STREQ(archive.FindString("class"), "BBitmap");
    EXPECT_EQ(archive.FindRect("_frame"), BRect(0, 0, 2, 1));
    EXPECT_EQ(archive.FindInt32("_cspace"), 0x0008);
    EXPECT_EQ(archive.FindInt32("_rowbytes"), 12);
    EXPECT_TRUE(archive.HasInt32("_bmflags"));
    std::string bgra = std::string("\x00\x00\xff\xff\x00\xff\x00\xff\xff\x00\x00\xff", 12)
        + std::string("\xff\xff\xff\x80\x00\x00\x00\xff\x80\x80\x80\xff", 12);
    EXPECT_EQ(RawData(archive, "_data", B_RAW_TYPE), bgra);

    // Grey pictures come out opaque, with equal colour bytes.
    WritePng(path, 2, 1, PNG_FORMAT_GRAY, std::string("\x10\xf0", 2));
    ASSERT_TRUE(PngBitmap::Read(path, archive, width, height, error)) << error;
    std::string grey = RawData(archive, "_data", B_RAW_TYPE);
    ASSERT_EQ(grey.size(), 8u);
    EXPECT_EQ(grey[0], grey[2]);
    EXPECT_EQ(grey[3], '\xff');
}

TEST(BuildMedia, PicturesThatCannotBeTakenAreRefused)
{
    TempDir dir;
    std::string path = (dir / "bad.png").string();
    BMessage archive;
    int32 width, height;
    std::string error;
    WriteFile(path, "GIF89a not a png");
    EXPECT_FALSE(PngBitmap::Read(path, archive, width, height, error));
    EXPECT_NE(error.find("is not a PNG picture"), std::string::npos) << error;

    WritePng(path, 4, 4, PNG_FORMAT_RGB, std::string(48, '\x40'));
    std::string whole = stowtest::ReadFile(path);
    WriteFile(path, whole.substr(0, whole.size() - 20)); // the pixels cut short
    EXPECT_FALSE(PngBitmap::Read(path, archive, width, height, error));
    EXPECT_FALSE(error.empty());

    WritePng(path, PngBitmap::kMaxSide + 1, 1, PNG_FORMAT_GRAY,
        std::string(PngBitmap::kMaxSide + 1, '\0'));
    EXPECT_FALSE(PngBitmap::Read(path, archive, width, height, error));
    EXPECT_NE(error.find("4097 by 1 pixels"), std::string::npos) << error;
}

TEST(BuildMedia, WavSamplesAndFormatReachTheSoundArchive)
{
    TempDir dir;
    std::string path = (dir / "s.wav").string();
    BMessage sound;
    std::string error;

    // 8-bit mono, an odd-sized chunk before the format, the data last.
    std::string samples8 = "\x80\x90\xa0\xb0\xc0";
    WriteFile(
        path, Wav(Chunk("LIST", "odd") + FormatChunk(1, 1, 11025, 8) + Chunk("data", samples8)));
    ASSERT_TRUE(WavSound::Read(path, sound, error)) << error;
    EXPECT_EQ(RawData(sound, "data", B_ANY_TYPE), samples8);
    EXPECT_EQ(sound.FindFloat("frame_rate"), 11025.0f);
    EXPECT_EQ(sound.FindInt32("channel_count"), 1);
    EXPECT_EQ(sound.FindInt32("format"), WavSound::kAudioUChar);
    EXPECT_EQ(sound.FindInt32("byte_order"), WavSound::kLittleEndian);
    EXPECT_EQ(sound.FindInt32("buffer_size"), 2048);
    EXPECT_EQ(sound.Fields().front().name, "data");

    // 16-bit stereo, the data before the format.
    std::string samples16(16, '\x11');
    WriteFile(path, Wav(Chunk("data", samples16) + FormatChunk(1, 2, 22050, 16)));
    ASSERT_TRUE(WavSound::Read(path, sound, error)) << error;
    EXPECT_EQ(sound.FindInt32("format"), WavSound::kAudioShort);
    EXPECT_EQ(sound.FindInt32("channel_count"), 2);
    EXPECT_EQ(sound.FindInt32("buffer_size"), 8192);
    EXPECT_EQ(RawData(sound, "data", B_ANY_TYPE), samples16);

    // The extensible format chunk naming PCM.
    std::string guid("\x01\x00\x00\x00\x00\x00\x10\x00\x80\x00\x00\xaa\x00\x38\x9b\x71", 16);
    std::string extensible = Le16(0xfffe) + Le16(1) + Le32(8000) + Le32(16000) + Le16(2) + Le16(16)
        + Le16(22) + Le16(16) + Le32(4) + guid;
    WriteFile(path, Wav(Chunk("fmt ", extensible) + Chunk("data", "\x01\x02")));
    ASSERT_TRUE(WavSound::Read(path, sound, error)) << error;
    EXPECT_EQ(sound.FindFloat("frame_rate"), 8000.0f);
}

TEST(BuildMedia, WavFilesThatCannotBeTakenAreRefused)
{
    TempDir dir;
    std::string path = (dir / "s.wav").string();
    struct Case {
        std::string bytes;
        const char* error;
    } cases[] = {
        {"not a wav at all", "not a WAV file"},
        {Wav(FormatChunk(3, 1, 44100, 32) + Chunk("data", "abcd")), "only PCM samples"},
        {Wav(FormatChunk(1, 2, 44100, 24) + Chunk("data", "abcdef")), "24-bit samples"},
        {Wav(FormatChunk(1, 3, 44100, 8) + Chunk("data", "abc")), "3 channels"},
        {Wav(FormatChunk(1, 1, 0, 8) + Chunk("data", "a")), "frame rate 0"},
        {Wav(FormatChunk(1, 2, 8000, 16) + Chunk("data", "abc") + "d"), "not a whole number"},
        {Wav(FormatChunk(1, 1, 8000, 8)), "needs a \"fmt \" and a \"data\" chunk"},
        {Wav(FormatChunk(1, 1, 8000, 8) + "data" + Le32(1000) + "short"), "runs past the end"},
    };
    for (const Case& c : cases) {
        WriteFile(path, c.bytes);
        BMessage sound;
        std::string error;
        EXPECT_FALSE(WavSound::Read(path, sound, error)) << c.error;
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}
