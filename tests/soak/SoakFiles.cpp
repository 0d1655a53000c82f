#include "SoakFiles.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "show/PathBytes.h"
#include "show/SettingsFile.h"

namespace lumetra::soak {

namespace {

using ui::pathToBytes;

constexpr qint64 kShowBytes = 81920;
constexpr qint64 kPatchBytes = 512;
constexpr qint64 kColorBytes = 16384;

QByteArray noise(std::mt19937& rng, int n) {
    QByteArray bytes(n, '\0');
    for (char& c : bytes) c = static_cast<char>(rng());
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

// A temporary a save left behind: the target's name, a dot and six
// characters of mkstemp.
bool leftoverTemp(const QString& name) {
    static const QRegularExpression temp(R"(\.(lum|lmd|col|ini)\.[A-Za-z0-9]{6}$)");
    return temp.match(name).hasMatch();
}

QString sizeProblem(const QFileInfo& f, qint64 want) {
    if (!f.isFile()) return f.filePath() + ": not a plain file";
    if (f.size() != want)
        return QString("%1: %2 bytes, not %3").arg(f.filePath()).arg(f.size()).arg(want);
    return {};
}

// 16-bit mono PCM at 44,100 Hz: a 10 ms burst every 250 ms.
QByteArray clickTrack() {
    constexpr int kRate = 44100, kSeconds = 40;
    QByteArray pcm(kRate * kSeconds * 2, '\0');
    auto* samples = reinterpret_cast<std::int16_t*>(pcm.data());
    for (int i = 0; i < kRate * kSeconds; ++i)
        if (i % (kRate / 4) < kRate / 100) samples[i] = (i / 20) % 2 ? 28000 : -28000;
    auto le32 = [](quint32 v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
    auto le16 = [](quint16 v) { return QByteArray(reinterpret_cast<const char*>(&v), 2); };
    QByteArray wav = "RIFF" + le32(36 + pcm.size()) + "WAVEfmt " + le32(16) + le16(1) + le16(1) +
                     le32(kRate) + le32(kRate * 2) + le16(2) + le16(16) + "data" + le32(pcm.size());
    return wav + pcm;
}

}  // namespace

SoakFiles::SoakFiles(const QString& root, std::mt19937& rng) : root_(root), rng_(rng) {
    for (const QString& dir : {home(), showDir(), home() + "/DOC", shows(), patches(), bad()})
        QDir().mkpath(dir);
    writeFile(clicks(), clickTrack());
    // The colour file is laid in first, so that start-up asks nothing.
    writeFile(showDir() + "/lumiEdit.col", QByteArray(kColorBytes, '\0'));
    layBadFiles();
}

void SoakFiles::layBadFiles() {
    struct Bad {
        const char* name;
        int bytes;  // -1: a folder, -2: a FIFO
    };
    static const Bad files[] = {
        {"short.lum", 100}, {"empty.lum", 0},     {"folder.lum", -1},
        {"fifo.lum", -2},   {"noise.lum", 81920}, {"long.lum", 90000},
        {"short.lmd", 10},  {"noise.lmd", 512},   {"folder.lmd", -1},
    };
    for (const Bad& b : files) {
        const QString path = bad() + "/" + b.name;
        const QFileInfo info(path);
        if (b.bytes == -1) {
            if (!info.isDir()) {
                QFile::remove(path);
                QDir().mkpath(path);
            }
        } else if (b.bytes == -2) {
            struct stat st {};
            if (::lstat(pathToBytes(path).c_str(), &st) != 0 || !S_ISFIFO(st.st_mode)) {
                QFile::remove(path);
                ::mkfifo(pathToBytes(path).c_str(), 0600);
            }
        } else if (!info.isFile() || info.size() != b.bytes) {
            writeFile(path, noise(rng_, b.bytes));
        }
    }
    // A save may have left a good file among the bad ones: that is fine,
    // but a temporary must not be there.
}

QStringList SoakFiles::goodShows() const {
    QStringList out;
    for (const QFileInfo& f : QDir(shows()).entryInfoList({"*.lum"}, QDir::Files))
        out << f.filePath();
    return out;
}

QStringList SoakFiles::badShows() const {
    return {bad() + "/short.lum", bad() + "/empty.lum", bad() + "/folder.lum", bad() + "/fifo.lum",
            bad() + "/missing.lum"};
}

QStringList SoakFiles::candidates(const QString& suffix, bool saving) {
    QStringList out;
    if (suffix == "lmd") {
        for (const QFileInfo& f : QDir(patches()).entryInfoList({"*.lmd"}, QDir::Files))
            out << f.filePath();
        out << bad() + "/short.lmd" << bad() + "/noise.lmd" << bad() + "/folder.lmd"
            << bad() + "/missing.lmd";
        if (saving)
            out << patches() + QString("/patch-%1.lmd").arg(++fresh_)
                << root_ + "/no-such-folder/patch.lmd";
        return out;
    }
    out << goodShows();
    if (saving) {
        fresh_ += 2;
        out << shows() + QString("/show-%1.lum").arg(fresh_ - 1)
            << shows() + QString("/Шоу %1.lum").arg(fresh_) << root_ + "/no-such-folder/show.lum"
            << bad() + "/folder.lum";
    } else {
        out << badShows() << bad() + "/noise.lum" << bad() + "/long.lum";
    }
    return out;
}

std::string SoakFiles::plantStartupFile() {
    const QString ini = showDir() + "/Lumy.ini";
    const QString color = showDir() + "/lumiEdit.col";
    planted_ = true;
    switch (std::uniform_int_distribution<int>(0, 5)(rng_)) {
        case 0:
            writeFile(ini, "[LastFile]\r\nPath=" + (bad() + "/fifo.lum").toUtf8() + "\r\n");
            return "settings naming a FIFO as the last show";
        case 1:
            writeFile(ini, "[LastFile]\r\nPath=" + (bad() + "/short.lum").toUtf8() +
                               "\r\n[Konveir]\r\nFile01=" + (bad() + "/folder.lum").toUtf8() +
                               "\r\n");
            return "settings naming a short show and a folder";
        case 2:
            writeFile(ini, noise(rng_, 3000));
            return "settings of noise";
        case 3:
            writeFile(ini, QByteArray(static_cast<int>(io::kMaxSettingsBytes) + 10, 'A'));
            return "settings larger than the reader takes";
        case 4:
            writeFile(color, noise(rng_, 1000));
            return "short colour file";
        default:
            QFile::remove(color);
            return "no colour file";
    }
}

QString SoakFiles::checkDisk() const {
    QStringList problems;
    auto scan = [&](const QString& dir, const QString& suffix, qint64 want) {
        for (const QFileInfo& f :
             QDir(dir).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)) {
            if (leftoverTemp(f.fileName())) {
                problems << f.filePath() + ": a save left its temporary";
            } else if (want > 0) {
                if (!f.fileName().endsWith(suffix))
                    problems << f.filePath() + ": stray file";
                else if (QString p = sizeProblem(f, want); !p.isEmpty())
                    problems << p;
            }
        }
    };
    scan(shows(), ".lum", kShowBytes);
    scan(patches(), ".lmd", kPatchBytes);
    scan(bad(), QString(), 0);
    scan(home(), QString(), 0);
    for (const QFileInfo& f :
         QDir(showDir()).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)) {
        const QString name = f.fileName();
        QString p;
        if (name == "ShouTemp.lum")
            p = sizeProblem(f, kShowBytes);
        else if (planted_ && (name == "lumiEdit.col" || name == "Lumy.ini"))
            continue;  // laid broken by the walk; the shutdown rewrites it
        else if (name == "lumiEdit.col")
            p = sizeProblem(f, kColorBytes);
        else if (name == "Lumy.ini") {
            const io::SettingsReadResult read = io::ReadIniFile(pathToBytes(f.filePath()));
            if (!read.file.ok())
                p = f.filePath() + ": " + QString::fromStdString(read.file.message);
        } else {
            p = f.filePath() +
                (leftoverTemp(name) ? ": a save left its temporary" : ": stray file");
        }
        if (!p.isEmpty()) problems << p;
    }
    return problems.join("; ");
}

}  // namespace lumetra::soak
