// A bounds-checked little-endian reader and writer for the binary resource
// formats (.res headers, dialog templates, DLGINIT, DIBs). Used only by the
// resource sources of the framework.
//
// The reader never reads past its end: a read that would is refused, the
// reader remembers the failure, and every later read fails too, so a parser
// can read a whole structure and check Ok() once.
#ifndef SETUP_FRAMEWORK_RESOURCES_READER_H
#define SETUP_FRAMEWORK_RESOURCES_READER_H

#include <cstdint>
#include <string>
#include <vector>

#include "framework/templates/resources.h"

namespace fw::detail {

class ByteReader {
public:
    explicit ByteReader(ByteView bytes) : m_bytes(bytes) {}

    bool Ok() const { return m_ok; }
    size_t Position() const { return m_pos; }

    uint8_t U8() {
        uint8_t value = 0;
        if (Need(1)) {
            value = m_bytes.data[m_pos];
            m_pos += 1;
        }
        return value;
    }
    uint16_t U16() {
        uint16_t value = 0;
        if (Need(2)) {
            value = static_cast<uint16_t>(m_bytes.data[m_pos] | (m_bytes.data[m_pos + 1] << 8));
            m_pos += 2;
        }
        return value;
    }
    uint32_t U32() {
        uint32_t low = U16();
        uint32_t high = U16();
        return low | (high << 16);
    }
    int16_t S16() { return static_cast<int16_t>(U16()); }
    int32_t S32() { return static_cast<int32_t>(U32()); }

    // The next `count` bytes, or an empty view (and failure) when fewer remain.
    ByteView Bytes(size_t count) {
        if (!Need(count)) {
            return {};
        }
        ByteView view(m_bytes.data + m_pos, count);
        m_pos += count;
        return view;
    }

    // A NUL-terminated UTF-16 string; the terminator is consumed.
    std::u16string String() {
        std::u16string text;
        for (;;) {
            uint16_t unit = U16();
            if (!m_ok || unit == 0) {
                break;
            }
            text.push_back(static_cast<char16_t>(unit));
        }
        return text;
    }

    // A name or ordinal: 0x0000 (none), 0xFFFF and a number, or a string.
    NameOrOrdinal NameOrOrdinalField() {
        if (!Need(2)) {
            return {};
        }
        uint16_t first =
            static_cast<uint16_t>(m_bytes.data[m_pos] | (m_bytes.data[m_pos + 1] << 8));
        if (first == 0xFFFF) {
            m_pos += 2;
            return NameOrOrdinal::Ordinal(U16());
        }
        return NameOrOrdinal::Name(String());
    }

    // Skips to the next multiple of four counted from the start of the view.
    void AlignDword() {
        size_t padding = (4 - m_pos % 4) % 4;
        if (padding > 0) {
            Bytes(padding);
        }
    }

private:
    bool Need(size_t count) {
        if (m_ok && count > m_bytes.size - m_pos) {
            m_ok = false;
        }
        return m_ok;
    }

    ByteView m_bytes;
    size_t m_pos = 0;
    bool m_ok = true;
};

class ByteWriter {
public:
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }
    std::vector<uint8_t> Take() { return std::move(m_bytes); }

    void U8(uint8_t value) { m_bytes.push_back(value); }
    void U16(uint16_t value) {
        m_bytes.push_back(static_cast<uint8_t>(value & 0xFF));
        m_bytes.push_back(static_cast<uint8_t>(value >> 8));
    }
    void U32(uint32_t value) {
        U16(static_cast<uint16_t>(value & 0xFFFF));
        U16(static_cast<uint16_t>(value >> 16));
    }
    void S16(int16_t value) { U16(static_cast<uint16_t>(value)); }
    void Raw(const std::vector<uint8_t>& bytes) {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    }
    void String(const std::u16string& text) {
        for (char16_t unit : text) {
            U16(static_cast<uint16_t>(unit));
        }
        U16(0);
    }
    void NameOrOrdinalField(const NameOrOrdinal& value) {
        if (value.ordinal) {
            U16(0xFFFF);
            U16(*value.ordinal);
        } else {
            String(value.name);
        }
    }
    void AlignDword() {
        while (m_bytes.size() % 4 != 0) {
            m_bytes.push_back(0);
        }
    }

private:
    std::vector<uint8_t> m_bytes;
};

}  // namespace fw::detail

#endif
