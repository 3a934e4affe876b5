// The rest of the module's resources and the formats around them: initial
// combo-box items (DLGINIT), the swatch bitmaps, the version resource, the
// .res file reader, and resource text conversion.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "framework/templates/dialog_template.h"
#include "framework/templates/resources_reader.h"
#include "resource.h"

namespace {

using fw::ByteView;
using fw::DlgInitEntry;

std::vector<std::pair<uint16_t, std::string>> Items(const std::vector<DlgInitEntry>& entries) {
    std::vector<std::pair<uint16_t, std::string>> items;
    for (const DlgInitEntry& entry : entries) {
        EXPECT_EQ(fw::kDlgInitComboBoxAddString, entry.message);
        // The stored data is the string with its terminator.
        EXPECT_EQ(entry.Text().size() + 1, entry.data.size());
        items.emplace_back(entry.controlId, entry.Text());
    }
    return items;
}

TEST(DlgInit, ModePageFillsFlashNumberAndDrivingLevel) {
    std::optional<std::vector<DlgInitEntry>> entries = fw::LoadDlgInit(IDD_MODE);
    ASSERT_TRUE(entries.has_value());
    std::vector<std::pair<uint16_t, std::string>> expected = {
        {IDC_FLASH_NUM, "1"},     {IDC_FLASH_NUM, "2"},     {IDC_FLASH_NUM, "4"},
        {IDC_DRIVING_LEVEL, "0"}, {IDC_DRIVING_LEVEL, "1"}, {IDC_DRIVING_LEVEL, "2"},
        {IDC_DRIVING_LEVEL, "3"}, {IDC_DRIVING_LEVEL, "4"}, {IDC_DRIVING_LEVEL, "5"},
        {IDC_DRIVING_LEVEL, "6"}, {IDC_DRIVING_LEVEL, "7"},
    };
    EXPECT_EQ(expected, Items(*entries));
}

TEST(DlgInit, FlashIdEditorFillsTheColourNames) {
    std::optional<std::vector<DlgInitEntry>> entries = fw::LoadDlgInit(IDD_FLASH_ID);
    ASSERT_TRUE(entries.has_value());
    std::vector<std::pair<uint16_t, std::string>> expected = {
        {IDC_FID_COLOR_NAME, "BLUE"},        {IDC_FID_COLOR_NAME, "PURPLE"},
        {IDC_FID_COLOR_NAME, "DARK ORANGE"}, {IDC_FID_COLOR_NAME, "DARK CYAN"},
        {IDC_FID_COLOR_NAME, "CYAN"},        {IDC_FID_COLOR_NAME, "GREEN"},
    };
    EXPECT_EQ(expected, Items(*entries));
}

TEST(DlgInit, DialogsWithoutListDataHaveNone) {
    for (uint16_t id : {IDD_FLASH_CHECK, IDD_PASSWORD, IDD_BIN, IDD_ADVANCED}) {
        std::optional<std::vector<DlgInitEntry>> entries = fw::LoadDlgInit(id);
        ASSERT_TRUE(entries.has_value()) << id;
        EXPECT_TRUE(entries->empty()) << id;
    }
}

TEST(DlgInit, MalformedDataIsRejected) {
    std::optional<ByteView> stored = fw::LoadResourceBytes(fw::ResourceType::DlgInit, IDD_FLASH_ID);
    ASSERT_TRUE(stored.has_value());
    std::vector<uint8_t> bytes(stored->begin(), stored->end());
    // Without its end marker the list is cut short somewhere: every
    // truncation is refused, none is read past its end.
    for (size_t length = 0; length < bytes.size(); ++length) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + length);
        EXPECT_FALSE(fw::ParseDlgInit(cut).has_value()) << "cut to " << length;
    }
    // A data length beyond the end.
    std::vector<uint8_t> tooLong = bytes;
    tooLong[4] = 0xFF;
    EXPECT_FALSE(fw::ParseDlgInit(tooLong).has_value());
    // The end marker alone is an empty list; data may follow it (padding).
    EXPECT_TRUE(fw::ParseDlgInit(std::vector<uint8_t>{0, 0, 0xAB}).value().empty());
    // An entry whose data has no NUL reads as its whole data.
    std::optional<std::vector<DlgInitEntry>> raw =
        fw::ParseDlgInit(std::vector<uint8_t>{0x10, 0, 0x01, 0x04, 2, 0, 0, 0, 'h', 'i', 0, 0});
    ASSERT_TRUE(raw.has_value());
    ASSERT_EQ(1u, raw->size());
    EXPECT_EQ(fw::kDlgInitListBoxAddString, (*raw)[0].message);
    EXPECT_EQ("hi", (*raw)[0].Text());
}

TEST(Bitmaps, SwatchesHaveTheirSizesAndDepth) {
    const struct {
        uint16_t id;
        int32_t width, height;
    } cases[] = {{IDB_COLOR_SWATCH, 48, 20}, {IDB_BIN_SWATCH, 18, 12}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        std::optional<fw::Bitmap> bitmap = fw::LoadBitmapResource(c.id);
        ASSERT_TRUE(bitmap.has_value());
        EXPECT_EQ(c.width, bitmap->width);
        EXPECT_EQ(c.height, bitmap->height);
        EXPECT_EQ(4, bitmap->bitCount);
        ASSERT_EQ(size_t(c.width * c.height), bitmap->pixels.size());
        // A plain swatch: a dark-grey frame round a light-grey fill.
        EXPECT_EQ(0x808080u, bitmap->Pixel(0, 0));
        EXPECT_EQ(0x808080u, bitmap->Pixel(c.width - 1, c.height - 1));
        EXPECT_EQ(0xC0C0C0u, bitmap->Pixel(1, 1));
        EXPECT_EQ(0xC0C0C0u, bitmap->Pixel(c.width / 2, c.height / 2));
    }
}

// A packed DIB with a BITMAPINFOHEADER.
std::vector<uint8_t> Dib(int32_t width, int32_t height, uint16_t bitCount,
                         const std::vector<uint32_t>& palette, const std::vector<uint8_t>& pixels,
                         uint32_t compression = 0) {
    fw::detail::ByteWriter writer;
    writer.U32(40);
    writer.U32(static_cast<uint32_t>(width));
    writer.U32(static_cast<uint32_t>(height));
    writer.U16(1);
    writer.U16(bitCount);
    writer.U32(compression);
    writer.U32(static_cast<uint32_t>(pixels.size()));
    writer.U32(0);
    writer.U32(0);
    writer.U32(static_cast<uint32_t>(palette.size()));
    writer.U32(0);
    for (uint32_t rgbQuad : palette) {
        writer.U32(rgbQuad);  // 0x00RRGGBB as stored: blue, green, red, 0
    }
    writer.Raw(pixels);
    return writer.Take();
}

TEST(Bitmaps, PixelFormatsAndRowOrder) {
    // 1 bit, bottom-up: the first stored row is the bottom one.
    std::optional<fw::Bitmap> mono =
        fw::ParseBitmap(Dib(3, 2, 1, {0x000000, 0xFF0000}, {0xA0, 0, 0, 0, 0x40, 0, 0, 0}));
    ASSERT_TRUE(mono.has_value());
    EXPECT_FALSE(mono->topDown);
    EXPECT_EQ((std::vector<uint32_t>{0x000000, 0x0000FF, 0x000000, 0x0000FF, 0x000000, 0x0000FF}),
              mono->pixels);
    // 8 bits, top-down (negative height); an index past the table is black.
    std::optional<fw::Bitmap> indexed =
        fw::ParseBitmap(Dib(2, -2, 8, {0x00FF00, 0x0000FF}, {0, 1, 0, 0, 1, 5, 0, 0}));
    ASSERT_TRUE(indexed.has_value());
    EXPECT_TRUE(indexed->topDown);
    EXPECT_EQ(2, indexed->height);
    EXPECT_EQ((std::vector<uint32_t>{0x00FF00, 0xFF0000, 0xFF0000, 0x000000}), indexed->pixels);
    // 24 bits: blue, green, red per pixel, rows padded to four bytes.
    std::optional<fw::Bitmap> rgb = fw::ParseBitmap(Dib(1, 1, 24, {}, {0x30, 0x20, 0x10, 0}));
    ASSERT_TRUE(rgb.has_value());
    EXPECT_EQ(0x302010u, rgb->Pixel(0, 0));
    // 32 bits: the fourth byte is ignored.
    std::optional<fw::Bitmap> rgbx = fw::ParseBitmap(Dib(1, 1, 32, {}, {0x01, 0x02, 0x03, 0xFF}));
    ASSERT_TRUE(rgbx.has_value());
    EXPECT_EQ(0x010203u, rgbx->Pixel(0, 0));
    // 16 bits, 5-5-5: pure red.
    std::optional<fw::Bitmap> highColor = fw::ParseBitmap(Dib(1, 1, 16, {}, {0x00, 0x7C, 0, 0}));
    ASSERT_TRUE(highColor.has_value());
    EXPECT_EQ(0x0000FFu, highColor->Pixel(0, 0));
}

TEST(Bitmaps, MalformedBitmapsAreRejected) {
    std::optional<ByteView> stored =
        fw::LoadResourceBytes(fw::ResourceType::Bitmap, IDB_BIN_SWATCH);
    ASSERT_TRUE(stored.has_value());
    std::vector<uint8_t> bytes(stored->begin(), stored->end());
    for (size_t length = 0; length < bytes.size(); ++length) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + length);
        EXPECT_FALSE(fw::ParseBitmap(cut).has_value()) << "cut to " << length;
    }
    const std::vector<uint8_t> row = {0, 0, 0, 0};
    EXPECT_FALSE(fw::ParseBitmap(Dib(0, 1, 24, {}, row)).has_value());        // no width
    EXPECT_FALSE(fw::ParseBitmap(Dib(-1, 1, 24, {}, row)).has_value());       // negative width
    EXPECT_FALSE(fw::ParseBitmap(Dib(1, 0, 24, {}, row)).has_value());        // no height
    EXPECT_FALSE(fw::ParseBitmap(Dib(1, 1, 24, {}, row, 1)).has_value());     // RLE
    EXPECT_FALSE(fw::ParseBitmap(Dib(1, 1, 12, {}, row)).has_value());        // no such depth
    EXPECT_FALSE(fw::ParseBitmap(Dib(1, 1, 1, {0, 0, 0}, row)).has_value());  // 3 colours, 1 bit
    EXPECT_FALSE(fw::ParseBitmap(Dib(1 << 20, 1 << 20, 1, {}, row)).has_value());  // huge
    EXPECT_FALSE(fw::ParseBitmap(Dib(1, INT32_MIN, 24, {}, row)).has_value());
}

TEST(VersionResource, CarriesTheModuleVersionAndNames) {
    std::optional<ByteView> version = fw::LoadResourceBytes(fw::ResourceType::Version, 1);
    ASSERT_TRUE(version.has_value());
    // VS_FIXEDFILEINFO: signature, struct version, file version, product version.
    const uint8_t signature[] = {0xBD, 0x04, 0xEF, 0xFE};
    const uint8_t* at =
        std::search(version->begin(), version->end(), std::begin(signature), std::end(signature));
    ASSERT_NE(version->end(), at);
    fw::detail::ByteReader reader(ByteView(at, static_cast<size_t>(version->end() - at)));
    reader.U32();
    reader.U32();
    EXPECT_EQ(0x00000002u, reader.U32());  // file version 0.2
    EXPECT_EQ(0x00000002u, reader.U32());  // .0.2
    EXPECT_EQ(0x00000002u, reader.U32());  // product version 0.2
    EXPECT_EQ(0x00000002u, reader.U32());  // .0.2
    EXPECT_TRUE(reader.Ok());
    auto contains = [&](const std::u16string& text) {
        std::vector<uint8_t> pattern;
        for (char16_t unit : text) {
            pattern.push_back(static_cast<uint8_t>(unit & 0xFF));
            pattern.push_back(static_cast<uint8_t>(unit >> 8));
        }
        return std::search(version->begin(), version->end(), pattern.begin(), pattern.end()) !=
               version->end();
    };
    EXPECT_TRUE(contains(u"SETUP_DLL"));
    EXPECT_TRUE(contains(u"Setup.dll"));
    EXPECT_TRUE(contains(u"0.2.0.2"));
}

TEST(Resources, MissingResourcesAreNotFound) {
    EXPECT_FALSE(fw::LoadResourceBytes(fw::ResourceType::Dialog, 999).has_value());
    EXPECT_FALSE(fw::LoadResourceBytes(fw::ResourceType::Bitmap, IDD_PASSWORD).has_value());
    EXPECT_FALSE(fw::LoadDialogTemplate(IDB_BIN_SWATCH).has_value());
    EXPECT_FALSE(fw::LoadBitmapResource(IDD_MODE).has_value());
}

// A .res file of the given entries: (type, name, data), types and names as
// ordinals or strings.
std::vector<uint8_t> ResFile(
    const std::vector<std::tuple<fw::NameOrOrdinal, fw::NameOrOrdinal, std::vector<uint8_t>>>&
        entries,
    bool padLast = true) {
    fw::detail::ByteWriter file;
    // Every .res file starts with an empty entry.
    std::vector<std::tuple<fw::NameOrOrdinal, fw::NameOrOrdinal, std::vector<uint8_t>>> all = {
        {fw::NameOrOrdinal::Ordinal(0), fw::NameOrOrdinal::Ordinal(0), {}}};
    all.insert(all.end(), entries.begin(), entries.end());
    for (size_t i = 0; i < all.size(); ++i) {
        const auto& [type, name, data] = all[i];
        fw::detail::ByteWriter names;
        names.NameOrOrdinalField(type);
        names.NameOrOrdinalField(name);
        names.AlignDword();
        uint32_t headerSize = static_cast<uint32_t>(8 + names.Bytes().size() + 16);
        file.U32(static_cast<uint32_t>(data.size()));
        file.U32(headerSize);
        file.Raw(names.Bytes());
        file.U32(0);       // DataVersion
        file.U16(0x1030);  // MemoryFlags
        file.U16(0x0409);  // LanguageId
        file.U32(0);
        file.U32(0);
        file.Raw(data);
        if (padLast || i + 1 < all.size()) {
            file.AlignDword();
        }
    }
    return file.Take();
}

TEST(ResFile, ReadsEntriesByOrdinalAndName) {
    std::vector<uint8_t> file = ResFile({
        {fw::NameOrOrdinal::Ordinal(5), fw::NameOrOrdinal::Ordinal(100), {1, 2, 3}},
        {fw::NameOrOrdinal::Name(u"CUSTOM"), fw::NameOrOrdinal::Name(u"ABC"), {4}},
        {fw::NameOrOrdinal::Ordinal(240), fw::NameOrOrdinal::Ordinal(100), {5, 6}},
    });
    std::optional<std::vector<fw::ResFileEntry>> entries = fw::ParseResFile(file);
    ASSERT_TRUE(entries.has_value());
    ASSERT_EQ(4u, entries->size());
    EXPECT_EQ(fw::NameOrOrdinal::Name(u"CUSTOM"), (*entries)[2].type);
    EXPECT_EQ(fw::NameOrOrdinal::Name(u"ABC"), (*entries)[2].name);
    EXPECT_EQ(0x0409, (*entries)[2].language);
    EXPECT_EQ(0x1030, (*entries)[2].memoryFlags);

    const fw::ResFileEntry* dialog = fw::FindResFileEntry(*entries, fw::ResourceType::Dialog, 100);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 3}),
              std::vector<uint8_t>(dialog->data.begin(), dialog->data.end()));
    const fw::ResFileEntry* init = fw::FindResFileEntry(*entries, fw::ResourceType::DlgInit, 100);
    ASSERT_NE(nullptr, init);
    EXPECT_EQ(2u, init->data.size);
    EXPECT_EQ(nullptr, fw::FindResFileEntry(*entries, fw::ResourceType::Dialog, 101));
    EXPECT_EQ(nullptr, fw::FindResFileEntry(*entries, fw::ResourceType::Bitmap, 100));

    // The last entry's padding may be missing.
    std::vector<uint8_t> unpadded =
        ResFile({{fw::NameOrOrdinal::Ordinal(2), fw::NameOrOrdinal::Ordinal(1), {9}}}, false);
    std::optional<std::vector<fw::ResFileEntry>> short_ = fw::ParseResFile(unpadded);
    ASSERT_TRUE(short_.has_value());
    EXPECT_EQ(1u, fw::FindResFileEntry(*short_, fw::ResourceType::Bitmap, 1)->data.size);
}

TEST(ResFile, MalformedFilesAreRejected) {
    std::vector<uint8_t> file = ResFile({
        {fw::NameOrOrdinal::Name(u"LONGTYPENAME"), fw::NameOrOrdinal::Ordinal(7), {1, 2, 3, 4, 5}},
    });
    ASSERT_TRUE(fw::ParseResFile(file).has_value());
    // Cutting inside a header or inside data is refused; cutting only the
    // last entry's padding is not.
    size_t lastData = file.size() - 8;  // 5 data bytes and 3 of padding
    for (size_t length = 1; length < file.size(); ++length) {
        std::vector<uint8_t> cut(file.begin(), file.begin() + length);
        bool whole = length == 32 || length >= lastData + 5;
        EXPECT_EQ(whole, fw::ParseResFile(cut).has_value()) << "cut to " << length;
    }
    std::vector<uint8_t> smallHeader = file;
    smallHeader[4] = 16;  // header size below the fixed fields
    EXPECT_FALSE(fw::ParseResFile(smallHeader).has_value());
    std::vector<uint8_t> hugeData = file;
    hugeData[32 + 3] = 0x7F;  // the second entry's data size
    EXPECT_FALSE(fw::ParseResFile(hugeData).has_value());
    EXPECT_TRUE(fw::ParseResFile(ByteView()).value().empty());
}

TEST(ResourceText, AsciiConvertsBothWays) {
    EXPECT_EQ("Times New Roman", fw::NarrowFromWide(u"Times New Roman"));
    EXPECT_EQ(u"Add FlashID", fw::WideFromNarrow("Add FlashID"));
    EXPECT_EQ("", fw::NarrowFromWide(u""));
    EXPECT_EQ(u"", fw::WideFromNarrow(""));
}

#if !defined(_WIN32)
// Natively resource text is UTF-8; on Windows it follows the ANSI code page.
TEST(ResourceText, NativeTextIsUtf8) {
    EXPECT_EQ("红绿灯扫描", fw::NarrowFromWide(u"红绿灯扫描"));
    EXPECT_EQ(u"Open/Short 检测", fw::WideFromNarrow("Open/Short 检测"));
    EXPECT_EQ(u"\U0001F600", fw::WideFromNarrow("\xF0\x9F\x98\x80"));
    EXPECT_EQ("\xF0\x9F\x98\x80", fw::NarrowFromWide(u"\U0001F600"));
    // Broken input becomes replacement characters, never a read past the end.
    EXPECT_EQ(u"a\uFFFD\uFFFD", fw::WideFromNarrow("a\xE4\xB8"));
    EXPECT_EQ(u"\uFFFD\uFFFD", fw::WideFromNarrow("\xC0\xAF"));  // overlong '/'
    EXPECT_EQ(
        "\xEF\xBF\xBD"
        "x",
        fw::NarrowFromWide(std::u16string{0xD800, u'x'}));
}
#endif

}  // namespace
