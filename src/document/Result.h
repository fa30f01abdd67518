#pragma once
// A value or the message that says why there is none, for the user to read.
// Commands show the message in the notice window instead of throwing across
// the user interface.

#include "document/Message.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <utility>

namespace korv {

struct Failure {
    Message message;
};

template <typename T>
class Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Failure failure) : error_(std::move(failure.message)) {}

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const T &value() const { return *value_; }
    T &value() { return *value_; }
    const T &operator*() const { return *value_; }
    const T *operator->() const { return &*value_; }
    const Message &error() const { return error_; }

private:
    std::optional<T> value_;
    Message error_;
};

// For operations that give nothing back but may fail.
class Status {
public:
    Status() = default;
    Status(Failure failure) : failed_(true), error_(std::move(failure.message)) {}
    static Status success() { return {}; }

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const Message &error() const { return error_; }

private:
    bool failed_ = false;
    Message error_;
};

// A piece of the user's text short enough to quote in a message.
inline QString shortened(QStringView text, qsizetype most = 60)
{
    return text.size() > most ? text.left(most).toString() + QStringLiteral("...") : text.toString();
}

} // namespace korv
