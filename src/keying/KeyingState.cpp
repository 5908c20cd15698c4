#include "keying/KeyingState.h"

namespace zq {

SendBuffer& SendBuffer::operator=(const QString& text)
{
    std::lock_guard lock(mutex_);
    text_ = text;
    return *this;
}

SendBuffer& SendBuffer::operator+=(const QString& text)
{
    std::lock_guard lock(mutex_);
    text_ += text;
    return *this;
}

SendBuffer& SendBuffer::operator+=(QChar c)
{
    std::lock_guard lock(mutex_);
    text_ += c;
    return *this;
}

void SendBuffer::clear()
{
    std::lock_guard lock(mutex_);
    text_.clear();
}

void SendBuffer::chop(int n)
{
    std::lock_guard lock(mutex_);
    text_.chop(n);
}

bool SendBuffer::isEmpty() const
{
    std::lock_guard lock(mutex_);
    return text_.isEmpty();
}

QString SendBuffer::text() const
{
    std::lock_guard lock(mutex_);
    return text_;
}

bool SendBuffer::takeFirst(QChar* c)
{
    std::lock_guard lock(mutex_);
    if (text_.isEmpty())
        return false;
    *c = text_.at(0);
    text_.remove(0, 1);
    return true;
}

KeyingState& KeyingState::instance()
{
    static KeyingState s;
    return s;
}

} // namespace zq
