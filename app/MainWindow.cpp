#include "app/MainWindow.h"

#include "app/AppContext.h"
#include "settings/TextField.h"

#include <QLabel>
#include <QVBoxLayout>

namespace vantrel {

MainWindow::MainWindow(AppContext& context, QWidget* parent) : QWidget(parent), m_context(context) {
    setWindowTitle(QStringLiteral("Vantrel Gaming Keyboard"));
    auto* layout = new QVBoxLayout(this);
    const SharedBlock& settings = m_context.editedSettings();
    for (int n = 0; n < kProfileCount; ++n) {
        QString line = QString::fromStdString(fieldText(settings.profiles[n].ProFileName));
        if (n == settings.CurrentProfile)
            line += QStringLiteral("  \u2190");
        auto* label = new QLabel(line, this);
        label->setObjectName(QStringLiteral("profileLabel%1").arg(n + 1));
        layout->addWidget(label);
    }
}

} // namespace vantrel
