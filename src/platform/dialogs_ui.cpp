#include "platform/dialogs_ui.h"

#include <QDialog>
#include <QFile>
#include <QFileDialog>

#include <utility>

namespace {

TDialogSeam& Seam() {
    static TDialogSeam seam;
    return seam;
}

bool RunFileDialog(TFileDialogKind kind, const TFileDialogRequest& r, std::string& path) {
    if (Seam().File) {
        std::optional<std::string> answer = Seam().File(kind, r);
        if (!answer) return false;
        path = *answer;
        return true;
    }
    QFileDialog dlg(r.Parent, r.Caption, r.Folder, r.Filter);
    switch (kind) {
    case TFileDialogKind::Open:
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::ExistingFile);
        break;
    case TFileDialogKind::Save:
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setFileMode(QFileDialog::AnyFile);
        dlg.setDefaultSuffix(r.DefaultSuffix);
        if (!r.ConfirmOverwrite) dlg.setOption(QFileDialog::DontConfirmOverwrite);
        if (!r.FileName.isEmpty()) dlg.selectFile(r.FileName);
        break;
    case TFileDialogKind::Folder:
        dlg.setFileMode(QFileDialog::Directory);
        dlg.setOption(QFileDialog::ShowDirsOnly);
        break;
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
    path = QFile::encodeName(dlg.selectedFiles().first()).toStdString();
    return true;
}

} // namespace

TDialogSeam SetDialogSeam(TDialogSeam seam) { return std::exchange(Seam(), std::move(seam)); }

int ExecModal(QDialog& dialog) {
    if (Seam().Modal) {
        // The answer may replace the seam; keep it alive while it runs.
        auto answerer = Seam().Modal;
        dialog.setResult(mrNone);
        dialog.show();
        std::optional<int> answer = answerer(dialog);
        if (answer) {
            if (dialog.isVisible()) dialog.done(*answer);
            return *answer;
        }
        dialog.hide();
    }
    return dialog.exec();
}

bool ChooseOpenFile(const TFileDialogRequest& request, std::string& fileName) {
    return RunFileDialog(TFileDialogKind::Open, request, fileName);
}

bool ChooseSaveFile(const TFileDialogRequest& request, std::string& fileName) {
    return RunFileDialog(TFileDialogKind::Save, request, fileName);
}

bool ChooseFolder(const TFileDialogRequest& request, std::string& folder) {
    return RunFileDialog(TFileDialogKind::Folder, request, folder);
}
