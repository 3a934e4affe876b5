// The compiled resource (.res) file format, shared by both backends: the
// native build looks its resources up in the embedded .res bytes, and tests
// of either build can read a .res file.
#include "framework/templates/resources.h"

#include "framework/templates/resources_reader.h"

namespace fw {

namespace {

// DataSize, HeaderSize, two ordinals (4 bytes each), DataVersion,
// MemoryFlags, LanguageId, Version, Characteristics.
constexpr uint32_t kMinimumHeaderSize = 32;

}  // namespace

std::optional<std::vector<ResFileEntry>> ParseResFile(ByteView file) {
    std::vector<ResFileEntry> entries;
    size_t offset = 0;
    while (offset < file.size) {
        detail::ByteReader sizes(ByteView(file.data + offset, file.size - offset));
        uint32_t dataSize = sizes.U32();
        uint32_t headerSize = sizes.U32();
        if (!sizes.Ok() || headerSize < kMinimumHeaderSize || headerSize > file.size - offset ||
            dataSize > file.size - offset - headerSize) {
            return std::nullopt;
        }

        detail::ByteReader header(ByteView(file.data + offset, headerSize));
        header.Bytes(8);
        ResFileEntry entry;
        entry.type = header.NameOrOrdinalField();
        entry.name = header.NameOrOrdinalField();
        header.AlignDword();
        header.U32();  // DataVersion
        entry.memoryFlags = header.U16();
        entry.language = header.U16();
        header.U32();  // Version
        header.U32();  // Characteristics
        if (!header.Ok()) {
            return std::nullopt;
        }
        entry.data = ByteView(file.data + offset + headerSize, dataSize);
        entries.push_back(std::move(entry));

        // The next header starts on a DWORD boundary; the last one's padding
        // may be missing.
        size_t next = offset + headerSize + dataSize;
        offset = next + (4 - next % 4) % 4;
    }
    return entries;
}

const ResFileEntry* FindResFileEntry(const std::vector<ResFileEntry>& entries, ResourceType type,
                                     uint16_t id) {
    for (const ResFileEntry& entry : entries) {
        if (entry.type.ordinal == static_cast<uint16_t>(type) && entry.name.ordinal == id) {
            return &entry;
        }
    }
    return nullptr;
}

}  // namespace fw
