#pragma once

#include <string>

namespace lumetra::io {

// The console's data folder: SHOW/ keeps the autosave show, the settings
// file and the colour file; DOC/ the manual.
class DataFolder {
public:
    // Resolves the folder: the option, else $LUMETRA_HOME, else
    // $XDG_DATA_HOME/lumetra, else ~/.local/share/lumetra.
    static std::string resolve(const std::string& option);

    explicit DataFolder(std::string root) : root_(std::move(root)) {}

    // Creates the folder with SHOW/ and DOC/. Returns an empty string on
    // success, otherwise a message naming what could not be created.
    std::string create() const;

    const std::string& root() const { return root_; }
    std::string showDir() const { return root_ + "/SHOW"; }
    std::string docDir() const { return root_ + "/DOC"; }
    std::string autosavePath() const { return showDir() + "/ShouTemp.lum"; }
    std::string settingsPath() const { return showDir() + "/Lumy.ini"; }
    std::string colorPath() const { return showDir() + "/lumiEdit.col"; }
    std::string helpPath() const { return docDir() + "/Helplumi.html"; }

private:
    std::string root_;
};

}  // namespace lumetra::io
