#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace lumetra::ui {

// The application title; message boxes carry it. It is not made Qt's
// display name, which would be appended to the main window's caption.
inline const char* const kApplicationTitle = "Lumetra - Управление  DMX512";

// The filter of every dialog that opens or saves a show.
inline const char* const kShowFilter = "Файлы DMX Lumetra  (*.lum)";

// A file dialog as the console asks for it.
struct FileDialogRequest {
    QString filter;         // "Файлы DMX Lumetra  (*.lum)"
    QString defaultSuffix;  // "lum"
    QString initialName;    // proposed file name, may be empty
};

// Every question the console asks the operator goes through here, so tests
// can answer them without a modal window.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual std::optional<QString> openFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // Asks before overwriting an existing file.
    virtual std::optional<QString> saveFile(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual bool confirm(QWidget* parent, const QString& text) = 0;         // Yes / No
    virtual bool confirmWarning(QWidget* parent, const QString& text) = 0;  // Yes / No, warning icon
    virtual void error(QWidget* parent, const QString& text) = 0;           // OK
    virtual void warning(QWidget* parent, const QString& text) = 0;         // OK
    // OK, with a caption of its own instead of the title.
    virtual void message(QWidget* parent, const QString& caption, const QString& text) = 0;
};

// The real dialogs of the desktop.
class QtDialogs final : public Dialogs {
public:
    std::optional<QString> openFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QString> saveFile(QWidget* parent, const FileDialogRequest& request) override;
    bool confirm(QWidget* parent, const QString& text) override;
    bool confirmWarning(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    void warning(QWidget* parent, const QString& text) override;
    void message(QWidget* parent, const QString& caption, const QString& text) override;
};

}  // namespace lumetra::ui
