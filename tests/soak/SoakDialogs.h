#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <random>

#include "host/Dialogs.h"

namespace lumetra::soak {

// Every question of the console answered by the walk's random generator:
// file dialogs get a path the walk offers for that kind of file (or a
// cancel), questions a random yes or no. Nothing modal ever opens.
class SoakDialogs : public ui::Dialogs {
  public:
    // paths(suffix, saving) gives the candidates for a dialog of that suffix.
    using PathSource = std::function<QStringList(const QString& suffix, bool saving)>;

    SoakDialogs(std::mt19937& rng, PathSource paths) : rng_(rng), paths_(std::move(paths)) {}

    std::optional<QString> openFile(QWidget*, const ui::FileDialogRequest& request) override;
    std::optional<QString> saveFile(QWidget*, const ui::FileDialogRequest& request) override;
    bool confirm(QWidget*, const QString& text) override;
    bool confirmWarning(QWidget* parent, const QString& text) override {
        return confirm(parent, text);
    }
    void error(QWidget*, const QString& text) override {
        errors << text;
        ++totalErrors;
    }
    void warning(QWidget*, const QString& text) override { warnings << text; }
    void message(QWidget*, const QString& caption, const QString& text) override {
        messages << caption + ": " + text;
    }

    // The next file dialog takes this answer instead of a random one.
    void force(std::optional<QString> path) { forced_ = std::move(path), haveForced_ = true; }
    // The next question is answered so.
    void forceAnswer(bool yes) { forcedAnswer_ = yes; }

    // What happened during the current step; cleared by the walk.
    QStringList errors, warnings, messages, questions;
    QStringList saved;  // paths given to save dialogs
    QStringList opened;
    void clearStep() {
        errors.clear(), warnings.clear(), messages.clear(), questions.clear();
        saved.clear(), opened.clear();
    }
    int totalErrors = 0;  // errors of all steps, for the summary

  private:
    std::optional<QString> pick(const ui::FileDialogRequest& request, bool saving);

    std::mt19937& rng_;
    PathSource paths_;
    std::optional<QString> forced_;
    bool haveForced_ = false;
    std::optional<bool> forcedAnswer_;
};

}  // namespace lumetra::soak
