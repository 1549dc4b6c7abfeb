#pragma once
// The one way every modal dialog, message and file or folder dialog is shown.
// A program runs them for real; a test installs answers and never needs a
// screen or a person.
//
//   int r = ExecModal(dlg);                 // instead of dlg.exec()
//   std::string f;
//   if (ChooseOpenFile({"Import Bookmarks", folder, "Bookmarks (*.sbk)"}, f)) ...
#include "platform/msgcodes.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>

class QDialog;
class QWidget;


enum class TFileDialogKind { Open, Save, Folder };

struct TFileDialogRequest {
    QString Caption;
    QString Folder;       // starting folder
    QString Filter;       // Qt filter text, e.g. "Bookmarks (*.sbk)"
    QString FileName;     // suggested name (save)
    QString DefaultSuffix; // added to a typed name without one (save)
    // Save: the dialog's own question before replacing a file. Off when the
    // caller asks through the program's message dialog instead.
    bool ConfirmOverwrite = true;
    QWidget* Parent = nullptr;
};

struct TDialogSeam {
    // Answers a modal dialog. The dialog is shown (not modally) while the
    // answer runs, so it may click its buttons or close it; an answer of
    // nullopt runs the dialog for real.
    std::function<std::optional<int>(QDialog& dialog)> Modal;
    // Answers a file or folder dialog: the chosen path, or nullopt for Cancel.
    std::function<std::optional<std::string>(TFileDialogKind kind, const TFileDialogRequest& request)>
        File;
};

// Installs the seam and returns the previous one.
TDialogSeam SetDialogSeam(TDialogSeam seam);

// Runs the dialog modally and returns its result.
int ExecModal(QDialog& dialog);

// Paths are returned as the file system's bytes. False on Cancel.
bool ChooseOpenFile(const TFileDialogRequest& request, std::string& fileName);
bool ChooseSaveFile(const TFileDialogRequest& request, std::string& fileName);
bool ChooseFolder(const TFileDialogRequest& request, std::string& folder);

// Installs a seam for the lifetime of the object (tests).
class TScopedDialogSeam {
public:
    explicit TScopedDialogSeam(TDialogSeam seam) : FPrevious(SetDialogSeam(std::move(seam))) {}
    ~TScopedDialogSeam() { SetDialogSeam(std::move(FPrevious)); }
    TScopedDialogSeam(const TScopedDialogSeam&) = delete;
    TScopedDialogSeam& operator=(const TScopedDialogSeam&) = delete;

private:
    TDialogSeam FPrevious;
};
