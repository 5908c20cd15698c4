#include "platform/KeyingPorts.h"

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

void KeyingPorts::releaseEveryClaim()
{
    releaseClaimsFor(KeyingOwner::CwKeyLine);
}

void KeyingPorts::releaseClaimsFor(KeyingOwner owner)
{
    // Taken out first, so a release callback that calls back in finds
    // nothing left to release.  A PTT claim keeps the other PTT line.
    std::map<KeyingOwner, Claim> old;
    old.swap(claims_);
    const bool ptt = owner == KeyingOwner::Ptt || owner == KeyingOwner::PttParallel;
    const KeyingOwner sibling =
        owner == KeyingOwner::Ptt ? KeyingOwner::PttParallel : KeyingOwner::Ptt;
    if (auto it = old.find(sibling); ptt && it != old.end()) {
        claims_[sibling] = std::move(it->second);
        old.erase(it);
    }
    for (auto& [o, c] : old) {
        if (c.line)
            c.line->close();
        if (c.release)
            c.release();
    }
}

std::shared_ptr<KeyLine> KeyingPorts::claimLine(KeyingOwner owner, const KeyLinePort& port,
                                                QString* error)
{
    releaseClaimsFor(owner);
    if (error)
        error->clear();
    if (port.kind == KeyLinePort::Kind::None)
        return nullptr;
    std::unique_ptr<KeyLine> opened = opener() ? opener()(port, error) : openKeyLine(port, error);
    if (!opened)
        return nullptr;
    std::shared_ptr<KeyLine> line(std::move(opened));
    claims_[owner] = Claim{line, nullptr};
    return line;
}

void KeyingPorts::claim(KeyingOwner owner, std::function<void()> release)
{
    releaseEveryClaim();
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
    releaseEveryClaim();
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
