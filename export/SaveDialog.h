#pragma once

#include <QString>

#include <functional>

// What the export by hand needs from the window: a save dialog that asks for
// a file and a modal alert. The desktop build shows a QFileDialog with the
// export options panel as a sheet of the main window; tests use a fake.
// GUI thread.
class SaveDialog
{
public:
    // The return codes of a closing dialog.
    static constexpr int kCancelCode = 0;
    static constexpr int kOKCode = 1;

    // Called once when the dialog closes, with its return code and the chosen
    // path (empty when cancelled).
    using Completion = std::function<void(int returnCode, const QString &path)>;

    virtual ~SaveDialog() = default;

    // Opens the dialog in its default folder with proposedName as the file
    // name and returns at once; no file type is imposed.
    virtual void askForPath(const QString &proposedName, Completion done) = 0;

    // A modal alert with one button; returns when the user has pressed it.
    virtual void showAlert(const QString &message, const QString &button) = 0;
};
