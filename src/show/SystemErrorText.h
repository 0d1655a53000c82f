#pragma once

#include <string>

namespace lumetra::io {

// The reason of a failed system call (an errno value) in the console's own
// language, whatever the system's locale: the boxes and the status line say
// "Ошибка записи файла …: нет места на диске", never the C library's
// English text. An error without a text of its own reads
// "системная ошибка N".
std::string systemErrorText(int err);

}  // namespace lumetra::io
