#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "show/Cp1251.h"

namespace lumetra::ui {

// Windows-1251 bytes as text, byte for byte (0 stays U+0000: callers that
// show a name decide what a 0 byte looks like).
inline QString fromCp1251(const std::uint8_t* bytes, int count) {
    QString text;
    text.reserve(count);
    for (int k = 0; k < count; ++k) text.append(QChar(cp1251ToUnicode(bytes[k])));
    return text;
}

// Text as Windows-1251 bytes; a character the code page lacks becomes '?'.
inline QByteArray toCp1251(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar ch : text) {
        const int b = unicodeToCp1251(ch.unicode());
        bytes.append(static_cast<char>(b < 0 ? '?' : b));
    }
    return bytes;
}

}  // namespace lumetra::ui
