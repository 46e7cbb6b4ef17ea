#pragma once

#include <QDateTime>

// "Now" for everything that dates a page; tests fix it.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime Now() const = 0;
};

class SystemClock : public Clock
{
public:
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
};

class FixedClock : public Clock
{
public:
    explicit FixedClock(QDateTime now) : now_(std::move(now)) {}
    QDateTime Now() const override { return now_; }
    void Set(QDateTime now) { now_ = std::move(now); }

private:
    QDateTime now_;
};
