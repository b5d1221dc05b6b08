#pragma once

#include <QWidget>

namespace vantrel {

class AppContext;

// The program's window. For now it lists the five profiles held in memory.
class MainWindow final : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(AppContext& context, QWidget* parent = nullptr);

private:
    AppContext& m_context;
};

} // namespace vantrel
