#pragma once

#include <QString>
#include <string>

#include "show/Cp1251.h"

namespace lumetra::ui {

// File names are bytes. Shows copied from the operators' old machines carry
// Windows-1251 names that are not UTF-8; Qt's own decoding would turn those
// bytes into replacement characters and the file could no longer be found.
// A path held as text keeps every byte that is not valid UTF-8 as one
// character U+DC80 + byte (the convention Python calls surrogate escape), so
// that the text turns back into exactly the bytes it came from.

inline QString pathFromBytes(const std::string& bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char b = s[i];
        int len = 0;
        char32_t cp = 0;
        if (b < 0x80) {
            len = 1, cp = b;
        } else if (b >= 0xC2 && b <= 0xDF) {
            len = 2, cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3, cp = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4, cp = b & 0x07;
        }
        bool valid = len > 0 && i + len <= n;
        for (int k = 1; valid && k < len; ++k) {
            if ((s[i + k] & 0xC0) != 0x80) valid = false;
            cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        if (valid && ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
                      (cp >= 0xD800 && cp <= 0xDFFF)))
            valid = false;
        if (!valid) {
            text.append(QChar(static_cast<char16_t>(0xDC00 + b)));
            ++i;
            continue;
        }
        text.append(QString::fromUcs4(&cp, 1));
        i += len;
    }
    return text;
}

inline std::string pathToBytes(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        if (u >= 0xDC80 && u <= 0xDCFF) {
            bytes.push_back(static_cast<char>(u - 0xDC00));
            continue;
        }
        // One character, a surrogate pair included.
        const qsizetype len =
            (QChar::isHighSurrogate(u) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                ? 2
                : 1;
        bytes += text.mid(i, len).toStdString();
        i += len - 1;
    }
    return bytes;
}

// The path as the operator reads it: bytes that were not UTF-8 are shown
// as the Windows-1251 letters they almost always are.
inline QString pathForDisplay(const QString& text) {
    QString shown = text;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const char16_t u = shown.at(i).unicode();
        if (u >= 0xDC80 && u <= 0xDCFF)
            shown[i] = QChar(cp1251ToUnicode(static_cast<std::uint8_t>(u - 0xDC00)));
    }
    return shown;
}

}  // namespace lumetra::ui
