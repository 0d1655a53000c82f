#pragma once

#include <QString>
#include <QStringList>
#include <random>

namespace lumetra::soak {

// The files the walk works with, in a scratch folder of its own:
//   shows/    show files the console saved (every one must stay whole)
//   patches/  patch files the console saved
//   bad/      files no console should take: short, empty, a folder, a
//             FIFO, noise; laid again whenever a step replaced one
//   home/     the console's data folder
class SoakFiles {
  public:
    explicit SoakFiles(const QString& root, std::mt19937& rng);

    QString home() const { return root_ + "/home"; }
    QString showDir() const { return home() + "/SHOW"; }
    QString shows() const { return root_ + "/shows"; }
    QString patches() const { return root_ + "/patches"; }
    QString bad() const { return root_ + "/bad"; }
    QString fifo() const { return root_ + "/wire.fifo"; }
    // Forty seconds of clicks, four a second, for the sound input.
    QString clicks() const { return root_ + "/clicks.wav"; }

    // Candidates for a dialog: saved files, new names (some Cyrillic), bad
    // files, a missing file and a folder that does not exist.
    QStringList candidates(const QString& suffix, bool saving);
    QStringList goodShows() const;
    QStringList badShows() const;

    // Lays the bad files again where a step replaced or removed one.
    void layBadFiles();

    // Lays a broken settings or colour file (or a settings file naming a
    // bad show) into the data folder before a start-up; returns what. Until
    // the next shutdown rewrites it, checkDisk leaves that file alone.
    std::string plantStartupFile();
    void shutdownDone() { planted_ = false; }

    // Every file the console may have written is whole: shows of 81,920
    // bytes, patches of 512, the colour file of 16,384, a settings file that
    // reads, and no temporary left over from a save. Returns what is wrong
    // (empty when all is well).
    QString checkDisk() const;

  private:
    QString root_;
    std::mt19937& rng_;
    int fresh_ = 0;
    bool planted_ = false;
};

}  // namespace lumetra::soak
