#include "skin/DialogRunner.h"

#include <QFileDialog>

namespace vantrel {

int DialogRunner::run(QDialog& dialog) {
    return answerOr(dialog, [&dialog] { return dialog.exec(); });
}

std::optional<QString> DialogRunner::chooseFile(const FileRequest& request, QWidget* parent) {
    return m_files.choose(request, parent);
}

std::optional<QString> DialogRunner::Files::choose(const FileRequest& request, QWidget* parent) {
    return answerOr(request, [&request, parent]() -> std::optional<QString> {
        const bool open = request.mode == FileRequest::Mode::Open;
        QFileDialog dialog(parent);
        dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        dialog.setNameFilter(request.filter);
        dialog.setDefaultSuffix(request.defaultSuffix);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
        dialog.setDirectory(request.folder);
        dialog.selectFile(request.initialName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().constFirst();
    });
}

} // namespace vantrel
