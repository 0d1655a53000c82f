#include <gtest/gtest.h>

#include <cerrno>
#include <set>

#include "TempFolder.h"
#include "show/FileIo.h"
#include "show/SystemErrorText.h"

namespace lumetra::io {
namespace {

TEST(SystemErrorText, EveryReasonAnOperatorMeetsHasARussianTextOfItsOwn) {
    const int common[] = {ENOSPC, EACCES, EROFS, ENOENT, EISDIR, EDQUOT, EIO, ENAMETOOLONG,
                          EMFILE, ENOTDIR};
    std::set<std::string> seen;
    for (int err : common) {
        const std::string text = systemErrorText(err);
        // Cyrillic letters are two bytes in UTF-8, starting with 0xD0 or 0xD1.
        EXPECT_NE(text.find('\xD0'), std::string::npos) << err << ": " << text;
        EXPECT_EQ(text.find("системная ошибка"), std::string::npos) << err;
        seen.insert(text);
    }
    EXPECT_EQ(seen.size(), std::size(common));
    EXPECT_EQ(systemErrorText(ENOSPC), "нет места на диске");
    EXPECT_EQ(systemErrorText(EPERM), systemErrorText(EACCES));
    EXPECT_EQ(systemErrorText(4242), "системная ошибка 4242");
}

TEST(SystemErrorText, TheFileLayerGivesThePathAndTheReason) {
    TempFolder dir;
    writeBytes(dir.file("plain"), {1, 2, 3});
    const std::string target = dir.file("plain") + "/show.lum";
    const std::uint8_t data[4] = {};
    EXPECT_EQ(writeFileAtomic(target, data, sizeof data).message,
              "Ошибка записи файла " + target + ": часть пути не является папкой");
    EXPECT_EQ(readFile(target, 0).message,
              "Ошибка чтения файла " + target + ": часть пути не является папкой");
}

}  // namespace
}  // namespace lumetra::io
