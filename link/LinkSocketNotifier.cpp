#include "link/LinkSocketNotifier.h"

#include "link/LinkProtocol.h"

#include <QSocketNotifier>

namespace vantrel {

LinkSocketNotifier::LinkSocketNotifier(LinkProtocol& protocol, QObject* parent)
    : QObject(parent), m_protocol(protocol) {
    if (m_protocol.socketFd() < 0)
        return;
    m_notifier = new QSocketNotifier(m_protocol.socketFd(), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { m_protocol.receivePending(); });
}

} // namespace vantrel
