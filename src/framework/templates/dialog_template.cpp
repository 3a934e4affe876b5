#include "framework/templates/dialog_template.h"

#include <cassert>
#include <limits>

#include "framework/templates/resources_reader.h"

namespace fw {

namespace {

constexpr uint16_t kExtendedVersion = 1;
constexpr uint16_t kExtendedSignature = 0xFFFF;
constexpr uint8_t kDefaultCharset = 1;  // DEFAULT_CHARSET

bool IsExtended(ByteView bytes) {
    detail::ByteReader reader(bytes);
    uint16_t version = reader.U16();
    uint16_t signature = reader.U16();
    // The dialog manager's own test: anything else is a classic template.
    return reader.Ok() && version == kExtendedVersion && signature == kExtendedSignature;
}

void ReadFont(detail::ByteReader& reader, bool extended, DialogFont& font) {
    font.pointSize = reader.U16();
    if (font.pointSize == kMessageBoxFontPointSize) {
        return;
    }
    if (extended) {
        font.weight = reader.U16();
        font.italic = reader.U8() != 0;
        font.charset = reader.U8();
    }
    font.face = reader.String();
}

// The help ID and the styles (in the extended format's order; the classic
// format has no help ID), as a dialog and each of its items open.
template <typename Template>
void ReadStyles(detail::ByteReader& reader, bool extended, Template& t) {
    if (extended) {
        t.helpId = reader.U32();
        t.exStyle = reader.U32();
        t.style = reader.U32();
    } else {
        t.style = reader.U32();
        t.exStyle = reader.U32();
    }
}

void WriteStyles(detail::ByteWriter& writer, bool extended, uint32_t helpId, uint32_t exStyle,
                 uint32_t style) {
    if (extended) {
        writer.U32(helpId);
        writer.U32(exStyle);
        writer.U32(style);
    } else {
        writer.U32(style);
        writer.U32(exStyle);
    }
}

// Position and size in dialog units.
template <typename Template>
void ReadPlacement(detail::ByteReader& reader, Template& t) {
    t.x = reader.S16();
    t.y = reader.S16();
    t.cx = reader.S16();
    t.cy = reader.S16();
}

template <typename Template>
void WritePlacement(detail::ByteWriter& writer, const Template& t) {
    writer.S16(t.x);
    writer.S16(t.y);
    writer.S16(t.cx);
    writer.S16(t.cy);
}

void ReadItem(detail::ByteReader& reader, bool extended, DialogItemTemplate& item) {
    reader.AlignDword();
    ReadStyles(reader, extended, item);
    ReadPlacement(reader, item);
    item.id = extended ? reader.S32() : reader.U16();
    item.windowClass = reader.NameOrOrdinalField();
    item.title = reader.NameOrOrdinalField();
    // Both formats: a WORD count of creation-data bytes, then the bytes.
    uint16_t extra = reader.U16();
    ByteView data = reader.Bytes(extra);
    item.creationData.assign(data.begin(), data.end());
}

void WriteFont(detail::ByteWriter& writer, bool extended, const DialogFont& font) {
    writer.U16(font.pointSize);
    if (font.pointSize == kMessageBoxFontPointSize) {
        return;
    }
    if (extended) {
        writer.U16(font.weight);
        writer.U8(font.italic ? 1 : 0);
        writer.U8(font.charset);
    }
    writer.String(font.face);
}

}  // namespace

std::optional<DialogTemplate> ParseDialogTemplate(ByteView bytes, size_t* bytesUsed) {
    detail::ByteReader reader(bytes);
    DialogTemplate result;
    bool extended = IsExtended(bytes);
    result.format = extended ? TemplateFormat::Extended : TemplateFormat::Classic;
    if (extended) {
        reader.U16();  // version
        reader.U16();  // signature
    }
    ReadStyles(reader, extended, result);
    uint16_t count = reader.U16();
    ReadPlacement(reader, result);
    result.menu = reader.NameOrOrdinalField();
    result.windowClass = reader.NameOrOrdinalField();
    result.caption = reader.String();
    if (result.style & kDialogStyleSetFont) {
        result.font.emplace();
        ReadFont(reader, extended, *result.font);
    }
    if (!reader.Ok()) {
        return std::nullopt;
    }

    result.items.resize(count);
    for (DialogItemTemplate& item : result.items) {
        ReadItem(reader, extended, item);
        if (!reader.Ok()) {
            return std::nullopt;
        }
    }
    if (bytesUsed != nullptr) {
        *bytesUsed = reader.Position();
    }
    return result;
}

const DialogItemTemplate* DialogTemplate::FindItem(int32_t id) const {
    for (const DialogItemTemplate& item : items) {
        if (item.id == id) {
            return &item;
        }
    }
    return nullptr;
}

void DialogTemplate::SetFont(std::u16string_view face, uint16_t pointSize) {
    if (!font || font->pointSize == kMessageBoxFontPointSize) {
        font = DialogFont();
        font->weight = 0;
        font->italic = false;
        font->charset = kDefaultCharset;
    }
    font->pointSize = pointSize;
    font->face = std::u16string(face);
    style |= kDialogStyleSetFont;
}

std::vector<uint8_t> DialogTemplate::Serialize(TemplateFormat as) const {
    assert(items.size() <= std::numeric_limits<uint16_t>::max() &&
           "a dialog template holds at most 65535 items");
    uint32_t writtenStyle = font ? style | kDialogStyleSetFont : style & ~kDialogStyleSetFont;
    // A classic template opens with its style, and this one would read as
    // the extended format's version and signature: it is written extended.
    const uint32_t kLooksExtended = (uint32_t{kExtendedSignature} << 16) | kExtendedVersion;
    bool extended = as == TemplateFormat::Extended || writtenStyle == kLooksExtended;

    detail::ByteWriter writer;
    if (extended) {
        writer.U16(kExtendedVersion);
        writer.U16(kExtendedSignature);
    }
    WriteStyles(writer, extended, helpId, exStyle, writtenStyle);
    writer.U16(static_cast<uint16_t>(items.size()));
    WritePlacement(writer, *this);
    writer.NameOrOrdinalField(menu);
    writer.NameOrOrdinalField(windowClass);
    writer.String(caption);
    if (font) {
        WriteFont(writer, extended, *font);
    }

    for (const DialogItemTemplate& item : items) {
        writer.AlignDword();
        WriteStyles(writer, extended, item.helpId, item.exStyle, item.style);
        WritePlacement(writer, item);
        if (extended) {
            writer.U32(static_cast<uint32_t>(item.id));
        } else {
            writer.U16(static_cast<uint16_t>(item.id));
        }
        writer.NameOrOrdinalField(item.windowClass);
        writer.NameOrOrdinalField(item.title);
        assert(item.creationData.size() <= std::numeric_limits<uint16_t>::max());
        writer.U16(static_cast<uint16_t>(item.creationData.size()));
        writer.Raw(item.creationData);
    }
    return writer.Take();
}

std::optional<DialogTemplate> LoadDialogTemplate(uint16_t id) {
    std::optional<ByteView> bytes = LoadResourceBytes(ResourceType::Dialog, id);
    if (!bytes) {
        return std::nullopt;
    }
    return ParseDialogTemplate(*bytes);
}

// --- DLGINIT -----------------------------------------------------------------

std::string DlgInitEntry::Text() const {
    std::string text;
    for (uint8_t byte : data) {
        if (byte == 0) {
            break;
        }
        text.push_back(static_cast<char>(byte));
    }
    return text;
}

std::optional<std::vector<DlgInitEntry>> ParseDlgInit(ByteView bytes) {
    detail::ByteReader reader(bytes);
    std::vector<DlgInitEntry> entries;
    for (;;) {
        uint16_t controlId = reader.U16();
        if (!reader.Ok()) {
            return std::nullopt;  // no end marker
        }
        if (controlId == 0) {
            return entries;
        }
        DlgInitEntry entry;
        entry.controlId = controlId;
        entry.message = reader.U16();
        uint32_t length = reader.U32();
        ByteView data = reader.Bytes(length);
        if (!reader.Ok()) {
            return std::nullopt;
        }
        entry.data.assign(data.begin(), data.end());
        entries.push_back(std::move(entry));
    }
}

std::optional<std::vector<DlgInitEntry>> LoadDlgInit(uint16_t dialogId) {
    std::optional<ByteView> bytes = LoadResourceBytes(ResourceType::DlgInit, dialogId);
    if (!bytes) {
        return std::vector<DlgInitEntry>();
    }
    return ParseDlgInit(*bytes);
}

// --- Bitmaps -----------------------------------------------------------------

namespace {

constexpr uint32_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER
constexpr uint32_t kCompressionRgb = 0;   // BI_RGB
constexpr int32_t kMaxDimension = 1 << 15;
constexpr uint64_t kMaxPixels = uint64_t(1) << 24;

uint32_t ColorRef(uint8_t red, uint8_t green, uint8_t blue) {
    return uint32_t(red) | (uint32_t(green) << 8) | (uint32_t(blue) << 16);
}

uint8_t Expand5(uint32_t value) {
    return static_cast<uint8_t>((value << 3) | (value >> 2));
}

}  // namespace

std::optional<Bitmap> ParseBitmap(ByteView bytes) {
    detail::ByteReader reader(bytes);
    uint32_t headerSize = reader.U32();
    int32_t width = reader.S32();
    int32_t height = reader.S32();
    uint16_t planes = reader.U16();
    uint16_t bitCount = reader.U16();
    uint32_t compression = reader.U32();
    reader.U32();  // biSizeImage
    reader.U32();  // biXPelsPerMeter
    reader.U32();  // biYPelsPerMeter
    uint32_t colorsUsed = reader.U32();
    if (!reader.Ok() || headerSize < kInfoHeaderSize || headerSize > bytes.size || planes != 1 ||
        compression != kCompressionRgb) {
        return std::nullopt;
    }
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32) {
        return std::nullopt;
    }
    if (width <= 0 || width > kMaxDimension || height == 0 || height < -kMaxDimension ||
        height > kMaxDimension ||
        uint64_t(width) * uint64_t(height < 0 ? -height : height) > kMaxPixels) {
        return std::nullopt;
    }

    Bitmap bitmap;
    bitmap.width = width;
    bitmap.topDown = height < 0;
    bitmap.height = height < 0 ? -height : height;
    bitmap.bitCount = bitCount;

    // The colour table follows the header; a palette image without a count
    // has the full table.
    uint32_t tableSize = colorsUsed;
    if (bitCount <= 8) {
        if (tableSize == 0) {
            tableSize = 1u << bitCount;
        }
        if (tableSize > (1u << bitCount)) {
            return std::nullopt;
        }
    } else if (tableSize > 256) {
        return std::nullopt;
    }
    bitmap.colorsUsed = tableSize;

    detail::ByteReader body(ByteView(bytes.data + headerSize, bytes.size - headerSize));
    std::vector<uint32_t> table(tableSize);
    for (uint32_t& color : table) {
        uint8_t blue = body.U8();
        uint8_t green = body.U8();
        uint8_t red = body.U8();
        body.U8();
        color = ColorRef(red, green, blue);
    }
    size_t stride = (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
    ByteView pixels = body.Bytes(stride * static_cast<size_t>(bitmap.height));
    if (!body.Ok()) {
        return std::nullopt;
    }

    bitmap.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(bitmap.height));
    for (int32_t y = 0; y < bitmap.height; ++y) {
        int32_t stored = bitmap.topDown ? y : bitmap.height - 1 - y;
        const uint8_t* row = pixels.data + static_cast<size_t>(stored) * stride;
        for (int32_t x = 0; x < width; ++x) {
            uint32_t color = 0;
            if (bitCount <= 8) {
                size_t bit = static_cast<size_t>(x) * bitCount;
                uint32_t index =
                    (row[bit / 8] >> (8 - bitCount - bit % 8)) & ((1u << bitCount) - 1);
                color = index < table.size() ? table[index] : 0;  // out of the table: black
            } else if (bitCount == 16) {
                uint32_t value = row[x * 2] | (row[x * 2 + 1] << 8);
                color = ColorRef(Expand5((value >> 10) & 0x1F), Expand5((value >> 5) & 0x1F),
                                 Expand5(value & 0x1F));
            } else {
                const uint8_t* p = row + static_cast<size_t>(x) * (bitCount / 8);
                color = ColorRef(p[2], p[1], p[0]);
            }
            bitmap.pixels[static_cast<size_t>(y) * static_cast<size_t>(width) +
                          static_cast<size_t>(x)] = color;
        }
    }
    return bitmap;
}

std::optional<Bitmap> LoadBitmapResource(uint16_t id) {
    std::optional<ByteView> bytes = LoadResourceBytes(ResourceType::Bitmap, id);
    if (!bytes) {
        return std::nullopt;
    }
    return ParseBitmap(*bytes);
}

}  // namespace fw
