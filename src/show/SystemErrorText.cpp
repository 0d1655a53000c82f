#include "show/SystemErrorText.h"

#include <cerrno>

namespace lumetra::io {

std::string systemErrorText(int err) {
    switch (err) {
        case ENOSPC: return "нет места на диске";
        case EDQUOT: return "превышена дисковая квота";
        case EACCES:
        case EPERM: return "доступ запрещён";
        case EROFS: return "файловая система только для чтения";
        case ENOENT: return "файл или папка не найдены";
        case ENOTDIR: return "часть пути не является папкой";
        case EISDIR: return "это папка";
        case EIO: return "ошибка ввода-вывода";
        case ENAMETOOLONG: return "слишком длинное имя файла";
        case EMFILE:
        case ENFILE: return "слишком много открытых файлов";
        case EFBIG: return "файл слишком большой";
        case ELOOP: return "слишком много символических ссылок";
        case EBUSY: return "файл или устройство занято";
        case ETXTBSY: return "файл занят";
        case ENXIO:
        case ENODEV: return "нет такого устройства";
        case ENOMEM: return "недостаточно памяти";
        default: return "системная ошибка " + std::to_string(err);
    }
}

}  // namespace lumetra::io
