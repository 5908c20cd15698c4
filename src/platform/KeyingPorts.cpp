#include "platform/KeyingPorts.h"

#include "platform/ComPorts.h"

namespace zq {

namespace {

KeyingPorts::Opener& opener()
{
    static KeyingPorts::Opener o;
    return o;
}

} // namespace

KeyingPorts& KeyingPorts::instance()
{
    static KeyingPorts p;
    return p;
}

void KeyingPorts::setOpenerForTesting(Opener o)
{
    opener() = std::move(o);
}

namespace {

bool isSerialClaim(KeyingOwner owner, const std::shared_ptr<KeyLine>& line)
{
    return owner == KeyingOwner::WinKeyer
           || (line && line->port().kind == KeyLinePort::Kind::Serial);
}

bool sameParallelDevice(const std::shared_ptr<KeyLine>& line, const KeyLinePort& port)
{
    if (!line || line->port().kind != KeyLinePort::Kind::Parallel)
        return false;
    const QString held = parallelPortDevice(line->port().parallelAddress);
    return line->port().parallelAddress == port.parallelAddress
           || (!held.isEmpty() && held == parallelPortDevice(port.parallelAddress));
}

} // namespace

void KeyingPorts::releaseTaken(std::map<KeyingOwner, Claim>& taken)
{
    for (auto& [o, c] : taken) {
        if (c.line)
            c.line->close();
        if (c.release)
            c.release();
    }
}

void KeyingPorts::releaseClaimsFor(KeyingOwner owner, const KeyLinePort& port)
{
    // Taken out first, so a release callback that calls back in finds
    // nothing left to release.
    std::map<KeyingOwner, Claim> taken;
    for (auto it = claims_.begin(); it != claims_.end();) {
        const bool takeOver =
            it->first == owner
            || (port.kind == KeyLinePort::Kind::Serial && isSerialClaim(it->first, it->second.line))
            || (port.kind == KeyLinePort::Kind::Parallel && sameParallelDevice(it->second.line, port));
        if (takeOver) {
            taken.insert(std::move(*it));
            it = claims_.erase(it);
        } else {
            ++it;
        }
    }
    releaseTaken(taken);
}

std::shared_ptr<KeyLine> KeyingPorts::claimLine(KeyingOwner owner, const KeyLinePort& port,
                                                QString* error, QString* permission)
{
    releaseClaimsFor(owner, port);
    if (error)
        error->clear();
    if (permission)
        permission->clear();
    if (port.kind == KeyLinePort::Kind::None)
        return nullptr;
    std::unique_ptr<KeyLine> opened =
        opener() ? opener()(port, error, permission) : openKeyLine(port, error, permission);
    if (!opened)
        return nullptr;
    std::shared_ptr<KeyLine> line(std::move(opened));
    claims_[owner] = Claim{line, nullptr};
    return line;
}

void KeyingPorts::claim(KeyingOwner owner, std::function<void()> release)
{
    // The owner's device is a serial port.
    releaseClaimsFor(owner, KeyLinePort::serial(0));
    claims_[owner] = Claim{nullptr, std::move(release)};
}

void KeyingPorts::release(KeyingOwner owner)
{
    auto it = claims_.find(owner);
    if (it == claims_.end())
        return;
    Claim c = std::move(it->second);
    claims_.erase(it);
    if (c.line)
        c.line->close();
    if (c.release)
        c.release();
}

void KeyingPorts::releaseAll()
{
    std::map<KeyingOwner, Claim> taken;
    taken.swap(claims_);
    releaseTaken(taken);
}

std::shared_ptr<KeyLine> KeyingPorts::line(KeyingOwner owner) const
{
    auto it = claims_.find(owner);
    if (it == claims_.end() || !it->second.line || !it->second.line->isOpen())
        return nullptr;
    return it->second.line;
}

bool KeyingPorts::holds(KeyingOwner owner) const
{
    auto it = claims_.find(owner);
    if (it == claims_.end())
        return false;
    return it->second.release || (it->second.line && it->second.line->isOpen());
}

} // namespace zq
