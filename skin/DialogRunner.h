#pragma once

#include "skin/FileRequest.h"
#include "skin/Seam.h"

#include <QDialog>

#include <optional>

namespace vantrel {

// Runs every modal dialog of the program, file dialogs included. A test
// answers the next dialogs in advance, so that it never waits in a modal loop.
class DialogRunner final : public Seam<QDialog, int> {
public:
    using FileSeam = Seam<const FileRequest, std::optional<QString>>;

    // The dialog's result: the next answer given in advance, or what the user does.
    int run(QDialog& dialog);

    // The chosen file, or nothing when the user cancels.
    std::optional<QString> chooseFile(const FileRequest& request, QWidget* parent);
    // Answers for chooseFile, apart from those for other dialogs.
    FileSeam& files() { return m_files; }

private:
    class Files final : public FileSeam {
    public:
        std::optional<QString> choose(const FileRequest& request, QWidget* parent);
    };

    Files m_files;
};

} // namespace vantrel
