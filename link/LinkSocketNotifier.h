#pragma once

#include <QObject>

class QSocketNotifier;

namespace vantrel {

class LinkProtocol;

// Feeds the monitor's messages to the link from the event loop, one at a time
// and in the order they arrive.
class LinkSocketNotifier final : public QObject {
    Q_OBJECT
public:
    // Does nothing when the link has no mailbox.
    explicit LinkSocketNotifier(LinkProtocol& protocol, QObject* parent = nullptr);

private:
    LinkProtocol& m_protocol;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace vantrel
